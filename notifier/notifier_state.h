#pragma once
// The notifier's global state: the PrinterWatch, ClientProcess and DuplexJob tables of 64 entries
// each under one critical section, the activity count and the stop flag. The program ends when the
// activity count (live clients, monitored jobs and open dialogs) falls to 0.
#include <windows.h>
#include <array>
#include "notifier/notifier_request.h"

namespace moltr::notifier {

inline constexpr size_t kTableEntries = 64;

struct PrinterWatch {
    HANDLE printer; // null: free entry
    WCHAR name[kPrinterNameChars];
    DWORD pdlType;    // the printer's _PDLTYPE
    HANDLE change;    // printer change notification
    HANDLE stopEvent; // auto-reset
    HANDLE monitorThread;
};

struct ClientProcess {
    DWORD processId; // 0: free entry
    HANDLE process;
    HWND mainWindow; // may be null
};

// Job ids are unique only per print server, so a job is known by its printer and id.
struct DuplexJob {
    DWORD jobId; // 0: free entry
    const PrinterWatch* printer;
    DWORD frontSides;
    LONG pageCounter; // -1: raster counting not started
    DWORD totalPages;
    ClientProcess* owner; // may be null
    bool held;            // paused by the notifier and not resumed yet
};

// The raster PDL types count pages from notifications rather than from the printed-page value.
inline bool IsRasterPdl(DWORD pdlType) {
    return pdlType >= 10 && pdlType <= 19;
}

class NotifierState {
public:
    NotifierState();
    ~NotifierState();
    NotifierState(const NotifierState&) = delete;
    NotifierState& operator=(const NotifierState&) = delete;

    // Holds the tables' lock for its scope.
    class Lock {
    public:
        explicit Lock(NotifierState& state);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        NotifierState& state_;
    };

    void AddActivity();
    // Sets the stop flag when the count falls from 1 to 0.
    void DropActivity();
    LONG Activity() const { return activity_; }
    void Stop();
    bool Stopping() const { return stop_ != 0; }

    // Jobs. Found entries are used without the lock by the one monitor thread of their printer.
    DuplexJob* FindJob(const PrinterWatch* printer, DWORD jobId);
    // Takes a free entry for the job with the current client as its owner and counts it as
    // activity; null when the table is full.
    DuplexJob* NewJob(const PrinterWatch* printer, DWORD jobId, LONG pageCounter);
    void RemoveJob(DuplexJob* job);
    // The first job of `printer` that the notifier still holds paused.
    DuplexJob* FindHeldJob(const PrinterWatch* printer);
    HWND OwnerWindow(const DuplexJob* job);

    // Printers and clients: the entry of a name or process id, or a free one to fill (called with
    // the lock held; null when the table is full).
    PrinterWatch* FindPrinter(LPCWSTR name);
    PrinterWatch* FreePrinter();
    ClientProcess* FindClient(DWORD processId);
    ClientProcess* FreeClient();
    // Forgets an exited client: its jobs lose their owner and it no longer counts as activity.
    void ClientEnded(ClientProcess* client);

    std::array<PrinterWatch, kTableEntries>& Printers() { return printers_; }
    void SetCurrent(PrinterWatch* printer, ClientProcess* client);

private:
    CRITICAL_SECTION lock_;
    std::array<PrinterWatch, kTableEntries> printers_ = {};
    std::array<ClientProcess, kTableEntries> clients_ = {};
    std::array<DuplexJob, kTableEntries> jobs_ = {};
    PrinterWatch* currentPrinter_ = nullptr;
    ClientProcess* currentClient_ = nullptr;
    LONG volatile activity_ = 0;
    LONG volatile stop_ = 0;
};

// The known entry that `find` returns under the lock, else the one `open` makes. `open` runs
// without the lock, which it takes itself only for as long as it fills the entry.
template <class Find, class Open> auto FindOrOpen(NotifierState& state, Find find, Open open) {
    {
        NotifierState::Lock lock(state);
        if (auto* known = find()) {
            return known;
        }
    }
    return open();
}

} // namespace moltr::notifier
