#pragma once
// Modal property sheets of the simulated desktop (host build only). Nobody sits in front of the
// machine: a sheet that PropertySheetW shows takes the actions queued for it, in order, as a user
// would make them (a tab clicked, a button pressed, anything else done to its windows), and once
// none are left it is answered by the machine's dialog responder (sim/dialogs.h) pressing its
// control; a sheet that even Cancel cannot close is closed by the system, saving nothing.
#include <windows.h>
#include <functional>
#include <vector>

namespace moltr::sim {

struct SheetAction {
    enum class Kind {
        SelectPage, // the user clicks the tab of page `value` (from 0)
        Press,      // the user presses the frame's button `value` (IDOK, IDCANCEL, 12321, IDHELP)
        Run,        // `run` is called on the sheet's thread with the sheet's window
    };
    Kind kind = Kind::Press;
    int value = 0;
    std::function<void(HWND sheet)> run;
};

// Appends to the actions the next sheets of the process take; another thread may queue them
// while a sheet is open.
void QueueSheetAction(SheetAction action);
void ClearSheetActions();
// While held, an open sheet that has no action left waits for the next one instead of being
// answered by the responder.
void HoldSheets(bool hold);

} // namespace moltr::sim
