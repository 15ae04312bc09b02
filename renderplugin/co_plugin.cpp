#include "renderplugin/co_plugin.h"

#include "common/module_counts.h"
#include "common/plugin_info.h"
#include "renderplugin/band_stamping.h"
#include "renderplugin/render_state.h"
#include "this_module.h"

namespace moltr::render {

namespace {

bool SameNameIgnoringCase(const char* a, const char* b) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (; *a != '\0' && fold(*a) == fold(*b); ++a, ++b) {
    }
    return fold(*a) == fold(*b);
}

} // namespace

CoPlugin::CoPlugin() : hooks_(MakePluginHooks()) {
    common::AddLiveObject();
}

CoPlugin::~CoPlugin() {
    if (resources_ != nullptr) {
        resources_->Release();
    }
    if (settings_ != nullptr) {
        settings_->Release();
    }
    if (driver_ != nullptr) {
        driver_->Release();
    }
    common::RemoveLiveObject();
}

STDMETHODIMP CoPlugin::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown)) {
        level_ = 0;
    } else if (IsEqualIID(iid, IID_IPrintOemUni) || IsEqualIID(iid, IID_IPrintOemUni2) ||
               IsEqualIID(iid, IID_IPrintOemUni3)) {
        level_ = 1;
    } else {
        return E_NOINTERFACE;
    }
    *object = static_cast<IPrintOemUni3*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CoPlugin::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CoPlugin::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

STDMETHODIMP CoPlugin::GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    return common::AnswerPluginInfo(mode, buffer, size, needed);
}

STDMETHODIMP CoPlugin::PublishDriverInterface(IUnknown* driver) {
    if (driver == nullptr) {
        return E_INVALIDARG;
    }
    if (!AtDeviceLevel()) {
        return E_FAIL;
    }
    if (driver_ != nullptr) {
        return S_OK;
    }
    void* services = nullptr;
    if (FAILED(driver->QueryInterface(IID_IPrintOemDriverUni, &services)) || services == nullptr) {
        return E_FAIL;
    }
    driver_ = static_cast<IPrintOemDriverUni*>(services);
    return S_OK;
}

STDMETHODIMP CoPlugin::GetImplementedMethod(PSTR methodName) {
    if (methodName == nullptr) {
        return S_FALSE;
    }
    char loaded[256];
    const char* name = methodName;
    // A value up to 0xFFFF is the id of a string resource that holds the name.
    if (reinterpret_cast<ULONG_PTR>(methodName) <= 0xFFFF) {
        WCHAR text[256];
        int length =
            LoadStringW(ThisModuleHandle(),
                        static_cast<UINT>(reinterpret_cast<ULONG_PTR>(methodName)), text, 256);
        for (int i = 0; i <= length && i < 256; ++i) {
            loaded[i] = static_cast<char>(i < length ? text[i] : 0);
        }
        name = length > 0 ? loaded : "";
    }
    return SameNameIgnoringCase(name, "ImageProcessing") ||
                   SameNameIgnoringCase(name, "CommandCallback")
               ? S_OK
               : E_FAIL;
}

STDMETHODIMP CoPlugin::DriverDMS(PVOID, PVOID, DWORD, PDWORD) {
    return E_NOTIMPL;
}

STDMETHODIMP CoPlugin::CommandCallback(PDEVOBJ devobj, DWORD id, DWORD count, PDWORD params,
                                       INT* result) {
    if (hooks_.commandCallback != nullptr) {
        HRESULT answer = hooks_.commandCallback(devobj, id, count, params, result);
        if (!Declined(answer)) {
            return answer;
        }
    }
    return S_OK;
}

STDMETHODIMP CoPlugin::ImageProcessing(PDEVOBJ devobj, PBYTE bitmap, PBITMAPINFOHEADER header,
                                       PBYTE colorTable, DWORD, PIPPARAMS, PBYTE* result) {
    if (devobj == nullptr) {
        return E_FAIL;
    }
    // A band that cannot be stamped still prints as it is.
    RenderState* state = StateOf(devobj);
    if (state != nullptr && AtDeviceLevel()) {
        StampBand(*state, header, bitmap, colorTable);
    }
    if (result != nullptr) {
        *result = bitmap;
    }
    return S_OK;
}

STDMETHODIMP CoPlugin::FilterGraphics(PDEVOBJ devobj, PBYTE, DWORD) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::Compression(PDEVOBJ devobj, PBYTE, PBYTE, DWORD, DWORD, INT*) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::HalftonePattern(PDEVOBJ devobj, PBYTE, DWORD, DWORD, DWORD, DWORD, PBYTE,
                                       DWORD) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::MemoryUsage(PDEVOBJ devobj, POEMMEMORYUSAGE) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::TTYGetInfo(PDEVOBJ devobj, DWORD, PVOID, DWORD, DWORD*) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::DownloadFontHeader(PDEVOBJ devobj, PUNIFONTOBJ, DWORD*) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::DownloadCharGlyph(PDEVOBJ devobj, PUNIFONTOBJ, HGLYPH, PDWORD, DWORD*) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::TTDownloadMethod(PDEVOBJ devobj, PUNIFONTOBJ, DWORD*) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::OutputCharStr(PDEVOBJ devobj, PUNIFONTOBJ, DWORD, DWORD, PVOID) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::SendFontCmd(PDEVOBJ devobj, PUNIFONTOBJ, PFINVOCATION) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::TextOutAsBitmap(SURFOBJ* surface, STROBJ* text, FONTOBJ*, CLIPOBJ*, RECTL*,
                                       RECTL*, BRUSHOBJ*, BRUSHOBJ*, POINTL*, MIX) {
    return surface == nullptr || text == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::WritePrinter(PDEVOBJ devobj, PVOID buffer, DWORD size, PDWORD written) {
    if (devobj == nullptr) {
        if (buffer == nullptr && size == 0) {
            if (written != nullptr) {
                *written = 0;
            }
            return S_OK;
        }
        return E_FAIL;
    }
    RenderState* state = StateOf(devobj);
    if (state == nullptr || state->driver == nullptr) {
        return E_FAIL;
    }
    DWORD spooled = 0;
    HRESULT result = state->driver->DrvWriteSpoolBuf(devobj, buffer, size, &spooled);
    if (written != nullptr) {
        *written = size;
    }
    return SUCCEEDED(result) ? S_OK : result;
}

STDMETHODIMP CoPlugin::GetPDEVAdjustment(PDEVOBJ devobj, DWORD, PVOID, DWORD, BOOL*) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

STDMETHODIMP CoPlugin::DownloadPattern(PDEVOBJ devobj, PBYTE, DWORD, DWORD) {
    return devobj == nullptr ? E_FAIL : E_NOTIMPL;
}

} // namespace moltr::render
