#pragma once
// The simulated desktop across processes: every top-level window of a machine's process is
// published in <root>/desktop/windows/, so that other processes find it (EnumWindows), learn its
// owner (GetWindowThreadProcessId) and read or change its visible and enabled states. A window's
// machine-wide handle carries its process id in the bits above the 32 of the process's own handle
// value; the owning process accepts both forms. Records of processes that ended are dropped.
#include <windows.h>
#include <optional>
#include <vector>

namespace moltr::platform {

struct DesktopWindow {
    HWND handle = nullptr; // machine-wide
    DWORD process = 0;
    DWORD thread = 0;
    DWORD style = 0;
};

// The handle as the table of this process knows it: its own windows' machine-wide handles lose the
// process id; handles of other processes' windows stay as they are.
ULONG_PTR LocalHandleValue(ULONG_PTR handle);
// True for the machine-wide handle of a window of another process.
bool IsForeignHandle(HWND handle);
// The machine-wide handle of a top-level window of this process.
HWND DesktopHandle(HWND local);

// Writes (or, once the window is gone, removes) the record of a top-level window of this process.
void PublishWindow(HWND local, DWORD thread, DWORD style);
void WithdrawWindow(HWND local);
// The record of a window of a running process; none for a handle without one.
std::optional<DesktopWindow> FindDesktopWindow(HWND handle);
// Replaces the style in a window's record (another process changing the window's state).
bool StoreDesktopStyle(HWND handle, DWORD style);
// Every top-level window of the machine's running processes, oldest first; without a machine,
// none (the process's own windows are then the desktop).
std::vector<DesktopWindow> DesktopWindows();

} // namespace moltr::platform
