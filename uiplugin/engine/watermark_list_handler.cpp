#include "uiplugin/engine/watermark_list_handler.h"

#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/watermark_apply.h"

namespace moltr::ui {
namespace {

// Option 0 is the description's "no watermark"; saved watermark i is option i + 1.
constexpr DWORD kFirstSaved = 1;

// What an option shows once its list is reloaded and before the new names are in.
WCHAR kNoName[] = L"";

} // namespace

VORTAOptItemHandlerWMCOMBOBOX::VORTAOptItemHandlerWMCOMBOBOX(VORTAOptItemHandlerFactory* factory,
                                                             POPTITEM item, DWORD itemId)
    : VORTAOptItemHandlerCombobox(factory, item, itemId) {
    Load();
}

// The host frees its items before the plug-in's handlers, so the item is not touched here.
VORTAOptItemHandlerWMCOMBOBOX::~VORTAOptItemHandlerWMCOMBOBOX() {
    FreeNamedList(Heap(), list_);
    store::Close(&record_);
}

HANDLE VORTAOptItemHandlerWMCOMBOBOX::Printer() const {
    const FactoryEnvironment& environment = Factory()->Environment();
    return environment.param != nullptr ? environment.param->hPrinter : nullptr;
}

// The saved watermarks belong to the document settings; the printer sheet has none.
void VORTAOptItemHandlerWMCOMBOBOX::Load() {
    Release();
    if (Factory()->Environment().sheetKind != kSheetDocument ||
        store::OpenByHandle(Printer(), L"WATERMARKSETTINGS", &record_) != store::kClassSuccess) {
        store::Close(&record_);
        return;
    }
    LoadNamedList(Heap(), record_, NamedListKind::kWatermarks, list_);
    for (DWORD i = 0; i < list_.count; ++i) {
        POPTPARAM option = Option(kFirstSaved + i);
        if (option == nullptr) {
            break;
        }
        option->pData = list_.options[i].pData;
        option->Flags = static_cast<BYTE>((option->Flags & ~OPTPF_HIDE) |
                                          (list_.options[i].Flags & OPTPF_HIDE));
    }
}

void VORTAOptItemHandlerWMCOMBOBOX::Release() {
    for (DWORD i = 0; i < list_.count; ++i) {
        POPTPARAM option = Option(kFirstSaved + i);
        if (option != nullptr && option->pData == list_.options[i].pData) {
            option->pData = kNoName;
        }
    }
    FreeNamedList(Heap(), list_);
    store::Close(&record_);
}

LONG VORTAOptItemHandlerWMCOMBOBOX::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LONG old = VORTAOptItemHandlerCombobox::SetSelection(index, source);
    if (index != old && index >= static_cast<LONG>(kFirstSaved)) {
        ApplyWatermark(record_, static_cast<DWORD>(index) - kFirstSaved, *Factory());
    }
    return old;
}

// The options carry what the page changed, names and freed slots; the list's own names stay
// its own.
void VORTAOptItemHandlerWMCOMBOBOX::Commit(BOOL isCancel) {
    if (isCancel || record_ == nullptr || list_.count == 0) {
        return;
    }
    NamedList shown = list_;
    shown.options =
        static_cast<POPTPARAM>(HeapAlloc(Heap(), HEAP_ZERO_MEMORY, list_.count * sizeof(OPTPARAM)));
    if (shown.options == nullptr) {
        return;
    }
    for (DWORD i = 0; i < list_.count; ++i) {
        const POPTPARAM option = Option(kFirstSaved + i);
        shown.options[i] = option != nullptr ? *option : list_.options[i];
    }
    StoreNamedList(record_, NamedListKind::kWatermarks, shown, shown.count);
    HeapFree(Heap(), 0, shown.options);
    store::SaveByHandle(&record_, Printer(), FALSE);
}

void VORTAOptItemHandlerWMCOMBOBOX::Revert() {
    Load();
}

} // namespace moltr::ui
