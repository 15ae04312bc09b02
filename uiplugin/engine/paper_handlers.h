#pragma once
// The own paper-size lists (their option values are DMPAPER codes) and the watermark angle that
// follows the paper's diagonal.
#include <windows.h>
#include "uiplugin/engine/generic_handlers.h"

namespace moltr::ui {

// Commit: the chosen paper into the public devmode's dmPaperSize.
class VORTAOptItemHandlerPAPERSIZE : public VORTAOptItemHandlerCombobox {
public:
    using VORTAOptItemHandlerCombobox::VORTAOptItemHandlerCombobox;
    LONG_PTR GetValue(BOOL* isText) override;
    void LoadState(LPCWSTR text, BOOL* complete) override;
    void Commit(BOOL isCancel) override;

private:
    bool lost_ = false; // the paper of the last restored quick setting is not offered
};

// Commit: the chosen paper into the private devmode's scale-to size.
class VORTAOptItemHandlerSCALEDOCONSIZE : public VORTAOptItemHandlerCombobox {
public:
    using VORTAOptItemHandlerCombobox::VORTAOptItemHandlerCombobox;
    void Commit(BOOL isCancel) override;
};

// Angle: 0 along the paper's diagonal, 1 horizontal, 2 the angle typed in item 19250.
class VORTAOptItemHandlerWMANGLE : public VORTAOptItemHandler3States {
public:
    using VORTAOptItemHandler3States::VORTAOptItemHandler3States;
    LONG Evaluate(DWORD itemId, DWORD value, DWORD flags) override;
    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
    void SetSelectionByValue(LONG_PTR value, VORTAOptItemNotify* source) override;

private:
    void Apply();
};

// The diagonal angle in whole degrees (truncated) of paper `dmPaper`, 0 for an unknown paper.
LONG DiagonalAngle(short dmPaper, bool landscape);

} // namespace moltr::ui
