#pragma once
// The resources object every deliverable creates: its strings, dialog templates, pictures and raw
// data in the user's language, and what it knows of the installed driver around it.
#include <windows.h>
#include <unknwn.h>

namespace moltr::common {

// Ids of every lookup are resource ids 1 to 0xFFFF.
struct IResources : public IUnknown {
    STDMETHOD(LoadBitmap)(UINT id, HBITMAP* bitmap) = 0;
    STDMETHOD(LoadCursor)(UINT id, HCURSOR* cursor) = 0;
    // textMode 0 keeps the stored texts, 1 takes them from the string table (the dialog's and the
    // controls' ids), anything else empties them.
    STDMETHOD(LoadDialogTemplate)(UINT id, const DLGTEMPLATE** dialog, UINT textMode) = 0;
    STDMETHOD(LoadString)(UINT id, LPWSTR buffer, UINT size) = 0;
    STDMETHOD_(int, ShowMessage)(HWND owner, UINT textId, UINT captionId, UINT flags) = 0;
    STDMETHOD_(HMODULE, GetResourceModule)() = 0;
    STDMETHOD_(HBITMAP, GetBitmap)(UINT id) = 0;
    STDMETHOD_(HCURSOR, GetCursor)(UINT id) = 0;
    // The icon stays owned by the object.
    STDMETHOD_(HICON, GetIcon)(UINT id, UINT size) = 0;
    STDMETHOD(LoadIcon)(UINT id, UINT size, HICON* icon) = 0;
    STDMETHOD(CreateDialogControls)(UINT templateId, HWND window, UINT textMode) = 0;
    STDMETHOD_(const DLGTEMPLATE*, GetDialogTemplate)(UINT id, UINT textMode) = 0;
    // A copy on the object's heap: a caller that passed the heap may free it there; otherwise it
    // lives as long as the object's own heap (or is freed with HeapFree on the process heap for an
    // object made from a module path).
    STDMETHOD_(LPWSTR, DuplicateString)(UINT id) = 0;
    STDMETHOD_(const void*, GetRawResource)(UINT id, DWORD* size) = 0;
    STDMETHOD(LoadRawResource)(UINT id, const void** data, DWORD* size) = 0;
};

struct ModuleVersionEntry {
    LPCWSTR fileName;
    WCHAR version[32];
};

// Header: the product version of the first module that has one, as its four 16-bit parts.
struct ModuleVersions {
    DWORD product[4];
    ModuleVersionEntry entries[9];
};

// Every pointer returned is owned by the object; an object made for a module path has no
// environment and answers null.
struct IDrvResources : public IResources {
    STDMETHOD_(LPCWSTR, GetModelName)() = 0;
    STDMETHOD_(LPCWSTR, GetPdlSuffix)() = 0;
    STDMETHOD_(LPCWSTR, GetResourceModulePath)() = 0;
    STDMETHOD_(LPCWSTR, GetHelpFilePath)() = 0;
    STDMETHOD_(LPCWSTR, GetSettingsFilePath)() = 0;
    STDMETHOD_(LPCWSTR, GetNotifierPath)() = 0;
    STDMETHOD_(LPCWSTR, GetUIPluginPath)() = 0;
    STDMETHOD_(LPCWSTR, GetPrintProcessorPath)() = 0;
    STDMETHOD_(HMODULE, GetResourceHandle)() = 0;
    STDMETHOD_(const ModuleVersions*, GetModuleVersions)() = 0;
};

// For a printer (the plug-ins): the driver's language resource module and settings file come from
// its dependent files. `heap` may be null, and then the object makes its own.
HRESULT CreatePrinterResources(IDrvResources** resources, HANDLE printer, HANDLE heap);

// For a language resource module given by its full path (the notifier).
HRESULT CreateModuleResources(IDrvResources** resources, LPCWSTR modulePath);

} // namespace moltr::common
