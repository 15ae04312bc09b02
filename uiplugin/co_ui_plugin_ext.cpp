#include "uiplugin/co_ui_plugin_ext.h"

#include <prsht.h>
#include <uxtheme.h>
#include "common/model_family.h"
#include "common/windows_version.h"
#include "uiplugin/access_level.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/push_button_record.h"
#include "uiplugin/engine/relabel.h"
#include "uiplugin/form_assign_store.h"
#include "uiplugin/module_counts.h"
#include "uiplugin/oem_item_id.h"
#include "uiplugin/record_fields.h"
#include "uiplugin/opt_type_builder.h"
#include "uiplugin/page_tabs.h"
#include "uiplugin/system_module.h"
#ifndef _WIN32
#include "sim/option_item_views.h"
#endif

namespace moltr::ui {

namespace {

constexpr WORD kUseControlId = 0xFFFF;
constexpr WORD kHelpFromControlId = 0xFFFF;
constexpr WORD kNoHelp = 0xFFFE;
constexpr DWORD kStartOnOwnPage = 0x20;
constexpr UINT kHandCursor = 100;
constexpr UINT kHelpData = 100;
constexpr UINT kHelpDataVista = 101;
// Host items that stand for a setting the own pages show elsewhere.
constexpr DWORD kRememberedHelpIndices[] = {1019, 1025, 1027, 1032, 1037};

// Longest driver name of the family, terminator included.
constexpr int kDriverNameChars = 64;

// The resources object reports the driver name split before its PDL word; the family lists the
// whole names.
DWORD ModelClass(common::IDrvResources* resources) {
    LPCWSTR model = resources->GetModelName();
    LPCWSTR pdl = resources->GetPdlSuffix();
    if (model == nullptr) {
        return common::kUnknownModelClass;
    }
    const int length = lstrlenW(model) + (pdl != nullptr ? 1 + lstrlenW(pdl) : 0);
    if (length >= kDriverNameChars) {
        return common::kUnknownModelClass;
    }
    WCHAR name[kDriverNameChars];
    lstrcpyW(name, model);
    if (pdl != nullptr) {
        lstrcatW(name, L" ");
        lstrcatW(name, pdl);
    }
    for (const common::ModelFamilyEntry& entry : common::kModelFamily) {
        if (lstrcmpiW(name, entry.driverName) == 0) {
            return entry.modelClass;
        }
    }
    return common::kUnknownModelClass;
}

constexpr WCHAR kEngineProperty[] = L"VORTAUIDATA";
constexpr WCHAR kOriginalProcProperty[] = L"OrgDlgProc";
constexpr int kTabCaptionChars = 64;
constexpr UINT kTabIconSize = 16;

// The engine rides on its dialogs as a window property: the host's page keeps its own user data.
CoUIPluginExt* EngineOf(HWND window) {
    return static_cast<CoUIPluginExt*>(GetPropW(window, kEngineProperty));
}

void KeepEngine(HWND window, CoUIPluginExt* engine) {
    SetPropW(window, kEngineProperty, engine);
}

// The hand-cursor statics of the pages: plain windows with the resources' cursor.
LRESULT CALLBACK StaticHandProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

CoUIPluginExt::CoUIPluginExt() {
    AddLiveObject();
}

CoUIPluginExt::~CoUIPluginExt() {
    PublishTemplates(false);
    store::Close(&uipInfo_);
    store::Close(&features_);
    pageContext_.Release();
    if (tabImages_ != nullptr) {
        ImageList_Destroy(tabImages_);
    }
    if (themeModule_ != nullptr) {
        FreeLibrary(themeModule_);
    }
    delete factory_;
    for (IUnknown* held :
         {static_cast<IUnknown*>(resources_), static_cast<IUnknown*>(settings_),
          static_cast<IUnknown*>(printerSettings_), static_cast<IUnknown*>(driver_)}) {
        if (held != nullptr) {
            held->Release();
        }
    }
    RemoveLiveObject();
}

STDMETHODIMP CoUIPluginExt::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (!IsEqualIID(iid, IID_IUnknown)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CoUIPluginExt::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoUIPluginExt::Release() {
    const LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

HRESULT CoUIPluginExt::Initialise(DWORD sheetKind, POEMCUIPPARAM param, IPrintOemDriverUI* driver,
                                  common::IDrvSettings* settings) {
    if (param == nullptr || settings == nullptr || featureName_ != nullptr) {
        return E_FAIL;
    }
    sheetKind_ = sheetKind;
    param_ = param;
    featureName_ = sheetKind == kSheetPrinter ? L"PRINTERFEATURE" : L"DOCUMENTFEATURE";
    settings_ = settings;
    settings_->AddRef();
    driver_ = driver;
    if (driver_ != nullptr) {
        driver_->AddRef();
    }
    if (!common::RunsWindowsVersion(5, 0)) {
        themeModule_ = LoadSystemModule(L"UXTHEME.DLL");
        if (themeModule_ != nullptr) {
            enableThemeDialogTexture_ = GetProcAddress(themeModule_, "EnableThemeDialogTexture");
        }
    }
    if (store::OpenByHandle(param->hPrinter, L"UIPINFO", &uipInfo_) >= store::kClassError ||
        store::OpenByHandle(param->hPrinter, featureName_, &features_) >= store::kClassError ||
        FAILED(common::CreatePrinterResources(&resources_, param->hPrinter, nullptr))) {
        return E_FAIL;
    }
    if (!ReadUipInfo()) {
        return E_FAIL;
    }
    // Known before any page is built, so that the printer sheet of UI type 1 stores too.
    accessLevel_ = ComputeAccessLevel(param->pPrinterName, resources_->GetSettingsFilePath());
    return S_OK;
}

bool CoUIPluginExt::ReadUipInfo() {
    DWORD forced = 0;
    LPCWSTR settingsFile = resources_->GetSettingsFilePath();
    if (settingsFile != nullptr && settingsFile[0] != 0) {
        forced = GetPrivateProfileIntW(
            L"UIPSETTINGS", sheetKind_ == kSheetPrinter ? L"UIPTYPEPRINTER" : L"UIPTYPEDOCUMENT", 0,
            settingsFile);
    }
    store::StructureHandle info = nullptr;
    while (store::GetStructure(uipInfo_, L"UIPINFO", &info, nullptr) == store::kClassSuccess) {
        if (FieldNumber(info, L"UIPMODE") != sheetKind_) {
            continue;
        }
        uiType_ = forced != 0 ? forced : static_cast<DWORD>(FieldNumber(info, L"UIPTYPE"));
        pdl_ = static_cast<DWORD>(FieldNumber(info, L"UIPPDL"));
        if (uiType_ != kUITypeOwnPages) {
            return true;
        }
        store::StructureHandle sheet = nullptr;
        while (sheetCount_ < kMaxSheets &&
               store::GetStructure(uipInfo_, L"SHEET", &sheet, nullptr) == store::kClassSuccess) {
            Sheet& entry = sheets_[sheetCount_++];
            entry.dialogId = static_cast<DWORD>(FieldNumber(sheet, L"DIALOGID"));
            entry.iconId = static_cast<DWORD>(FieldNumber(sheet, L"ICONID"));
            LPCWSTR caption = FieldText(sheet, L"CAPTION");
            lstrcpynW(entry.caption, caption != nullptr ? caption : L"",
                      static_cast<int>(std::size(entry.caption)));
        }
        return true;
    }
    return true;
}

DWORD CoUIPluginExt::CountFeatures() {
    store::StructureHandle feature = nullptr;
    if (store::GetStructure(features_, featureName_, &feature, nullptr) != store::kClassSuccess) {
        return 0;
    }
    const DWORD count = store::GetRecordCount(feature);
    // Opens the structure's window again, so that the building walk starts at its first record.
    store::Close(&features_);
    store::OpenByHandle(param_->hPrinter, featureName_, &features_);
    return count;
}

HRESULT CoUIPluginExt::ItemStep(POEMCUIPPARAM param) {
    if (param == nullptr || features_ == nullptr) {
        return E_FAIL;
    }
    param_ = param;
    HRESULT answer = S_OK;
    if (param->pOEMOptItems == nullptr) {
        param->cOEMOptItems = CountFeatures();
        answer = param->cOEMOptItems == 0 ? E_NOTIMPL : S_OK;
    } else {
        answer = BuildItems(param);
    }
    RefreshHelpFile();
    return answer;
}

bool CoUIPluginExt::BuildItem(store::StructureHandle feature, OPTITEM& item) {
    const ItemBuildContext context{param_->hOEMHeap, resources_, features_, this};
    const DWORD dmPubId = static_cast<DWORD>(FieldNumber(feature, L"DMPUBID"));
    const DWORD controlId = static_cast<DWORD>(FieldNumber(feature, L"CONTROLID"));
    const DWORD itemId = dmPubId == kUseControlId ? controlId : dmPubId;
    if (!EncodeOemItemId(itemId, item)) {
        return false; // never stored cut short: it would be known as another item
    }
    item.cbSize = sizeof(OPTITEM);
    item.Level = static_cast<BYTE>(FieldNumber(feature, L"PROPLEVEL"));
    item.Flags = static_cast<DWORD>(FieldNumber(feature, L"PROPVISIBLE"));
    const DWORD helpId = static_cast<DWORD>(FieldNumber(feature, L"HELPID"));
    item.HelpIndex = helpId;
    if (uiType_ == kUITypeHostPage && helpId == kHelpFromControlId) {
        item.HelpIndex = controlId;
    } else if (uiType_ == kUITypeHostPage && helpId == kNoHelp) {
        item.HelpIndex = 0;
    }
    item.pName = ItemText(context, static_cast<DWORD>(FieldNumber(feature, L"CONTROLTEXTID")),
                          FieldText(feature, L"CONTROLTEXT"));
    if (item.pName == nullptr) {
        return false;
    }
    if (uiType_ == kUITypeHostPage) {
        RemoveTrailingColon(item.pName);
    }
    const BYTE controlType = static_cast<BYTE>(FieldNumber(feature, L"CONTROLTYPE"));
    if (controlType == kControlTypeHeader) {
        item.Sel = static_cast<LONG>(FieldNumber(feature, L"ICONID"));
    } else if (!BuildOptType(context, controlType, item)) {
        return false;
    }
    item.Flags |= OPTIF_CALLBACK | OPTIF_COLLAPSE;
    return true;
}

HRESULT CoUIPluginExt::BuildItems(POEMCUIPPARAM param) {
    store::StructureHandle feature = nullptr;
    for (DWORD index = 0; index < param->cOEMOptItems; ++index) {
        if (store::GetStructure(features_, featureName_, &feature, nullptr) !=
                store::kClassSuccess ||
            !BuildItem(feature, param->pOEMOptItems[index])) {
            return E_FAIL;
        }
    }
    param->pOEMUserData = this;
    param->OEMCUIPCallback = Callback;
    if (sheetKind_ == kSheetPrinter && printerSettings_ == nullptr &&
        FAILED(
            common::CreateDrvSettings(common::kModePrinter, param->hPrinter, &printerSettings_))) {
        printerSettings_ = nullptr;
        return E_FAIL;
    }
    if (FAILED(SelectFromSettings(param))) {
        return E_FAIL;
    }
    if (uiType_ == kUITypeOwnPages) {
        RememberHostHelpIndices(param);
    }
    const HRESULT answer = RegisterItems(param);
    if (FAILED(answer)) {
        return answer;
    }
    if (uiType_ == kUITypeOwnPages) {
        HideForOwnPages(param);
    }
    return S_OK;
}

// The items open on what the sheet's settings hold: the document's private devmode, or the
// printer settings.
HRESULT CoUIPluginExt::SelectFromSettings(POEMCUIPPARAM param) {
    if (param->cOEMOptItems == 0) {
        return S_OK;
    }
    if (sheetKind_ == kSheetPrinter) {
        return printerSettings_->ItemsFromSettings(param->pOEMOptItems, param->cOEMOptItems,
                                                   nullptr);
    }
    return param->pOEMDM != nullptr ? settings_->ItemsFromSettings(
                                          param->pOEMOptItems, param->cOEMOptItems, param->pOEMDM)
                                    : S_OK;
}

void CoUIPluginExt::RememberHostHelpIndices(const POEMCUIPPARAM param) {
    for (DWORD i = 0; i < param->cDrvOptItems && param->pDrvOptItems != nullptr; ++i) {
        const DWORD help = param->pDrvOptItems[i].HelpIndex;
        bool wanted = false;
        for (DWORD remembered : kRememberedHelpIndices) {
            wanted = wanted || help == remembered;
        }
        for (DWORD k = 0; k < hostHelpIndexCount_; ++k) {
            wanted = wanted && hostHelpIndices_[k] != help;
        }
        if (wanted && hostHelpIndexCount_ < kMaxHostHelpIndices) {
            hostHelpIndices_[hostHelpIndexCount_++] = help;
        }
    }
}

HRESULT CoUIPluginExt::RegisterItems(POEMCUIPPARAM param) {
    if (factory_ == nullptr) {
        FactoryEnvironment environment = {};
        environment.heap = param->hOEMHeap;
        environment.settings = sheetKind_ == kSheetPrinter ? printerSettings_ : settings_;
        environment.resources = resources_;
        environment.driverUI = driver_;
        environment.param = param;
        environment.sheetKind = sheetKind_;
        environment.uiType = uiType_;
        environment.pdl = pdl_;
        environment.modelClass = ModelClass(resources_);
        environment.instance = static_cast<HINSTANCE>(param->hModule);
        environment.popupDialogProc = PopupProc;
        environment.pageDialogProc = PageProc;
        environment.engine = reinterpret_cast<LPARAM>(this);
        environment.hostHelpIndices = hostHelpIndices_;
        environment.hostHelpIndexCount = hostHelpIndexCount_;
        if (FAILED(CreateOptItemHandlerFactory(environment, &factory_))) {
            factory_ = nullptr;
            return E_FAIL;
        }
    }
    for (DWORD i = 0; i < param->cDrvOptItems && param->pDrvOptItems != nullptr; ++i) {
        factory_->RegisterItem(&param->pDrvOptItems[i]);
    }
    for (DWORD i = 0; i < param->cOEMOptItems; ++i) {
        factory_->RegisterItem(&param->pOEMOptItems[i]);
    }
    if (FAILED(factory_->FinishRegistration())) {
        return E_FAIL;
    }
    factory_->AfterFinish();
    return S_OK;
}

// One item stays visible so that the host keeps its tree-view page, which the first own page
// then takes over.
void CoUIPluginExt::HideForOwnPages(POEMCUIPPARAM param) {
    POPTITEM host = param->pDrvOptItems;
    for (DWORD i = 0; i < param->cDrvOptItems && host != nullptr; ++i) {
        host[i].Flags |= OPTIF_HIDE;
    }
    for (DWORD i = 0; i < param->cOEMOptItems; ++i) {
        param->pOEMOptItems[i].Flags |= OPTIF_HIDE;
    }
    if (sheetKind_ == kSheetPrinter && param->cOEMOptItems > 0) {
        param->pOEMOptItems[0].Flags &= ~static_cast<DWORD>(OPTIF_HIDE);
        if (param->cDrvOptItems > 0 && host != nullptr) {
            host[0].Flags &= ~static_cast<DWORD>(OPTIF_HIDE);
        }
        return;
    }
    for (DWORD i = 0; i < param->cDrvOptItems && host != nullptr; ++i) {
        if (factory_->ItemId(host[i]) != 0) {
            host[i].Flags &= ~static_cast<DWORD>(OPTIF_HIDE);
            return;
        }
    }
}

void CoUIPluginExt::RefreshHelpFile() {
    if (resources_ == nullptr) {
        return;
    }
    DWORD size = 0;
    const void* data = resources_->GetRawResource(
        common::RunsWindowsVersion(6, 0) ? kHelpDataVista : kHelpData, &size);
    LPCWSTR path = resources_->GetHelpFilePath();
    if (data == nullptr || size == 0 || path == nullptr || path[0] == 0) {
        return;
    }
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, data, size, &written, nullptr);
    CloseHandle(file);
}

HRESULT CoUIPluginExt::PageStep(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (info == nullptr || factory_ == nullptr) {
        return E_NOTIMPL;
    }
    if (uiType_ != kUITypeOwnPages) {
        factory_->InitialState();
        return E_NOTIMPL;
    }
    if (info->Reason != PROPSHEETUI_REASON_INIT) {
        return S_OK;
    }
    // The class outlives the module in the process: a reloaded plug-in finds it registered.
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = StaticHandProc;
    windowClass.lpszClassName = L"StaticHand";
    windowClass.hCursor = resources_->GetCursor(kHandCursor);
    windowClass.hInstance = static_cast<HINSTANCE>(param_->hModule);
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return E_FAIL;
    }
    const auto* pageParam = reinterpret_cast<const OEMUIPSPARAM*>(info->lParamInit);
    startPage_ = pageParam != nullptr && (pageParam->dwFlags & kStartOnOwnPage) != 0;
    (void)lParam;
    factory_->InitialState();
    return AddOwnPages(info);
}

// On the host build the simulation learns which resource each own page's template came from, so
// that the tools driving a sheet can name a page by its dialog id; nothing of this exists on
// Windows.
void CoUIPluginExt::PublishTemplates(bool publish) {
#ifndef _WIN32
    if (!publish) {
        sim::WithdrawOptionItems(this);
        return;
    }
    sim::PublishOptionItems(this, [this] {
        sim::OptionItemsView view;
        view.uiType = uiType_;
        for (DWORD i = 0; i < sheetCount_; ++i) {
            view.templates.push_back(
                {resources_->GetDialogTemplate(sheets_[i].dialogId, 1), sheets_[i].dialogId});
        }
        return view;
    });
#else
    (void)publish;
#endif
}

HRESULT CoUIPluginExt::AddOwnPages(PPROPSHEETUI_INFO info) {
    PublishTemplates(true);
    // Windows 2000 knows neither the longer page structure nor activation contexts.
    const bool shortForm = common::RunsWindowsVersion(5, 0);
    HANDLE context = shortForm ? nullptr
                               : pageContext_.Get(resources_->GetUIPluginPath(),
                                                  resources_->GetResourceModulePath());
    bool first = true;
    for (DWORD index = 1; index < sheetCount_ && info->pfnComPropSheet != nullptr; ++index) {
        const DLGTEMPLATE* dialog = resources_->GetDialogTemplate(sheets_[index].dialogId, 1);
        if (dialog == nullptr) {
            continue; // a page without its template is left out
        }
        PROPSHEETPAGEW page = {};
        page.dwSize = shortForm ? PROPSHEETPAGEW_V2_SIZE : sizeof(PROPSHEETPAGEW);
        page.dwFlags = PSP_DLGINDIRECT | PSP_HASHELP | (first ? PSP_PREMATURE : 0);
        if (context != nullptr) {
            page.dwFlags |= PSP_USEFUSIONCONTEXT;
            page.hActCtx = context;
        }
        page.hInstance = static_cast<HINSTANCE>(param_->hModule);
        page.pResource = dialog;
        page.pfnDlgProc = PageProc;
        page.lParam = reinterpret_cast<LPARAM>(this);
        const LONG_PTR added = info->pfnComPropSheet(
            info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page), 0);
        if (added != 0 && first &&
            (startPage_ || (sheetKind_ == kSheetPrinter && accessLevel_ == kAccessNone))) {
            info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_SET_HSTARTPAGE, added, 0);
        }
        first = first && added == 0;
    }
    return S_OK;
}

