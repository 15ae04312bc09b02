#pragma once
// The dialog manager's own calls, shared by modeless and modal dialogs and by the keyboard
// interface: making a dialog from its template, giving the focus as a dialog does, and the end
// that EndDialog asks for.
#include <windows.h>

namespace moltr::platform {

// Makes the dialog of a template (`size` bytes at `data`): its window with the template's font,
// its controls, WM_INITDIALOG and the focus it asks for; shown when the template says WS_VISIBLE
// and `modal` is false. Null (with the error set) when the template or a control fails.
HWND CreateDialogFromTemplate(HINSTANCE instance, const BYTE* data, size_t size, HWND parent,
                              DLGPROC proc, LPARAM parameter, bool modal);

// A dialog template resource of a module; null with the error set when there is none.
const BYTE* DialogResource(HINSTANCE instance, LPCWSTR name, size_t& size);

// Gives `control` the focus as the dialog manager does: an edit control's text is selected, and a
// push button that takes the focus is drawn as the default one.
void FocusDialogControl(HWND dialog, HWND control);

// True once EndDialog was called for the dialog, with the result it was given.
bool DialogEnded(HWND dialog, INT_PTR& result);

// The messages a dialog procedure answers through its return value instead of DWLP_MSGRESULT.
bool AnswersDirectly(UINT message);

} // namespace moltr::platform
