#pragma once
// The machine's processes as the tests that start real ones look for them and end what is left.
#include <windows.h>

#include "sim/processes_admin.h"
#include "sim/utf.h"

#include <string>
#include <vector>

namespace moltr::test {

// Every process of the machine whose image is called `name` (ignoring case), running or ended.
inline std::vector<sim::MachineProcess> ProcessesNamed(std::u16string_view name) {
    std::u16string wanted(name);
    std::vector<sim::MachineProcess> found;
    for (const sim::MachineProcess& process : sim::ListProcesses()) {
        if (lstrcmpiW(sim::W(wanted), sim::W(process.name)) == 0) {
            found.push_back(process);
        }
    }
    return found;
}

inline bool AnyRunning(std::u16string_view name) {
    for (const sim::MachineProcess& process : ProcessesNamed(name)) {
        if (process.running) {
            return true;
        }
    }
    return false;
}

// Terminates a process of the machine and waits until it has gone.
inline void EndProcess(DWORD id) {
    HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (handle != nullptr) {
        TerminateProcess(handle, 1);
        WaitForSingleObject(handle, 30000);
        CloseHandle(handle);
    }
}

} // namespace moltr::test