LONG CoUIPluginExt::Apply(PCPSUICBPARAM callback) {
    // Edit controls give up their text when they lose the focus.
    if (callback->hDlg != nullptr) {
        HWND sheet = GetParent(callback->hDlg);
        SendMessageW(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(sheet, IDOK)), TRUE);
    }
    factory_->Commit(FALSE);
    POEMCUIPPARAM param = param_;
    if (sheetKind_ == kSheetDocument && param->pOEMDM != nullptr) {
        settings_->SettingsFromItems(param->pOEMOptItems, param->cOEMOptItems, param->pOEMDM,
                                     param->hPrinter);
    } else if (sheetKind_ == kSheetPrinter && accessLevel_ == kAccessFull &&
               printerSettings_ != nullptr) {
        // The symbols follow the assignment the constraints committed, before the save.
        uiplugin::StoreFormAssignSymbols(param->hPrinter, resources_->GetModelName(),
                                         printerSettings_);
        printerSettings_->SettingsFromItems(param->pOEMOptItems, param->cOEMOptItems, nullptr,
                                            param->hPrinter);
    }
    return CPSUICB_ACTION_ITEMS_APPLIED;
}

LONG APIENTRY CoUIPluginExt::Callback(PCPSUICBPARAM callback, POEMCUIPPARAM param) {
    auto* engine = param != nullptr ? static_cast<CoUIPluginExt*>(param->pOEMUserData) : nullptr;
    if (engine == nullptr || engine->factory_ == nullptr || callback == nullptr) {
        return CPSUICB_ACTION_NONE;
    }
    engine->AddRef();
    if (callback->Reason == CPSUICB_REASON_SETACTIVE && engine->uiType_ == kUITypeOwnPages) {
        engine->TakeOverHostPage(callback->hDlg);
    }
    const LONG answer = callback->Reason == CPSUICB_REASON_APPLYNOW
                            ? engine->Apply(callback)
                            : engine->factory_->Callback(callback);
    engine->Release();
    return answer;
}

