#include "uiplugin/engine/named_list_handlers.h"

namespace moltr::ui {

void VORTAOptItemHandlerQSCOMBOBOX::CaptureName(HWND window) {
    name_[0] = 0;
    if (window != nullptr) {
        GetWindowTextW(window, name_, static_cast<int>(kQuickSettingNameMax));
    }
}

LPCWSTR VORTAOptItemHandlerQSCOMBOBOX::GetCapturedName() {
    return name_;
}

} // namespace moltr::ui
