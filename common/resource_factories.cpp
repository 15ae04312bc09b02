#include "common/co_resources.h"

#include <new>

namespace moltr::common {

namespace {

constexpr SIZE_T kInitialHeapSize = 0x10000;

} // namespace

HRESULT CreatePrinterResources(IDrvResources** resources, HANDLE printer, HANDLE heap) {
    if (!resources || printer == INVALID_HANDLE_VALUE) {
        return E_INVALIDARG;
    }
    *resources = nullptr;
    bool ownsHeap = heap == nullptr;
    if (ownsHeap) {
        heap = HeapCreate(0, kInitialHeapSize, 0);
        if (!heap) {
            return E_OUTOFMEMORY;
        }
    }
    auto* object = new (std::nothrow) CoResources(heap, ownsHeap);
    if (!object) {
        if (ownsHeap) {
            HeapDestroy(heap);
        }
        return E_OUTOFMEMORY;
    }
    HRESULT result = object->ReadEnvironment(printer);
    if (SUCCEEDED(result)) {
        bool listed =
            object->BuildLanguages(object->GetResourceModulePath(), object->GetSettingsFilePath());
        object->FillModuleVersions();
        result = listed ? object->LoadResourceModule(object->GetResourceModulePath()) : E_FAIL;
    }
    if (FAILED(result)) {
        object->Release();
        return result == E_OUTOFMEMORY ? E_OUTOFMEMORY : E_FAIL;
    }
    *resources = object;
    return S_OK;
}

HRESULT CreateModuleResources(IDrvResources** resources, LPCWSTR modulePath) {
    if (!resources) {
        return E_INVALIDARG;
    }
    *resources = nullptr;
    if (!modulePath || !*modulePath) {
        return E_INVALIDARG;
    }
    auto* object = new (std::nothrow) CoResources(nullptr, false);
    if (!object) {
        return E_OUTOFMEMORY;
    }
    // Without a language list nothing can be found, so the module is not worth loading.
    if (object->BuildLanguages(modulePath, nullptr) &&
        FAILED(object->LoadResourceModule(modulePath))) {
        object->Release();
        return E_FAIL;
    }
    *resources = object;
    return S_OK;
}

} // namespace moltr::common
