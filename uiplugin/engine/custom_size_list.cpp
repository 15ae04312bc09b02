#include "uiplugin/engine/custom_size_list.h"

#include <new>
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/paper_handlers.h"

namespace moltr::ui {
namespace {

constexpr DWORD kCustomMediaItem = 17052;
constexpr DWORD kPaperItem = 1203;
constexpr UINT kNewSizeText = 17060;

} // namespace

// The host frees its items before the plug-in's handlers, so the item is not touched here.
VORTAOptItemHandlerCMCOMBOBOX::~VORTAOptItemHandlerCMCOMBOBOX() {
    if (options_ != nullptr) {
        HeapFree(Heap(), 0, options_);
        HeapFree(Heap(), 0, records_);
    }
}

void VORTAOptItemHandlerCMCOMBOBOX::Release() {
    if (options_ == nullptr) {
        return;
    }
    Item()->pOptType->pOptParam = described_;
    Item()->pOptType->Count = describedCount_;
    HeapFree(Heap(), 0, options_);
    HeapFree(Heap(), 0, records_);
    options_ = nullptr;
    records_ = nullptr;
}

void VORTAOptItemHandlerCMCOMBOBOX::LoadList(const std::vector<uiplugin::CustomSizeEntry>& media) {
    POPTTYPE type = Item() != nullptr ? Item()->pOptType : nullptr;
    if (type == nullptr) {
        return;
    }
    auto* options = static_cast<POPTPARAM>(
        HeapAlloc(Heap(), HEAP_ZERO_MEMORY, kCustomSizeListEntries * sizeof(OPTPARAM)));
    auto* records = static_cast<Record*>(
        HeapAlloc(Heap(), HEAP_ZERO_MEMORY, kCustomSizeListEntries * sizeof(Record)));
    if (options == nullptr || records == nullptr) {
        HeapFree(Heap(), 0, options);
        HeapFree(Heap(), 0, records);
        return;
    }
    for (DWORD i = 0; i < kCustomSizeListEntries; ++i) {
        options[i].cbSize = sizeof(OPTPARAM);
        options[i].Flags = OPTPF_HIDE;
        options[i].pData = records[i].name;
        options[i].lParam = reinterpret_cast<LPARAM>(&records[i]);
    }
    DWORD filled = 0;
    for (const uiplugin::CustomSizeEntry& medium : media) {
        if (filled == uiplugin::kCustomSizeListMedia) {
            break;
        }
        Record& record = records[filled];
        lstrcpynW(record.name, medium.name, uiplugin::kCustomMediumNameMax);
        record.form.Flags = FORM_USER;
        record.form.pName = record.name;
        record.form.Size = medium.size;
        record.form.ImageableArea = {1, 1, medium.size.cx - 1, medium.size.cy - 1};
        options[filled++].Flags = 0;
    }
    Record& command = records[kCustomSizeListEntries - 1];
    Factory()->Environment().resources->LoadString(kNewSizeText, command.name,
                                                   uiplugin::kCustomMediumNameMax);
    options[kCustomSizeListEntries - 1].Flags = 0;

    Release();
    described_ = type->pOptParam;
    describedCount_ = type->Count;
    options_ = options;
    records_ = records;
    type->pOptParam = options;
    type->Count = static_cast<WORD>(kCustomSizeListEntries);
}

LONG_PTR VORTAOptItemHandlerCMCOMBOBOX::GetValueOf(LONG index) {
    if (options_ == nullptr) {
        return VORTAOptItemHandlerCombobox::GetValueOf(index);
    }
    return index >= 0 && static_cast<DWORD>(index) < kCustomSizeListEntries ? index : 0;
}

void LoadCustomSizeLists(VORTAOptItemHandlerFactory& factory) {
    auto* combo = dynamic_cast<VORTAOptItemHandlerCMCOMBOBOX*>(factory.Find(kCustomMediaItem));
    auto* paper = dynamic_cast<VORTAOptItemHandlerPAPERSIZE*>(factory.Find(kPaperItem));
    const FactoryEnvironment& environment = factory.Environment();
    const HANDLE printer = environment.param != nullptr ? environment.param->hPrinter : nullptr;
    if ((combo == nullptr && paper == nullptr) || printer == nullptr) {
        return;
    }
    try {
        // Both lists hold the media the description file carries, and in its order.
        std::vector<uiplugin::CustomSizeEntry> listed;
        for (const uiplugin::CustomSizeEntry& entry : uiplugin::EnumerateCustomMedia(
                 printer, uiplugin::PaperLimitsOfPrinter(printer, environment.settings))) {
            if (entry.listed) {
                listed.push_back(entry);
            }
        }
        if (combo != nullptr) {
            combo->LoadList(listed);
        }
        if (paper != nullptr) {
            paper->AppendCustomMedia(listed);
        }
    } catch (const std::bad_alloc&) {
        // The lists keep their described options.
    }
}

} // namespace moltr::ui
