#pragma once
// Message boxes of the simulated desktop (host build only): nobody sits in front of it, so a
// responder chosen by the test answers each MessageBoxW, and every call is recorded.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace moltr::sim {

struct MessageBoxCall {
    HWND owner = nullptr;
    std::u16string text;
    std::u16string caption; // as shown: "Error" when the caller passed none
    UINT type = 0;
    int result = 0; // what MessageBoxW returned (0 when it failed)
};

// Answers a shown message box with the id of the button pressed. The default responder presses
// Enter, that is the default button (MB_DEFBUTTONn, the first button unless the flags say
// otherwise).
using MessageBoxResponder = std::function<int(const MessageBoxCall&)>;

// Replaces the responder; an empty one restores the default.
void SetMessageBoxResponder(MessageBoxResponder responder);
// Every MessageBoxW call of the process since the last clear, oldest first.
std::vector<MessageBoxCall> MessageBoxCalls();
void ClearMessageBoxCalls();

} // namespace moltr::sim
