#include "moltr/application_window.h"

namespace moltr::tool {
namespace {

constexpr WCHAR kClassName[] = L"MoltrPrintApplication";

} // namespace

ApplicationWindow::ApplicationWindow(LPCWSTR title) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    class_ = RegisterClassW(&windowClass);
    if (class_ == 0) {
        return;
    }
    window_ =
        CreateWindowExW(0, kClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                        CW_USEDEFAULT, 640, 480, nullptr, nullptr, windowClass.hInstance, nullptr);
}

ApplicationWindow::~ApplicationWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    if (class_ != 0) {
        UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
    }
}

} // namespace moltr::tool
