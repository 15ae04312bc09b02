#pragma once
// The host's colour, duplex and pages-per-sheet items as the own pages show them.
#include <windows.h>
#include "uiplugin/engine/opt_item_handler.h"

namespace moltr::ui {

// Colour: the own check box 32500 is ticked for the host's first option (colour off is 1).
class VORTAOptItemHandlerCOLORDlg : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
};

// Duplex shown as two controls: 2053 (printing on both sides) and 2100 (turning on the short
// edge), the latter only while item 2153 allows it.
class VORTAOptItemHandlerDUPLEXDlg : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
    DWORD GetOptionCount() override;
    LONG GetSelection(DWORD linkId) override;
    BOOL IsEnabled(DWORD linkId, DWORD mask) override;
};

// Pages per sheet, with the host's option strings shown as the numbers they stand for.
class VORTAOptItemHandlerNUP : public VORTAOptItemHandler {
public:
    VORTAOptItemHandlerNUP(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);
    void GetOptionText(DWORD i, WCHAR (&text)[kOptionTextMax], BOOL* visible) override;
    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
    LONG Step(LONG delta) override;
};

} // namespace moltr::ui
