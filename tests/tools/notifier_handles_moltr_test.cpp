// The notifier that an application's two-sided devmode merge starts holds none of the
// application's handles, also not the inheritable ones: a long-lived process holding them would
// keep the application's pipes open and its files locked. The probe is the client end of a pipe:
// once the application closes it, the server sees the pipe broken unless another process still
// holds that end. A notifier started with inheritance on shows that the probe sees the difference.
#include <windows.h>
#include <winspool.h>

#include "machine_processes.h"
#include "moltr_run.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace moltr::test {
namespace {

constexpr WCHAR kProbePipe[] = L"\\\\.\\pipe\\moltr-inheritance-probe";

// A connected pipe whose client end is inheritable.
class Probe {
public:
    Probe() {
        server_ = CreateNamedPipeW(kProbePipe, PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                   0, 64, 0, nullptr);
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        client_ = CreateFileW(kProbePipe, GENERIC_WRITE, 0, &inherit, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        connected_ = client_ != INVALID_HANDLE_VALUE &&
                     (ConnectNamedPipe(server_, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED);
    }
    ~Probe() {
        CloseClient();
        CloseHandle(server_);
    }
    bool connected() const { return connected_; }
    void CloseClient() {
        if (client_ != INVALID_HANDLE_VALUE) {
            CloseHandle(client_);
            client_ = INVALID_HANDLE_VALUE;
        }
    }
    // Whether the server sees its client gone: no process holds the client end any more.
    bool Broken() const {
        DWORD available = 0;
        return !PeekNamedPipe(server_, nullptr, 0, nullptr, &available, nullptr) &&
               GetLastError() == ERROR_BROKEN_PIPE;
    }

private:
    HANDLE server_ = INVALID_HANDLE_VALUE;
    HANDLE client_ = INVALID_HANDLE_VALUE;
    bool connected_ = false;
};

std::vector<sim::MachineProcess> RunningNotifiers() {
    std::vector<sim::MachineProcess> running;
    for (const sim::MachineProcess& process : ProcessesNamed(u"MOLTRMDN.EXE")) {
        if (process.running) {
            running.push_back(process);
        }
    }
    return running;
}

void EndNotifiers() {
    for (const sim::MachineProcess& process : RunningNotifiers()) {
        EndProcess(process.id);
    }
}

class NotifierHandles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, Moltr("printer add Duplex").status);
        ASSERT_EQ(0, Moltr("printer settings Duplex _DUPLEXTYPE=2").status);
        ASSERT_TRUE(OpenPrinterW(sim::W(name_), &printer_, nullptr));
    }
    void TearDown() override {
        EndNotifiers();
        ClosePrinter(printer_);
    }

    // What an application does before it prints two-sided: a merge of its settings.
    void MergeTwoSided() {
        LONG size = DocumentPropertiesW(nullptr, printer_, sim::W(name_), nullptr, nullptr, 0);
        ASSERT_GT(size, 0);
        std::vector<BYTE> input(size), output(size);
        auto* in = reinterpret_cast<DEVMODEW*>(input.data());
        ASSERT_EQ(IDOK, DocumentPropertiesW(nullptr, printer_, sim::W(name_), in, nullptr,
                                            DM_OUT_BUFFER));
        in->dmFields |= DM_DUPLEX;
        in->dmDuplex = DMDUP_VERTICAL;
        ASSERT_EQ(IDOK, DocumentPropertiesW(nullptr, printer_, sim::W(name_),
                                            reinterpret_cast<DEVMODEW*>(output.data()), in,
                                            DM_IN_BUFFER | DM_OUT_BUFFER));
    }

    sim::TestMachine machine_;
    std::u16string name_ = u"Duplex";
    HANDLE printer_ = nullptr;
};

TEST_F(NotifierHandles, TheNotifierStartedByTheMergeHoldsNoneOfTheApplicationsHandles) {
    std::u16string path;
    {
        Probe probe;
        ASSERT_TRUE(probe.connected());
        MergeTwoSided();
        const std::vector<sim::MachineProcess> started = RunningNotifiers();
        ASSERT_EQ(started.size(), 1u);
        path = started[0].path;
        probe.CloseClient();
        EXPECT_TRUE(probe.Broken());
        EXPECT_EQ(RunningNotifiers().size(), 1u); // the notifier still runs: it is not what let go
    }
    EndNotifiers();

    // The same program started with inheritance on keeps the probe's client end open.
    Probe inherited;
    ASSERT_TRUE(inherited.connected());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessW(sim::W(path), nullptr, nullptr, nullptr, TRUE, DETACHED_PROCESS,
                               nullptr, nullptr, &startup, &info));
    inherited.CloseClient();
    EXPECT_FALSE(inherited.Broken());
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 30000);
    EXPECT_TRUE(inherited.Broken());
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

} // namespace
} // namespace moltr::test
