#pragma once
// The record a push-button item carries in its option's lParam: whom to ask, the string id that
// names its dialog, and that dialog's template (null when the item's options describe a property
// sheet instead).
#include <windows.h>

namespace moltr::ui {

struct PushButtonRecord {
    void* engine;
    DWORD textId;
    const DLGTEMPLATE* dialogTemplate;
};

} // namespace moltr::ui
