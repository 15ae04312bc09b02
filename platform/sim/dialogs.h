#pragma once
// Modal dialogs of the simulated desktop (host build only). Nobody sits in front of the machine,
// so a machine-wide responder, set by a test or by `moltr desktop respond`, answers each dialog
// that DialogBoxIndirectParamW shows: it presses one control after a delay. Every dialog shown on
// the machine is recorded in <root>/desktop/dialogs/, with its picture beside its record (without
// a machine, in the process only).
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::sim {

struct DialogResponse {
    int control = IDOK; // the control pressed: its WM_COMMAND goes to the dialog procedure
    DWORD afterMs = 0;  // how long the simulated user looks at the dialog first
};

struct DialogControl {
    int id = 0;
    std::u16string text;
};

struct DialogRecord {
    // The dialog resource's id when the template was loaded from a module; 0 for one built in
    // memory.
    int templateId = 0;
    std::u16string caption;
    std::vector<DialogControl> controls;
    DWORD process = 0;
    // The application window the dialog stands in front of: its owner or, for a dialog without
    // one, the visible window of the thread whose input the showing thread shares.
    HWND appWindow = nullptr;
    bool appWindowDisabled = false; // while the dialog was open
    bool appWindowEnabledAfter =
        false;          // once the dialog's thread let go of the application's input
    int closedBy = 0;   // the control whose press ended the dialog; 0 when none did
    int ownerDrawn = 0; // owner-drawn controls painted through WM_DRAWITEM
    // The dialog's client surface as a PNG file: the face colour of dialogs with the owner-drawn
    // controls painted where they stand (control texts are not drawn). Empty when the dialog ended
    // before it was shown.
    std::vector<BYTE> picture;
};

// Replaces the machine's responder; the default one presses IDOK at once.
void SetDialogResponse(const DialogResponse& response);
void ClearDialogResponse();
DialogResponse CurrentDialogResponse();

// Every dialog shown on the machine since the last clear, oldest first.
std::vector<DialogRecord> DialogRecords();
void ClearDialogRecords();

} // namespace moltr::sim