// The host's tree-view page becomes sheet 0: its controls are rebuilt from the sheet's template
// and its dialog procedure runs after the engine's. A sheet whose frame carries the original
// procedure already was taken over, by this engine or another.
void CoUIPluginExt::TakeOverHostPage(HWND page) {
    HWND sheet = page != nullptr ? GetParent(page) : nullptr;
    if (sheet == nullptr || sheetCount_ == 0 || GetPropW(sheet, kOriginalProcProperty) != nullptr) {
        return;
    }
    resources_->CreateDialogControls(sheets_[0].dialogId, page, 1);
    KeepEngine(page, this);
    factory_->AttachDialog(page);
    const LONG_PTR original = GetWindowLongPtrW(page, DWLP_DLGPROC);
    SetWindowLongPtrW(page, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&HostPageProc));
    SetPropW(page, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
    SetPropW(sheet, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
    OwnPageStarts(page);
    const int hostTab = HostTabIndex(sheet, page, sheetCount_);
    LabelTabs(sheet, hostTab);
    if (sheetKind_ == kSheetPrinter && accessLevel_ == kAccessNone && sheetCount_ > 1) {
        // Without printer access the sheet opens on the first own page, as a click on its tab.
        HWND tabs = PropSheet_GetTabControl(sheet);
        RECT area = {};
        if (SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(hostTab + 1),
                         reinterpret_cast<LPARAM>(&area))) {
            PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON,
                         MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2));
        }
    }
}

