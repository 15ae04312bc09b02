#pragma once
// CoUIPlugin: the UI plug-in object that the universal driver's user interface drives through
// IPrintOemUI2. A generic shell: each method offers the call to its UIPluginHooks entry first.
#include <windows.h>
#include "common/drv_settings.h"
#include "prcomoem.h"
#include "uiplugin/ui_plugin_hooks.h"

namespace moltr::ui {

class CoUIPluginExt;

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
inline constexpr CLSID CLSID_OEMUI = {
    0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {91723892-45D2-48E2-9EC9-562379DAF992}
inline constexpr CLSID CLSID_OEMPTPROVIDER = {
    0x91723892, 0x45d2, 0x48e2, {0x9e, 0xc9, 0x56, 0x23, 0x79, 0xda, 0xf9, 0x92}};

class CoUIPlugin final : public IPrintOemUI2 {
public:
    // Starts with no reference; `hooks` is the filled override table.
    explicit CoUIPlugin(const UIPluginHooks& hooks);
    CoUIPlugin(const CoUIPlugin&) = delete;
    CoUIPlugin& operator=(const CoUIPlugin&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(GetInfo)(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override;
    STDMETHOD(DevMode)(DWORD mode, POEMDMPARAM param) override;

    STDMETHOD(PublishDriverInterface)(IUnknown* driver) override;
    STDMETHOD(CommonUIProp)(DWORD mode, POEMCUIPPARAM param) override;
    STDMETHOD(DocumentPropertySheets)(PPROPSHEETUI_INFO info, LPARAM lParam) override;
    STDMETHOD(DevicePropertySheets)(PPROPSHEETUI_INFO info, LPARAM lParam) override;
    STDMETHOD(DevQueryPrintEx)
    (POEMUIOBJ uiObject, PDEVQUERYPRINT_INFO info, PDEVMODEW devmode,
     PVOID privateDevMode) override;
    STDMETHOD(DeviceCapabilities)
    (POEMUIOBJ uiObject, HANDLE printer, PWSTR deviceName, WORD capability, PVOID output,
     PDEVMODEW devmode, PVOID privateDevMode, DWORD old, DWORD* result) override;
    STDMETHOD(UpgradePrinter)(DWORD level, PBYTE upgradeInfo) override;
    STDMETHOD(PrinterEvent)(PWSTR printerName, INT event, DWORD flags, LPARAM lParam) override;
    STDMETHOD(DriverEvent)(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM lParam) override;
    STDMETHOD(QueryColorProfile)
    (HANDLE printer, POEMUIOBJ uiObject, PDEVMODEW devmode, PVOID privateDevMode, ULONG queryMode,
     VOID* profile, ULONG* profileSize, FLONG* profileFlags) override;
    STDMETHOD(FontInstallerDlgProc)
    (HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    STDMETHOD(UpdateExternalFonts)(HANDLE printer, HANDLE heap, PWSTR cartridges) override;

    STDMETHOD(QueryJobAttributes)
    (HANDLE printer, PDEVMODEW devmode, DWORD level, LPBYTE attributeInfo) override;
    STDMETHOD(HideStandardUI)(DWORD mode) override;
    STDMETHOD(DocumentEvent)
    (HANDLE printer, HDC dc, INT escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out,
     PINT result) override;

private:
    ~CoUIPlugin();

    HRESULT CreateSettings(HANDLE printer);
    HRESULT CreateEngine(DWORD mode, POEMCUIPPARAM param);
    HRESULT PropertySheets(PropertySheetsHook hook, PPROPSHEETUI_INFO info, LPARAM lParam);

    LONG references_ = 0;
    UIPluginHooks hooks_;
    IPrintOemDriverUI* driver_ = nullptr;
    common::IDrvSettings* settings_ = nullptr;
    CoUIPluginExt* engine_ = nullptr; // the property sheets' engine, from the first CommonUIProp
};

} // namespace moltr::ui
