#pragma once
// VORTAOptItemHandlerWMCOMBOBOX: the list of saved watermarks. Its first option stands for no
// watermark; each further option shows one saved watermark of the printer by name, free slots
// hidden. Choosing one puts its settings into the page's items, and OK stores the list back.
#include <windows.h>
#include "store/xpr.h"
#include "uiplugin/engine/generic_handlers.h"
#include "uiplugin/engine/named_list.h"

namespace moltr::ui {

class VORTAOptItemHandlerWMCOMBOBOX : public VORTAOptItemHandlerCombobox {
public:
    VORTAOptItemHandlerWMCOMBOBOX(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);
    ~VORTAOptItemHandlerWMCOMBOBOX() override;

    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
    void Commit(BOOL isCancel) override;
    // Takes the list back as the printer keeps it.
    void Revert() override;

private:
    void Load();
    void Release();
    HANDLE Printer() const;

    store::StructureRecord* record_ = nullptr;
    NamedList list_;
};

} // namespace moltr::ui
