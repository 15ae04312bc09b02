#include "uiplugin/engine/opt_item_handler_factory_drv.h"
#include <iterator>
#include "uiplugin/engine/constraint_colorlegacy.h"
#include "uiplugin/engine/constraint_configure.h"
#include "uiplugin/engine/constraint_cpsui.h"
#include "uiplugin/engine/constraint_cpsuiconfigure.h"
#include "uiplugin/engine/constraint_jobretention.h"
#include "uiplugin/engine/constraint_name.h"
#include "uiplugin/engine/constraint_quicksets.h"
#include "uiplugin/engine/custom_size_list.h"
#include "uiplugin/engine/item_identity.h"
#include "uiplugin/engine/layout_handlers.h"
#include "uiplugin/engine/named_list_handlers.h"
#include "uiplugin/engine/paper_handlers.h"
#include "uiplugin/engine/relabeled_handlers.h"
#include "uiplugin/engine/setting_flag_handlers.h"
#include "uiplugin/engine/watermark_list_handler.h"

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

using CreateConstraint = VORTAOptItemConstraint* (*)(VORTAOptItemHandlerFactory*);

template <typename Constraint>
VORTAOptItemConstraint* MakeConstraint(VORTAOptItemHandlerFactory* factory) {
    return new (factory->Heap()) Constraint(factory);
}

// Model classes for which a constraint is made; none listed: every model.
constexpr DWORD kModelClassesMax = 12;

struct ConstraintRow {
    DWORD sheetKind;
    DWORD modelClasses[kModelClassesMax];
    CreateConstraint create;
};

// In the order they hear of a change. The rows still to come stand as comments in their places.
constexpr ConstraintRow kConstraints[] = {
    // MAIN, LAYOUT and ADVANCED: document sheet, every model.
    {kSheetDocument, {1, 2, 3}, MakeConstraint<VORTAOptItemConstraintCOLORLEGACY>},
    // COLOR: document sheet, models 4-7, 11 and 13-16.
    {kSheetDocument, {4, 6, 7, 13, 15, 16}, MakeConstraint<VORTAOptItemConstraintJOBRETENTION>},
    {kSheetDocument, {}, MakeConstraint<VORTAOptItemConstraintQUICKSETS>},
    {kSheetDocument, {}, MakeConstraint<VORTAOptItemConstraintQUICKSETSNAME>},
    // CMS: document sheet, every model.
    {kSheetDocument, {}, MakeConstraint<VORTAOptItemConstraintCMSNAME>},
    // WMK: document sheet, every model.
    {kSheetDocument, {}, MakeConstraint<VORTAOptItemConstraintCPSUI>},
    // FORMASSIGN: printer sheet, every model.
    {kSheetPrinter, {}, MakeConstraint<VORTAOptItemConstraintCONFIGURE>},
    {kSheetPrinter, {}, MakeConstraint<VORTAOptItemConstraintCPSUICONFIGURE>},
};

bool RowApplies(const ConstraintRow& row, DWORD sheetKind, DWORD modelClass) {
    return row.sheetKind == sheetKind &&
           (row.modelClasses[0] == 0 || (modelClass != 0 && IsOneOf(modelClass, row.modelClasses)));
}

} // namespace

VORTAOptItemHandlerFactoryDrv::~VORTAOptItemHandlerFactoryDrv() {
    for (DWORD i = 0; i < constraintCount_; ++i) {
        delete constraints_[i];
    }
    if (constraints_ != nullptr) {
        HeapFree(Heap(), 0, constraints_);
    }
}

HRESULT VORTAOptItemHandlerFactoryDrv::FinishRegistration() {
    const HRESULT created = constraints_ == nullptr ? CreateConstraints() : S_OK;
    return FAILED(created) ? created : VORTAOptItemHandlerFactory::FinishRegistration();
}

HRESULT VORTAOptItemHandlerFactoryDrv::CreateConstraints() {
    constraints_ = static_cast<VORTAOptItemConstraint**>(HeapAlloc(
        Heap(), HEAP_ZERO_MEMORY, std::size(kConstraints) * sizeof(VORTAOptItemConstraint*)));
    if (constraints_ == nullptr) {
        return E_OUTOFMEMORY;
    }
    const FactoryEnvironment& environment = Environment();
    for (const ConstraintRow& row : kConstraints) {
        if (!RowApplies(row, environment.sheetKind, environment.modelClass)) {
            continue;
        }
        VORTAOptItemConstraint* constraint = row.create(this);
        if (constraint == nullptr) {
            return E_OUTOFMEMORY;
        }
        constraints_[constraintCount_++] = constraint;
    }
    return S_OK;
}

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
    LoadCustomSizeLists(*this);
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
