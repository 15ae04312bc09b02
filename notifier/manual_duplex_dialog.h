#pragma once
// The manual-duplex dialog: a thread per shown dialog that tells the user to turn the printed
// stack over and feed it again, with the announcing application's main window disabled meanwhile.
#include <windows.h>
#include "notifier/notifier_state.h"

namespace moltr::notifier {

inline constexpr UINT kDialogTemplateId = 20000;
inline constexpr int kCloseButtonId = 8;

// Starts the dialog thread for a job of `printer` and returns once it has started (or could not).
// The thread counts as activity while it runs.
void StartDialogThread(NotifierState& state, HANDLE printer, HWND owner);

// The dialog procedure; the picture renderer comes as the WM_INITDIALOG parameter.
INT_PTR CALLBACK ManualDuplexDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace moltr::notifier
