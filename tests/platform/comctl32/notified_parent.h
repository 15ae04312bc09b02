#pragma once
// A top-level window that keeps the notifications and scroll messages its controls send it and
// answers WM_NOTIFY with a value the test chooses.
#include "sim/machine.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace moltr::test {

struct Received {
    UINT message = 0;
    UINT code = 0; // WM_NOTIFY's code, or the scroll request
    WORD pos = 0;  // the scroll position
    HWND from = nullptr;
    NMUPDOWN upDown{}; // for UDN_DELTAPOS
};

class NotifiedParent {
public:
    NotifiedParent() {
        InitCommonControls();
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = Proc;
        description.lpszClassName = L"NotifiedParent";
        RegisterClassExW(&description);
        window_ = CreateWindowExW(0, L"NotifiedParent", L"", WS_POPUP, 0, 0, 400, 300, nullptr,
                                  nullptr, nullptr, nullptr);
        current_ = this;
    }
    ~NotifiedParent() {
        DestroyWindow(window_);
        current_ = nullptr;
    }
    NotifiedParent(const NotifiedParent&) = delete;
    NotifiedParent& operator=(const NotifiedParent&) = delete;

    HWND Control(const WCHAR* className, DWORD style, int id, int width = 200, int height = 30) {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, width,
                               height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               nullptr, nullptr);
    }

    HWND window() const { return window_; }
    std::vector<Received> received;
    LRESULT answer = 0; // to every WM_NOTIFY

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        NotifiedParent* self = current_;
        if (self && message == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            Received got{message, header->code, 0, header->hwndFrom, {}};
            if (header->code == UDN_DELTAPOS) {
                got.upDown = *reinterpret_cast<const NMUPDOWN*>(lParam);
            }
            self->received.push_back(got);
            return self->answer;
        }
        if (self && (message == WM_HSCROLL || message == WM_VSCROLL)) {
            self->received.push_back(
                {message, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam), {}});
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static inline NotifiedParent* current_ = nullptr;
    sim::TestMachine machine_;
    HWND window_ = nullptr;
};

} // namespace moltr::test
