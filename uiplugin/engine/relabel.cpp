#include "uiplugin/engine/relabel.h"
#include "uiplugin/engine/opt_item_handler.h"
#include "uiplugin/engine/opt_item_handler_factory.h"

namespace moltr::ui {

// The copies live on the resources object's heap for as long as the host shows its items.
void Relabel(VORTAOptItemHandler& handler, UINT itemText, UINT firstOptionText) {
    common::IDrvResources* resources = handler.Factory()->Environment().resources;
    if (itemText != 0) {
        if (LPWSTR name = resources->DuplicateString(itemText)) {
            RemoveTrailingColon(name);
            handler.Item()->pName = name;
        }
    }
    if (firstOptionText == 0) {
        return;
    }
    for (DWORD i = 0; i < handler.GetOptionCount(); ++i) {
        if (LPWSTR text = resources->DuplicateString(firstOptionText + i)) {
            handler.SetOptionText(i, text);
        }
    }
}

void RemoveTrailingColon(LPWSTR name) {
    const int length = lstrlenW(name);
    if (length > 0 && name[length - 1] == L':') {
        name[length - 1] = 0;
    }
}

} // namespace moltr::ui
