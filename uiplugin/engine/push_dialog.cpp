#include "uiplugin/engine/push_dialog.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/push_button_record.h"

namespace moltr::ui {

namespace {

LONG RunRecordDialog(const FactoryEnvironment& environment, const OPTTYPE& type, HWND owner) {
    if (type.Count < 1 || type.pOptParam == nullptr ||
        type.pOptParam[0].Style != PUSHBUTTON_TYPE_CALLBACK || type.pOptParam[0].lParam == 0) {
        return 0;
    }
    auto* record = reinterpret_cast<PushButtonRecord*>(type.pOptParam[0].lParam);
    if (record->dialogTemplate == nullptr || environment.popupDialogProc == nullptr) {
        return 0;
    }
    const INT_PTR result =
        DialogBoxIndirectParamW(environment.instance, record->dialogTemplate, owner,
                                environment.popupDialogProc, reinterpret_cast<LPARAM>(record));
    return result == 1 ? 1 : 0;
}

} // namespace

LONG RunPushDialog(VORTAOptItemHandlerFactory& factory, POPTITEM item, HWND owner) {
    if (item == nullptr || item->pOptType == nullptr) {
        return 0;
    }
    const FactoryEnvironment& environment = factory.Environment();
    if (item->pOptType->Type == TVOT_PUSHBUTTON) {
        return RunRecordDialog(environment, *item->pOptType, owner);
    }
    return 0;
}

} // namespace moltr::ui