// The host page's tab takes sheet 0's caption; each sheet's icon goes to its tab.
void CoUIPluginExt::LabelTabs(HWND sheet, int hostTab) {
    HWND tabs = PropSheet_GetTabControl(sheet);
    WCHAR caption[kTabCaptionChars] = {};
    TCITEMW item = {};
    if (SUCCEEDED(resources_->LoadString(sheets_[0].dialogId, caption, kTabCaptionChars)) &&
        caption[0] != 0) {
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(hostTab),
                     reinterpret_cast<LPARAM>(&item));
    }
    if (tabImages_ == nullptr) {
        tabImages_ = ImageList_Create(kTabIconSize, kTabIconSize, ILC_COLOR32 | ILC_MASK, 0,
                                      static_cast<int>(sheetCount_));
    }
    if (tabImages_ == nullptr) {
        return;
    }
    SendMessageW(tabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(tabImages_));
    for (DWORD i = 0; i < sheetCount_; ++i) {
        HICON icon =
            sheets_[i].iconId != 0 ? resources_->GetIcon(sheets_[i].iconId, kTabIconSize) : nullptr;
        const int image = icon != nullptr ? ImageList_AddIcon(tabImages_, icon) : -1;
        if (image >= 0) {
            item = {};
            item.mask = TCIF_IMAGE;
            item.iImage = image;
            SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(hostTab + static_cast<int>(i)),
                         reinterpret_cast<LPARAM>(&item));
        }
    }
}

