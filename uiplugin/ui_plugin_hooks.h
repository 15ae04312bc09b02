#pragma once
// UIPluginHooks: the override table of the UI plug-in's generic shell. Each entry is offered its
// method's call first; the shell's own behaviour runs when the entry is empty or declines with
// E_NOTIMPL or E_PENDING. Entries receive the host's arguments in the host's order.
#include <windows.h>
#include <cstddef>
#include "common/drv_settings.h"
#include "prcomoem.h"

namespace moltr::ui {

// Whether an entry's answer leaves the call to the shell's own behaviour.
inline bool Declined(HRESULT result) {
    return result == E_NOTIMPL || result == E_PENDING;
}

struct UIPluginHooks;

using DevModeHook = HRESULT (*)(DWORD mode, POEMDMPARAM param);
using CommonUIPropHook = HRESULT (*)(DWORD mode, POEMCUIPPARAM param);
using PropertySheetsHook = HRESULT (*)(PPROPSHEETUI_INFO info, LPARAM lParam);
using PrinterEventHook = HRESULT (*)(PWSTR printerName, INT event, DWORD flags, LPARAM lParam);
using QueryColorProfileHook = HRESULT (*)(HANDLE printer, POEMUIOBJ uiObject, PDEVMODEW devmode,
                                          PVOID privateDevMode, ULONG queryMode, VOID* profile,
                                          ULONG* profileSize, FLONG* profileFlags,
                                          common::IDrvSettings* settings);
using DeviceCapabilitiesHook = HRESULT (*)(POEMUIOBJ uiObject, HANDLE printer, PWSTR deviceName,
                                           WORD capability, PVOID output, PDEVMODEW devmode,
                                           PVOID privateDevMode, DWORD old, DWORD* result,
                                           common::IDrvSettings* settings);
using DevQueryPrintExHook = HRESULT (*)(POEMUIOBJ uiObject, PDEVQUERYPRINT_INFO info,
                                        PDEVMODEW devmode, PVOID privateDevMode);
using DriverEventHook = HRESULT (*)(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM lParam);
using FontInstallerDlgProcHook = HRESULT (*)(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
using UpdateExternalFontsHook = HRESULT (*)(HANDLE printer, HANDLE heap, PWSTR cartridges);
using UpgradePrinterHook = HRESULT (*)(DWORD level, PBYTE upgradeInfo);
using QueryJobAttributesHook = HRESULT (*)(HANDLE printer, PDEVMODEW devmode, DWORD level,
                                           LPBYTE attributeInfo);
using HideStandardUIHook = HRESULT (*)(DWORD mode);
using DocumentEventHook = HRESULT (*)(HANDLE printer, HDC dc, INT escape, ULONG inSize, PVOID in,
                                      ULONG outSize, PVOID out, PINT result);
using ConstructHook = void (*)(UIPluginHooks* hooks);
using DestructHook = void (*)(void* plugin);
using DuplexValidatedHook = void (*)(HANDLE printer, PDEVMODEW devmode);

inline constexpr size_t kUIHookCount = 18;

struct UIPluginHooks {
    DevModeHook devMode;                           // 0
    CommonUIPropHook commonUIProp;                 // 1
    PropertySheetsHook devicePropertySheets;       // 2
    PropertySheetsHook documentPropertySheets;     // 3
    PrinterEventHook printerEvent;                 // 4
    QueryColorProfileHook queryColorProfile;       // 5
    DeviceCapabilitiesHook deviceCapabilities;     // 6
    DevQueryPrintExHook devQueryPrintEx;           // 7
    DriverEventHook driverEvent;                   // 8
    FontInstallerDlgProcHook fontInstallerDlgProc; // 9
    UpdateExternalFontsHook updateExternalFonts;   // 10
    UpgradePrinterHook upgradePrinter;             // 11
    QueryJobAttributesHook queryJobAttributes;     // 12
    HideStandardUIHook hideStandardUI;             // 13
    DocumentEventHook documentEvent;               // 14
    ConstructHook construct;                       // 15
    DestructHook destruct;                         // 16
    DuplexValidatedHook duplexValidated;           // 17
};
static_assert(sizeof(UIPluginHooks) == kUIHookCount * sizeof(void*));
static_assert(offsetof(UIPluginHooks, printerEvent) == 4 * sizeof(void*));
static_assert(offsetof(UIPluginHooks, deviceCapabilities) == 6 * sizeof(void*));
static_assert(offsetof(UIPluginHooks, duplexValidated) == 17 * sizeof(void*));

// The four entries this product fills.
void FillProductHooks(UIPluginHooks& hooks);

} // namespace moltr::ui
