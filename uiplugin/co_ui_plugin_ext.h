#pragma once
// CoUIPluginExt: the engine behind CommonUIProp and Document/DevicePropertySheets. It turns the
// printer's feature records into the plug-in's own option items, shows them in the host's tree view
// (UI type 1) or on its own dialog pages (UI type 2), routes the sheet's callbacks and dialog
// messages to the option-item handler factory, and commits the values when the user applies.
#include <windows.h>
#include <compstui.h>
#include <commctrl.h>
#include "common/context_help.h"
#include "common/drv_settings.h"
#include "common/resources.h"
#include "prcomoem.h"
#include "store/xpr.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/page_activation_context.h"

namespace moltr::ui {

class CoUIPluginExt final : public IUnknown {
public:
    // One page of the sheet, from a SHEET record.
    struct Sheet {
        DWORD dialogId;
        WCHAR caption[64];
        DWORD iconId;
    };
    static constexpr DWORD kMaxSheets = 16;
    static constexpr DWORD kMaxHostHelpIndices = 8;

    CoUIPluginExt();
    CoUIPluginExt(const CoUIPluginExt&) = delete;
    CoUIPluginExt& operator=(const CoUIPluginExt&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // Once per object: `sheetKind` 1 document, 2 printer; the interfaces are referenced. E_FAIL
    // when the printer's descriptions or resources cannot be opened.
    HRESULT Initialise(DWORD sheetKind, POEMCUIPPARAM param, IPrintOemDriverUI* driver,
                       common::IDrvSettings* settings);
    // The body of CommonUIProp: the counting call, then the building call.
    HRESULT ItemStep(POEMCUIPPARAM param);
    // The body of Document/DevicePropertySheets.
    HRESULT PageStep(PPROPSHEETUI_INFO info, LPARAM lParam);

    DWORD UiType() const { return uiType_; }
    DWORD AccessLevel() const { return accessLevel_; }
    DWORD SheetCount() const { return sheetCount_; }
    const Sheet& SheetAt(DWORD index) const { return sheets_[index]; }

private:
    ~CoUIPluginExt();

    bool ReadUipInfo();
    DWORD CountFeatures();
    HRESULT BuildItems(POEMCUIPPARAM param);
    bool BuildItem(store::StructureHandle feature, OPTITEM& item);
    HRESULT SelectFromSettings(POEMCUIPPARAM param);
    void RememberHostHelpIndices(const POEMCUIPPARAM param);
    HRESULT RegisterItems(POEMCUIPPARAM param);
    void HideForOwnPages(POEMCUIPPARAM param);
    void RefreshHelpFile();
    HRESULT AddOwnPages(PPROPSHEETUI_INFO info);
    void PublishTemplates(bool publish);
    LONG Apply(PCPSUICBPARAM callback);
    void OwnPageStarts(HWND page);
    void TakeOverHostPage(HWND page);
    void LabelTabs(HWND sheet, int hostTab);
    void OpenPageHelp(HWND page);

    static LONG APIENTRY Callback(PCPSUICBPARAM callback, POEMCUIPPARAM param);
    static INT_PTR DialogMessage(CoUIPluginExt* arriving, HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam, bool ownPage);
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK HostPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    LONG references_ = 1;
    HMODULE themeModule_ = nullptr;
    FARPROC enableThemeDialogTexture_ = nullptr;
    DWORD uiType_ = kUITypeHostPage;
    DWORD sheetKind_ = 0;
    DWORD pdl_ = 0;
    DWORD hostHelpIndices_[kMaxHostHelpIndices] = {};
    DWORD hostHelpIndexCount_ = 0;
    DWORD accessLevel_ = 0;
    bool startPage_ = false;
    PageActivationContext pageContext_;
    DWORD sheetCount_ = 0;
    Sheet sheets_[kMaxSheets] = {};
    HIMAGELIST tabImages_ = nullptr;
    LPCWSTR featureName_ = nullptr;
    POEMCUIPPARAM param_ = nullptr;
    store::StructureRecord* uipInfo_ = nullptr;
    store::StructureRecord* features_ = nullptr;
    IPrintOemDriverUI* driver_ = nullptr;
    common::IDrvSettings* settings_ = nullptr;
    common::IDrvSettings* printerSettings_ = nullptr;
    VORTAOptItemHandlerFactory* factory_ = nullptr;
    common::IDrvResources* resources_ = nullptr;
    common::ContextHelp help_;
};

} // namespace moltr::ui
