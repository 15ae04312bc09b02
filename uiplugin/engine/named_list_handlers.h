#pragma once
// The lists of named entries on the own pages (quick settings, custom media sizes) and the edit
// boxes where their names are typed. What the entries hold comes with their own objects; these
// handlers carry the choice and the name.
#include <windows.h>
#include "uiplugin/engine/generic_handlers.h"

namespace moltr::ui {

// Longest name of a quick setting, terminator included.
inline constexpr size_t kQuickSettingNameMax = 64;

class VORTAOptItemHandlerQSCOMBOBOX : public VORTAOptItemHandlerCombobox {
public:
    using VORTAOptItemHandlerCombobox::VORTAOptItemHandlerCombobox;
    // Keeps the text of the list's edit window.
    void CaptureName(HWND window) override;
    LPCWSTR GetCapturedName() override;

private:
    WCHAR name_[kQuickSettingNameMax];
};

class VORTAOptItemHandlerQSEDITBOX : public VORTAOptItemHandlerEditbox {
public:
    using VORTAOptItemHandlerEditbox::VORTAOptItemHandlerEditbox;
};

class VORTAOptItemHandlerCMCOMBOBOX : public VORTAOptItemHandlerCombobox {
public:
    using VORTAOptItemHandlerCombobox::VORTAOptItemHandlerCombobox;
};

class VORTAOptItemHandlerCMEDITBOX : public VORTAOptItemHandlerEditbox {
public:
    using VORTAOptItemHandlerEditbox::VORTAOptItemHandlerEditbox;
};

} // namespace moltr::ui
