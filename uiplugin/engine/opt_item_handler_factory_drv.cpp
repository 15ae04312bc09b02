#include "uiplugin/engine/opt_item_handler_factory_drv.h"
#include "uiplugin/engine/item_identity.h"
#include "uiplugin/engine/layout_handlers.h"
#include "uiplugin/engine/named_list_handlers.h"
#include "uiplugin/engine/paper_handlers.h"
#include "uiplugin/engine/relabeled_handlers.h"
#include "uiplugin/engine/setting_flag_handlers.h"

namespace moltr::ui {

namespace {

using Create = VORTAOptItemHandler* (*)(VORTAOptItemHandlerFactory*, POPTITEM, DWORD);

template <typename Handler>
VORTAOptItemHandler* Make(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId) {
    return new (factory->Heap()) Handler(factory, item, itemId);
}

struct ProductHandler {
    DWORD itemId;
    bool ownPagesOnly; // only when the options are shown on the plug-in's own pages
    Create create;
};

constexpr DWORD HelpId(DWORD helpIndex) {
    return helpIndex | kHelpIndexId;
}

constexpr ProductHandler kProductHandlers[] = {
    {6, true, Make<VORTAOptItemHandlerCOLORDlg>},
    {7, true, Make<VORTAOptItemHandlerDUPLEXDlg>},
    {8, true, Make<VORTAOptItemHandlerTRUETYPEFONT>},
    {10, true, Make<VORTAOptItemHandlerICMMETHOD>},
    {11, true, Make<VORTAOptItemHandlerICMINTENT>},
    {17, true, Make<VORTAOptItemHandlerPAGEORDER>},
    {HelpId(1039), true, Make<VORTAOptItemHandlerHALFTONE>},
    {HelpId(3350), true, Make<VORTAOptItemHandlerMEDIAOUTPUT>},
    {16, false, Make<VORTAOptItemHandlerNUP>},
    {HelpId(1034), false, Make<VORTAOptItemHandlerPRNOPTIMIZE>},
    {HelpId(30300), false, Make<VORTAOptItemHandlerGRXMODE>},
    {HelpId(30350), false, Make<VORTAOptItemHandlerCOMPRESSION>},
    {HelpId(31050), false, Make<VORTAOptItemHandlerENABLEPJL>},
    {HelpId(31100), false, Make<VORTAOptItemHandlerENABLELRGSIZES>},
    {HelpId(31150), false, Make<VORTAOptItemHandlerENABLE1200DPI>},
    {HelpId(31200), false, Make<VORTAOptItemHandlerXLPROTLEVEL>},
    {HelpId(31250), false, Make<VORTAOptItemHandlerRAMDISK>},
    {HelpId(31300), false, Make<VORTAOptItemHandlerCOMPACTFLASH>},
    {101, false, Make<VORTAOptItemHandlerQSCOMBOBOX>},
    {16100, false, Make<VORTAOptItemHandlerQSEDITBOX>},
    {1203, false, Make<VORTAOptItemHandlerPAPERSIZE>},
    {3102, false, Make<VORTAOptItemHandlerSCALEDOCONSIZE>},
    {17052, false, Make<VORTAOptItemHandlerCMCOMBOBOX>},
    {18100, false, Make<VORTAOptItemHandlerCMEDITBOX>},
    {2402, false, Make<VORTAOptItemHandlerWMCOMBOBOX>},
    {19202, false, Make<VORTAOptItemHandlerWMANGLE>},
};

} // namespace

VORTAOptItemHandler* VORTAOptItemHandlerFactoryDrv::CreateProduct(POPTITEM item, DWORD itemId) {
    for (const ProductHandler& product : kProductHandlers) {
        if (product.itemId == itemId &&
            (!product.ownPagesOnly || Environment().uiType == kUITypeOwnPages)) {
            return product.create(this, item, itemId);
        }
    }
    return nullptr;
}

// A failed product handler falls back to the generic one, and that to none: a callback that
// names the item later gets a default handler.
HRESULT VORTAOptItemHandlerFactoryDrv::RegisterItem(POPTITEM item) {
    if (item == nullptr) {
        return E_INVALIDARG;
    }
    const DWORD itemId = ItemId(*item);
    if (itemId == 0 || Find(itemId) != nullptr) {
        return S_FALSE;
    }
    DWORD stringId = 0;
    DWORD namedId = 0;
    if (Environment().uiType != kUITypeOwnPages &&
        ParseHashName(item->pName, &stringId, &namedId)) {
        if (stringId <= 0xFFFF) {
            if (LPWSTR name = Environment().resources->DuplicateString(stringId)) {
                item->pName = name;
            }
        }
        return S_FALSE;
    }
    VORTAOptItemHandler* handler = CreateProduct(item, itemId);
    if (handler == nullptr) {
        handler = CreateGeneric(item, itemId);
    }
    return handler != nullptr && File(itemId, handler) ? S_OK : S_FALSE;
}

void VORTAOptItemHandlerFactoryDrv::AfterFinish() {
    LinkSettingCheckBoxes(*this);
}

HRESULT CreateOptItemHandlerFactory(const FactoryEnvironment& environment,
                                    VORTAOptItemHandlerFactory** factory) {
    if (factory == nullptr) {
        return E_INVALIDARG;
    }
    *factory = nullptr;
    if (environment.heap == nullptr || environment.settings == nullptr ||
        environment.resources == nullptr) {
        return E_INVALIDARG;
    }
    *factory = new (environment.heap) VORTAOptItemHandlerFactoryDrv(environment);
    return *factory != nullptr ? S_OK : E_OUTOFMEMORY;
}

} // namespace moltr::ui
