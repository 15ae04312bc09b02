#include "uiplugin/engine/relabeled_handlers.h"
#include <iterator>
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/relabel.h"

namespace moltr::ui {

namespace {

constexpr StringMapEntry kIcmMethodEntries[] = {{477, 4160}, {478, 4161}, {479, 4162}};
constexpr StringMapEntry kIcmIntentEntries[] = {{481, 4210}, {482, 4211}, {483, 4212}, {484, 4213}};
constexpr StringMapEntry kPageOrderEntries[] = {{64856, 3310}, {64857, 3311}};

// Own strings of the relabelled items: the item's name, then one per option.
constexpr UINT kTrueTypeFontText = 4100;
constexpr UINT kTrueTypeFontFirstOption = 4102;
constexpr UINT kHalftoneText = 4050;
constexpr UINT kHalftoneFirstOption = 4052;
constexpr UINT kMediaOutputText = 3350;
constexpr UINT kMediaOutputFirstOption = 3360;
constexpr DWORD kMediaOutputShadow = 32504;

} // namespace

const StringMap kIcmMethodStrings = {kIcmMethodEntries, std::size(kIcmMethodEntries), 0};
const StringMap kIcmIntentStrings = {kIcmIntentEntries, std::size(kIcmIntentEntries), 0};
const StringMap kPageOrderStrings = {kPageOrderEntries, std::size(kPageOrderEntries), 32503};

template <const StringMap& Map> UINT StringMapHandler<Map>::GetStringForId(UINT hostId) {
    for (size_t i = 0; i < Map.count; ++i) {
        if (Map.entries[i].hostId == hostId) {
            return Map.entries[i].ownId;
        }
    }
    return 0;
}

template <const StringMap& Map>
LONG StringMapHandler<Map>::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LONG old = VORTAOptItemHandler::SetSelection(index, source);
    if (Map.shadowId != 0) {
        SetShadow(Map.shadowId, GetValue(nullptr));
    }
    return old;
}

template class StringMapHandler<kIcmMethodStrings>;
template class StringMapHandler<kIcmIntentStrings>;
template class StringMapHandler<kPageOrderStrings>;

VORTAOptItemHandlerTRUETYPEFONT::VORTAOptItemHandlerTRUETYPEFONT(
    VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId)
    : VORTAOptItemHandler(factory, item, itemId) {
    Relabel(*this, kTrueTypeFontText, kTrueTypeFontFirstOption);
}

VORTAOptItemHandlerHALFTONE::VORTAOptItemHandlerHALFTONE(VORTAOptItemHandlerFactory* factory,
                                                         POPTITEM item, DWORD itemId)
    : VORTAOptItemHandler(factory, item, itemId) {
    Relabel(*this, kHalftoneText, kHalftoneFirstOption);
}

VORTAOptItemHandlerMEDIAOUTPUT::VORTAOptItemHandlerMEDIAOUTPUT(VORTAOptItemHandlerFactory* factory,
                                                               POPTITEM item, DWORD itemId)
    : VORTAOptItemHandler(factory, item, itemId) {
    Relabel(*this, kMediaOutputText, kMediaOutputFirstOption);
    BYTE optionalOutput = 0;
    common::IDrvSettings* settings = factory->Environment().settings;
    if (SUCCEEDED(settings->GetValue(nullptr, L"_OPTOUTPUT", &optionalOutput,
                                     sizeof(optionalOutput), common::kLayoutPrinterSettings)) &&
        optionalOutput == 1) {
        ChangeOptionFlags(1, OPTPF_HIDE, 0, nullptr);
    }
}

LONG VORTAOptItemHandlerMEDIAOUTPUT::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LONG old = VORTAOptItemHandler::SetSelection(index, source);
    SetShadow(kMediaOutputShadow, GetValue(nullptr));
    return old;
}

} // namespace moltr::ui
