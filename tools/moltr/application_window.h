#pragma once
// The main window of the application that `moltr print --wait` plays: a visible top-level window
// on the simulated desktop, which the notifier finds as the application's main window and keeps
// disabled while its dialog is open.
#include <windows.h>

namespace moltr::tool {

class ApplicationWindow {
public:
    // Registers the window class and creates the window; handle() is null when that failed.
    explicit ApplicationWindow(LPCWSTR title);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND handle() const { return window_; }

private:
    ATOM class_ = 0;
    HWND window_ = nullptr;
};

} // namespace moltr::tool
