#pragma once
// The resources object: lookups through the language list in the language resource module, then
// in the calling module, with localised dialog templates and icons kept for the object's life.
#include <windows.h>

#include "common/driver_environment.h"
#include "common/help_file.h"
#include "common/language_list.h"
#include "common/resources.h"
#include "common/resources_heap.h"

namespace moltr::common {

class CoResources : public IDrvResources {
public:
    // `heap` null: blocks come from the process heap. `ownsHeap`: destroyed with the object.
    CoResources(HANDLE heap, bool ownsHeap);

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(LoadBitmap)(UINT id, HBITMAP* bitmap) override;
    STDMETHOD(LoadCursor)(UINT id, HCURSOR* cursor) override;
    STDMETHOD(LoadDialogTemplate)(UINT id, const DLGTEMPLATE** dialog, UINT textMode) override;
    STDMETHOD(LoadString)(UINT id, LPWSTR buffer, UINT size) override;
    STDMETHOD_(int, ShowMessage)(HWND owner, UINT textId, UINT captionId, UINT flags) override;
    STDMETHOD_(HMODULE, GetResourceModule)() override;
    STDMETHOD_(HBITMAP, GetBitmap)(UINT id) override;
    STDMETHOD_(HCURSOR, GetCursor)(UINT id) override;
    STDMETHOD_(HICON, GetIcon)(UINT id, UINT size) override;
    STDMETHOD(LoadIcon)(UINT id, UINT size, HICON* icon) override;
    STDMETHOD(CreateDialogControls)(UINT templateId, HWND window, UINT textMode) override;
    STDMETHOD_(const DLGTEMPLATE*, GetDialogTemplate)(UINT id, UINT textMode) override;
    STDMETHOD_(LPWSTR, DuplicateString)(UINT id) override;
    STDMETHOD_(const void*, GetRawResource)(UINT id, DWORD* size) override;
    STDMETHOD(LoadRawResource)(UINT id, const void** data, DWORD* size) override;

    STDMETHOD_(LPCWSTR, GetModelName)() override;
    STDMETHOD_(LPCWSTR, GetPdlSuffix)() override;
    STDMETHOD_(LPCWSTR, GetResourceModulePath)() override;
    STDMETHOD_(LPCWSTR, GetHelpFilePath)() override;
    STDMETHOD_(LPCWSTR, GetSettingsFilePath)() override;
    STDMETHOD_(LPCWSTR, GetNotifierPath)() override;
    STDMETHOD_(LPCWSTR, GetUIPluginPath)() override;
    STDMETHOD_(LPCWSTR, GetPrintProcessorPath)() override;
    STDMETHOD_(HMODULE, GetResourceHandle)() override;
    STDMETHOD_(const ModuleVersions*, GetModuleVersions)() override;

    // The last slot: the deleting destructor (flag bit 0 frees the object's memory).
    virtual void* STDMETHODCALLTYPE Destroy(UINT flags);

    // Creation steps of the factories.
    HRESULT ReadEnvironment(HANDLE printer);
    bool BuildLanguages(LPCWSTR modulePath, LPCWSTR settingsFile);
    void FillModuleVersions();
    HRESULT LoadResourceModule(LPCWSTR modulePath);

private:
    struct TemplateRecord {
        DWORD dialogId;
        WORD language;
        DLGTEMPLATE* dialog;
    };
    struct IconRecord {
        WORD language;
        DWORD iconId;
        HICON icon;
        DWORD size;
    };
    struct Found {
        HMODULE module = nullptr;
        HRSRC resource = nullptr;
        WORD language = 0;
    };

    ~CoResources();

    // The first hit of `type`/`name` through the language list, each language in the resource
    // module first and then in the calling module.
    Found FindInLanguages(LPCWSTR type, UINT name) const;
    // In the resource module, then in the calling module, for one language.
    Found FindInModules(LPCWSTR type, UINT name, WORD language) const;
    HRESULT CreateIcon(const Found& group, UINT size, HICON* icon) const;
    void MakeDialogFont(LPCWSTR face, WORD points, BYTE charSet);

    LONG references_ = 1;
    ResourcesHeap heap_;
    bool ownsHeap_;
    HMODULE callingModule_;
    HMODULE resourceModule_ = nullptr;
    LanguageList languages_;
    DriverEnvironment environment_;
    bool hasEnvironment_ = false;
    HelpFile helpFile_;
    HFONT dialogFont_ = nullptr;
    int baseUnitX_ = 0;
    int baseUnitY_ = 0;
    HeapList<TemplateRecord> templates_;
    HeapList<IconRecord> icons_;
};

} // namespace moltr::common
