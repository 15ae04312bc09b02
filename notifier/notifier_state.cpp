#include "notifier/notifier_state.h"

#include "store/wide_text.h"

namespace moltr::notifier {

NotifierState::NotifierState() {
    InitializeCriticalSection(&lock_);
}

NotifierState::~NotifierState() {
    DeleteCriticalSection(&lock_);
}

NotifierState::Lock::Lock(NotifierState& state) : state_(state) {
    EnterCriticalSection(&state_.lock_);
}

NotifierState::Lock::~Lock() {
    LeaveCriticalSection(&state_.lock_);
}

void NotifierState::AddActivity() {
    InterlockedIncrement(&activity_);
}

void NotifierState::DropActivity() {
    if (InterlockedDecrement(&activity_) == 0) {
        Stop();
    }
}

void NotifierState::Stop() {
    InterlockedIncrement(&stop_);
}

DuplexJob* NotifierState::FindJob(const PrinterWatch* printer, DWORD jobId) {
    if (jobId == 0) {
        return nullptr;
    }
    Lock lock(*this);
    for (DuplexJob& job : jobs_) {
        if (job.jobId == jobId && job.printer == printer) {
            return &job;
        }
    }
    return nullptr;
}

DuplexJob* NotifierState::NewJob(const PrinterWatch* printer, DWORD jobId, LONG pageCounter) {
    Lock lock(*this);
    for (DuplexJob& job : jobs_) {
        if (job.jobId == 0) {
            job = {jobId, printer, 0, pageCounter, 0, currentClient_, false};
            AddActivity();
            return &job;
        }
    }
    return nullptr;
}

void NotifierState::RemoveJob(DuplexJob* job) {
    {
        Lock lock(*this);
        job->jobId = 0;
        job->printer = nullptr;
        job->owner = nullptr;
    }
    DropActivity();
}

DuplexJob* NotifierState::FindHeldJob(const PrinterWatch* printer) {
    Lock lock(*this);
    for (DuplexJob& job : jobs_) {
        if (job.jobId != 0 && job.printer == printer && job.held) {
            return &job;
        }
    }
    return nullptr;
}

HWND NotifierState::OwnerWindow(const DuplexJob* job) {
    Lock lock(*this);
    return job->owner != nullptr ? job->owner->mainWindow : nullptr;
}

PrinterWatch* NotifierState::FindPrinter(LPCWSTR name) {
    for (PrinterWatch& watch : printers_) {
        if (watch.printer != nullptr && watch.printer != INVALID_HANDLE_VALUE &&
            watch.name[0] != 0 && store::TextsEqual(watch.name, name)) {
            return &watch;
        }
    }
    return nullptr;
}

PrinterWatch* NotifierState::FreePrinter() {
    for (PrinterWatch& watch : printers_) {
        if (watch.printer == nullptr) {
            return &watch;
        }
    }
    return nullptr;
}

ClientProcess* NotifierState::FindClient(DWORD processId) {
    for (ClientProcess& client : clients_) {
        if (client.processId == processId) {
            return &client;
        }
    }
    return nullptr;
}

ClientProcess* NotifierState::FreeClient() {
    return FindClient(0);
}

void NotifierState::ClientEnded(ClientProcess* client) {
    {
        Lock lock(*this);
        *client = {};
        for (DuplexJob& job : jobs_) {
            if (job.owner == client) {
                job.owner = nullptr;
            }
        }
        if (currentClient_ == client) {
            currentClient_ = nullptr;
        }
    }
    DropActivity();
}

void NotifierState::SetCurrent(PrinterWatch* printer, ClientProcess* client) {
    Lock lock(*this);
    currentPrinter_ = printer;
    currentClient_ = client;
}

} // namespace moltr::notifier