// The own pages draw the tab's texture behind their controls, as the host's pages do.
void CoUIPluginExt::OwnPageStarts(HWND page) {
    using TextureProc = HRESULT(WINAPI*)(HWND, DWORD);
    if (enableThemeDialogTexture_ != nullptr) {
        reinterpret_cast<TextureProc>(reinterpret_cast<void (*)()>(enableThemeDialogTexture_))(
            page, ETDT_ENABLETAB);
    }
}

// The own pages follow the host's page on the tabs, in sheet order; the host's page is sheet 0.
void CoUIPluginExt::OpenPageHelp(HWND page) {
    HWND sheet = GetParent(page);
    const int tab = PropSheet_HwndToIndex(sheet, page);
    const int hostTab = HostTabIndex(sheet, nullptr, sheetCount_);
    const int index = tab - hostTab;
    if (tab < 0 || index < 0 || static_cast<DWORD>(index) >= sheetCount_) {
        return;
    }
    help_.Open(page, resources_->GetHelpFilePath(), sheets_[index].dialogId);
}

// Both kinds of dialog: WM_INITDIALOG brings the engine, every other message goes to the factory,
// which answers 1 when it handled it; own pages then open help and start their texture.
INT_PTR CoUIPluginExt::DialogMessage(CoUIPluginExt* arriving, HWND window, UINT message,
                                     WPARAM wParam, LPARAM lParam, bool ownPage) {
    if (message == WM_INITDIALOG) {
        if (arriving != nullptr && arriving->factory_ != nullptr) {
            KeepEngine(window, arriving);
            arriving->factory_->AttachDialog(window);
            if (ownPage) {
                arriving->OwnPageStarts(window);
            }
        }
        return TRUE;
    }
    CoUIPluginExt* engine = EngineOf(window);
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kEngineProperty);
    }
    if (engine == nullptr || engine->factory_ == nullptr) {
        return FALSE;
    }
    engine->AddRef();
    INT_PTR handled = engine->factory_->DialogMessage(window, message, wParam, lParam) == 1;
    const auto* notice = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam) : nullptr;
    if (!handled && ownPage && notice != nullptr && notice->code == PSN_HELP) {
        engine->OpenPageHelp(window);
        handled = TRUE;
    }
    engine->Release();
    return handled;
}

