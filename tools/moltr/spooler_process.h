#pragma once
// The spooler service as a process of its own: `moltr spooler run --until-idle` on this machine,
// started by the commands that play an application. It presents itself to the machine as
// spoolsv.exe once it runs.
#include <sys/types.h>

namespace moltr::tool {

class SpoolerProcess {
public:
    // A service that still runs when this object goes finishes on its own.
    SpoolerProcess() = default;
    SpoolerProcess(const SpoolerProcess&) = delete;
    SpoolerProcess& operator=(const SpoolerProcess&) = delete;

    // Starts a service that prints what it finds queued and stops when nothing printable is left.
    // Its standard input and output are the null device, so that a reader of this process's output
    // sees the end when this process ends. False when it cannot be started.
    bool Start();
    // Waits for the service started last; true when it ended with 0, false when none was started.
    bool Wait();
    // Whether a spooler service runs on the machine: the one started here (also before it has
    // named itself spoolsv.exe) or any process of the machine called spoolsv.exe.
    bool Runs();

private:
    // Collects the service started here once it has ended.
    void Reap(int flags, int& status);

    pid_t child_ = 0;
};

} // namespace moltr::tool
