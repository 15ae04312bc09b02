// Process handles: OpenProcess, GetExitCodeProcess, TerminateProcess, ExitProcess, GetProcessId.
#include "src/kernel32/process_object.h"
#include "src/kernel32/module_table.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace moltr::platform {
namespace {

HANDLE CurrentProcessPseudoHandle() {
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}

std::shared_ptr<ProcessObject> CurrentProcessObject() {
    const DWORD id = static_cast<DWORD>(::getpid());
    return std::make_shared<ProcessObject>(ProcessRecord{id, HostStartTime(id), {}, std::nullopt},
                                           PROCESS_ALL_ACCESS, nullptr);
}

} // namespace

bool ProcessObject::IsSignalled() {
    if (child_) {
        return child_->ended;
    }
    return HostStartTime(record_.id) != record_.start;
}

bool ProcessObject::IsCurrent() const {
    return record_.id == static_cast<DWORD>(::getpid());
}

DWORD ProcessObject::ExitCode() {
    std::lock_guard guard(sim::WaitLock());
    if (child_) {
        return child_->exitCode;
    }
    if (HostStartTime(record_.id) == record_.start) {
        return STILL_ACTIVE;
    }
    std::optional<ProcessRecord> now = LoadProcess(record_.id);
    return now && now->start == record_.start ? now->exitCode.value_or(0) : 0;
}

std::u16string ProcessObject::ImagePath() const {
    if (IsCurrent()) {
        return ProcessImagePath();
    }
    std::optional<ProcessRecord> now = LoadProcess(record_.id);
    return now && now->start == record_.start ? now->path : record_.path;
}

std::shared_ptr<ProcessObject> ProcessOfHandle(HANDLE handle) {
    if (handle == CurrentProcessPseudoHandle()) {
        return CurrentProcessObject();
    }
    return sim::LookupHandleAs<ProcessObject>(handle);
}

} // namespace moltr::platform

namespace moltr::sim {

std::shared_ptr<WaitableObject> PseudoHandleObject(HANDLE handle) {
    return handle == GetCurrentProcess() ? platform::ProcessOfHandle(handle) : nullptr;
}

} // namespace moltr::sim

using namespace moltr::platform;

extern "C" {

HANDLE WINAPI OpenProcess(DWORD dwDesiredAccess, BOOL, DWORD dwProcessId) {
    std::optional<ProcessRecord> record = LoadProcess(dwProcessId);
    const bool current = dwProcessId == GetCurrentProcessId();
    if (current) {
        record = ProcessRecord{dwProcessId, HostStartTime(dwProcessId), {}, std::nullopt};
    }
    // Windows answers so for an id that names no process (and for the idle process, id 0).
    if (dwProcessId == 0 || !record || !IsRunning(*record)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HANDLE handle = moltr::sim::InsertHandle(
        std::make_shared<ProcessObject>(*record, dwDesiredAccess, nullptr));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
    std::shared_ptr<ProcessObject> process = ProcessOfHandle(hProcess);
    if (!process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!process->Allows(PROCESS_QUERY_INFORMATION) &&
        !process->Allows(PROCESS_QUERY_LIMITED_INFORMATION)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!lpExitCode) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *lpExitCode = process->ExitCode();
    return TRUE;
}

BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode) {
    std::shared_ptr<ProcessObject> process = ProcessOfHandle(hProcess);
    if (!process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!process->Allows(PROCESS_TERMINATE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (process->IsCurrent()) {
        ExitProcess(uExitCode);
    }
    if (process->IsSignalled()) {
        SetLastError(ERROR_ACCESS_DENIED); // as Windows answers for a process that has ended
        return FALSE;
    }
    RecordExitCode(process->Id(), uExitCode);
    ::kill(static_cast<pid_t>(process->Id()), SIGKILL);
    return TRUE;
}

void WINAPI ExitProcess(UINT uExitCode) {
    RecordExitCode(GetCurrentProcessId(), uExitCode);
    std::exit(static_cast<int>(uExitCode));
}

DWORD WINAPI GetProcessId(HANDLE Process) {
    std::shared_ptr<ProcessObject> process = ProcessOfHandle(Process);
    if (!process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return process->Id();
}
}
