#pragma once
// A top-level window that keeps what its standard controls send it (WM_COMMAND notifications,
// scroll requests, owner-draw requests, colour questions) and answers as the test chooses; and
// its picture, with every visible control painted where it stands.
#include "png_picture.h"
#include "sim/machine.h"
#include "sim/window_pictures.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

namespace moltr::test {

struct Sent {
    UINT message = 0;
    WORD id = 0;   // the control's id
    WORD code = 0; // the notification code or scroll request
    WORD pos = 0;  // a scroll request's position
    HWND from = nullptr;
};

class ControlParent {
public:
    ControlParent() {
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = Proc;
        description.lpszClassName = L"ControlParent";
        RegisterClassExW(&description);
        current_ = this;
        window_ = CreateWindowExW(0, L"ControlParent", L"", WS_POPUP, 0, 0, 400, 300, nullptr,
                                  nullptr, nullptr, nullptr);
    }
    ~ControlParent() {
        DestroyWindow(window_);
        current_ = nullptr;
    }
    ControlParent(const ControlParent&) = delete;
    ControlParent& operator=(const ControlParent&) = delete;

    HWND Control(const WCHAR* className, const WCHAR* text, DWORD style, int id,
                 RECT at = {10, 10, 130, 35}) {
        return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                               at.right - at.left, at.bottom - at.top, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }

    // The codes of the WM_COMMAND notifications received, in order.
    std::vector<WORD> Commands() const {
        std::vector<WORD> codes;
        for (const Sent& sent : received) {
            if (sent.message == WM_COMMAND) {
                codes.push_back(sent.code);
            }
        }
        return codes;
    }

    test::Picture Snapshot() const {
        auto picture = ReadPng(sim::WindowPicture(window_));
        EXPECT_TRUE(picture.has_value());
        return picture ? *picture : test::Picture{};
    }

    HWND window() const { return window_; }
    std::vector<Sent> received;
    // Called as each WM_COMMAND or scroll request arrives.
    std::function<void(const Sent&)> onNotify;
    // Called for WM_DRAWITEM and WM_MEASUREITEM with the structure the control sent.
    std::function<void(UINT message, LPARAM item)> ownerDraw;
    // Answers WM_CTLCOLOR* when set, after setting `textColour` into the DC.
    HBRUSH brush = nullptr;
    COLORREF textColour = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        ControlParent* self = current_;
        if (!self) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        switch (message) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL: {
            auto* control = reinterpret_cast<HWND>(lParam);
            // A scroll request names its control by the handle alone.
            self->received.push_back(message == WM_COMMAND
                                         ? Sent{message, LOWORD(wParam), HIWORD(wParam), 0, control}
                                         : Sent{message, static_cast<WORD>(GetDlgCtrlID(control)),
                                                LOWORD(wParam), HIWORD(wParam), control});
            if (self->onNotify) {
                self->onNotify(self->received.back());
            }
            return 0;
        }
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            self->received.push_back({message, LOWORD(wParam), HIWORD(wParam), 0, nullptr});
            if (self->ownerDraw) {
                self->ownerDraw(message, lParam);
            }
            return message == WM_VKEYTOITEM || message == WM_CHARTOITEM ? -1 : TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            self->received.push_back({message, 0, 0, 0, reinterpret_cast<HWND>(lParam)});
            if (self->brush) {
                SetTextColor(reinterpret_cast<HDC>(wParam), self->textColour);
            }
            return reinterpret_cast<LRESULT>(self->brush);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    static inline ControlParent* current_ = nullptr;
    sim::TestMachine machine_;
    HWND window_ = nullptr;
};

// Whether a pixel is dark enough to be text or a mark.
inline bool Dark(int r, int g, int b) {
    return r + g + b < 3 * 96;
}

} // namespace moltr::test