INT_PTR CALLBACK CoUIPluginExt::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* page =
        message == WM_INITDIALOG ? reinterpret_cast<const PROPSHEETPAGEW*>(lParam) : nullptr;
    auto* engine = page != nullptr ? reinterpret_cast<CoUIPluginExt*>(page->lParam) : nullptr;
    return DialogMessage(engine, window, message, wParam, lParam, true);
}

// The taken-over host page: the engine's page logic first, the host's procedure for the rest.
INT_PTR CALLBACK CoUIPluginExt::HostPageProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    const auto original = reinterpret_cast<DLGPROC>(GetPropW(window, kOriginalProcProperty));
    const INT_PTR handled = DialogMessage(nullptr, window, message, wParam, lParam, true);
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kEngineProperty);
        RemovePropW(window, kOriginalProcProperty);
    }
    return handled == 0 && original != nullptr ? original(window, message, wParam, lParam)
                                               : handled;
}

INT_PTR CALLBACK CoUIPluginExt::PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* record =
        message == WM_INITDIALOG ? reinterpret_cast<const PushButtonRecord*>(lParam) : nullptr;
    auto* engine = record != nullptr ? static_cast<CoUIPluginExt*>(record->engine) : nullptr;
    return DialogMessage(engine, window, message, wParam, lParam, false);
}

} // namespace moltr::ui
