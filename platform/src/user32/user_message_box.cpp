// MessageBoxW on the simulated desktop: answered by the responder, every call recorded.
#include "sim/message_box.h"
#include "src/user32/user_objects.h"
#include "sim/utf.h"

#include <windows.h>

namespace moltr::sim {
namespace {

struct Boxes {
    std::mutex lock;
    MessageBoxResponder responder;
    std::vector<MessageBoxCall> calls;
};

Boxes& TheBoxes() {
    static Boxes* boxes = new Boxes;
    return *boxes;
}

// The buttons of each MB_TYPEMASK value, left to right.
const std::vector<int>& Buttons(UINT type) {
    static const std::vector<int> kButtons[] = {
        {IDOK},
        {IDOK, IDCANCEL},
        {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO},
        {IDRETRY, IDCANCEL},
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE},
    };
    return kButtons[type & MB_TYPEMASK];
}

constexpr UINT kLastType = MB_CANCELTRYCONTINUE;

// Pressing Enter: the default button, the first when the flags name one that is not there.
int PressEnter(const MessageBoxCall& call) {
    const std::vector<int>& buttons = Buttons(call.type);
    const size_t chosen = (call.type & MB_DEFMASK) >> 8;
    return chosen < buttons.size() ? buttons[chosen] : buttons.front();
}

} // namespace

void SetMessageBoxResponder(MessageBoxResponder responder) {
    std::lock_guard guard(TheBoxes().lock);
    TheBoxes().responder = std::move(responder);
}

std::vector<MessageBoxCall> MessageBoxCalls() {
    std::lock_guard guard(TheBoxes().lock);
    return TheBoxes().calls;
}

void ClearMessageBoxCalls() {
    std::lock_guard guard(TheBoxes().lock);
    TheBoxes().calls.clear();
}

} // namespace moltr::sim

extern "C" int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    using namespace moltr::sim;
    MessageBoxCall call;
    call.owner = hWnd;
    call.text = View(lpText);
    call.caption = lpCaption ? std::u16string(View(lpCaption)) : std::u16string(u"Error");
    call.type = uType;
    DWORD error = ERROR_SUCCESS;
    if ((uType & MB_TYPEMASK) > kLastType) {
        error = ERROR_INVALID_MSGBOX_STYLE;
    } else if (hWnd && !IsWindow(hWnd)) {
        error = ERROR_INVALID_WINDOW_HANDLE;
    }
    MessageBoxResponder responder;
    {
        std::lock_guard guard(TheBoxes().lock);
        responder = TheBoxes().responder;
    }
    // The responder runs unlocked: it may look at the calls so far or show another box.
    if (error == ERROR_SUCCESS) {
        call.result = responder ? responder(call) : PressEnter(call);
    }
    {
        std::lock_guard guard(TheBoxes().lock);
        TheBoxes().calls.push_back(call);
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
    }
    return call.result;
}
