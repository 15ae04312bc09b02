#include "common/co_resources.h"

#include "this_module.h"

#include <new>

namespace moltr::common {

namespace {

constexpr UINT kStringsPerBlock = 16;
constexpr UINT kDuplicateSize = 256;

bool IsResourceId(UINT id) {
    return id >= 1 && id <= 0xFFFF;
}

} // namespace

CoResources::CoResources(HANDLE heap, bool ownsHeap)
    : heap_(heap), ownsHeap_(ownsHeap), callingModule_(ThisModuleHandle()), languages_(heap_),
      environment_(heap_), templates_(heap_), icons_(heap_) {}

CoResources::~CoResources() {
    for (IconRecord& record : icons_) {
        DestroyIcon(record.icon);
    }
    for (TemplateRecord& record : templates_) {
        heap_.Free(record.dialog);
    }
    if (resourceModule_) {
        FreeLibrary(resourceModule_);
    }
    if (dialogFont_) {
        DeleteObject(dialogFont_);
    }
}

void* STDMETHODCALLTYPE CoResources::Destroy(UINT flags) {
    HANDLE heap = ownsHeap_ ? heap_.handle() : nullptr;
    // Everything the object keeps lives on the heap, so the heap goes last.
    this->~CoResources();
    if (heap) {
        HeapDestroy(heap);
    }
    if (flags & 1) {
        ::operator delete(this);
    }
    return this;
}

STDMETHODIMP CoResources::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CoResources::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoResources::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        Destroy(1);
    }
    return static_cast<ULONG>(count);
}

HRESULT CoResources::ReadEnvironment(HANDLE printer) {
    hasEnvironment_ = true;
    return environment_.Read(printer);
}

void CoResources::FillModuleVersions() {
    environment_.FillModuleVersions();
}

bool CoResources::BuildLanguages(LPCWSTR modulePath, LPCWSTR settingsFile) {
    return languages_.Build(modulePath, settingsFile);
}

HRESULT CoResources::LoadResourceModule(LPCWSTR modulePath) {
    resourceModule_ = LoadLibraryExW(modulePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return resourceModule_ ? S_OK : E_FAIL;
}

CoResources::Found CoResources::FindInModules(LPCWSTR type, UINT name, WORD language) const {
    const HMODULE modules[] = {resourceModule_, callingModule_};
    for (HMODULE module : modules) {
        HRSRC resource =
            module ? FindResourceExW(module, type, MAKEINTRESOURCEW(name), language) : nullptr;
        if (resource) {
            return {module, resource, language};
        }
    }
    return {};
}

CoResources::Found CoResources::FindInLanguages(LPCWSTR type, UINT name) const {
    for (const LanguageEntry& entry : languages_) {
        Found found = FindInModules(type, name, entry.language);
        if (found.resource) {
            return found;
        }
    }
    return {};
}

STDMETHODIMP CoResources::LoadString(UINT id, LPWSTR buffer, UINT size) {
    if (!buffer || !size) {
        return E_INVALIDARG;
    }
    buffer[0] = 0;
    if (!resourceModule_) {
        return E_FAIL;
    }
    if (!IsResourceId(id)) {
        return E_INVALIDARG;
    }
    Found found = FindInLanguages(RT_STRING, id / kStringsPerBlock + 1);
    if (!found.resource) {
        return E_INVALIDARG;
    }
    const auto* words =
        static_cast<const WCHAR*>(LockResource(LoadResource(found.module, found.resource)));
    DWORD count = SizeofResource(found.module, found.resource) / sizeof(WCHAR);
    DWORD at = 0;
    for (UINT skip = id % kStringsPerBlock; words && skip && at < count; --skip) {
        at += 1 + words[at];
    }
    if (!words || at >= count) {
        return E_FAIL;
    }
    UINT length = words[at];
    if (length == 0 || length >= size || length > count - at - 1) {
        return E_FAIL;
    }
    for (UINT index = 0; index < length; ++index) {
        buffer[index] = words[at + 1 + index];
    }
    buffer[length] = 0;
    return S_OK;
}

STDMETHODIMP_(LPWSTR) CoResources::DuplicateString(UINT id) {
    WCHAR text[kDuplicateSize];
    return SUCCEEDED(LoadString(id, text, kDuplicateSize)) ? heap_.Duplicate(text) : nullptr;
}

STDMETHODIMP CoResources::LoadRawResource(UINT id, const void** data, DWORD* size) {
    if (!data) {
        return E_INVALIDARG;
    }
    *data = nullptr;
    if (size) {
        *size = 0;
    }
    if (!resourceModule_) {
        return E_FAIL;
    }
    Found found = IsResourceId(id) ? FindInLanguages(RT_RCDATA, id) : Found{};
    if (!found.resource) {
        return E_INVALIDARG;
    }
    *data = LockResource(LoadResource(found.module, found.resource));
    if (size) {
        *size = SizeofResource(found.module, found.resource);
    }
    return S_OK;
}

STDMETHODIMP_(const void*) CoResources::GetRawResource(UINT id, DWORD* size) {
    const void* data = nullptr;
    return SUCCEEDED(LoadRawResource(id, &data, size)) ? data : nullptr;
}

STDMETHODIMP_(HMODULE) CoResources::GetResourceModule() {
    return resourceModule_;
}

STDMETHODIMP_(HMODULE) CoResources::GetResourceHandle() {
    return resourceModule_;
}

STDMETHODIMP_(LPCWSTR) CoResources::GetModelName() {
    return environment_.modelName();
}

STDMETHODIMP_(LPCWSTR) CoResources::GetPdlSuffix() {
    return environment_.pdlSuffix();
}

STDMETHODIMP_(LPCWSTR) CoResources::GetResourceModulePath() {
    return environment_.resourceModule();
}

STDMETHODIMP_(LPCWSTR) CoResources::GetSettingsFilePath() {
    return environment_.settingsFile();
}

STDMETHODIMP_(LPCWSTR) CoResources::GetNotifierPath() {
    return environment_.notifier();
}

STDMETHODIMP_(LPCWSTR) CoResources::GetUIPluginPath() {
    return environment_.uiPlugin();
}

STDMETHODIMP_(LPCWSTR) CoResources::GetPrintProcessorPath() {
    return environment_.printProcessor();
}

STDMETHODIMP_(const ModuleVersions*) CoResources::GetModuleVersions() {
    return hasEnvironment_ ? &environment_.moduleVersions() : nullptr;
}

} // namespace moltr::common
