// STUBRPC.DLL: a render plug-in for the renderer's tests. It offers the plug-in interfaces up to
// the level StubOffer sets (3 by default), counts its live objects for DllCanUnloadNow, and
// writes the interface it was asked for, then "published", through the driver's services; its
// CommandCallback (which with WritePrinter is all it implements of the optional methods, unless
// StubBehave adds ImageProcessing) writes the id and parameters it was given. It has no private
// devmode, hooks nothing and keeps no PDEV (E_NOTIMPL), except that StubBehave can make one of
// DevMode, EnableDriver, EnablePDEV and ImageProcessing fail with E_FAIL.
#include <windows.h>
#include <prcomoem.h>
#include <cstring>

namespace {

LONG g_objects = 0;
int g_offered = 3;
int g_asked = 0;
bool g_imageProcessing = false;
char g_failing[32] = "";

HRESULT Answer(const char* method) {
    return std::strcmp(g_failing, method) == 0 ? E_FAIL : E_NOTIMPL;
}

constexpr CLSID kRenderPluginClass = {
    0x6d6abf26, 0x9f38, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};

class StubPlugin final : public IPrintOemUni3 {
public:
    StubPlugin() { InterlockedIncrement(&g_objects); }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        const IID* levels[] = {&IID_IUnknown, &IID_IPrintOemUni, &IID_IPrintOemUni2,
                               &IID_IPrintOemUni3};
        for (int level = 0; level <= g_offered; ++level) {
            if (IsEqualIID(riid, *levels[level])) {
                g_asked = level > 0 ? level : g_asked;
                *object = static_cast<IPrintOemUni3*>(this);
                AddRef();
                return S_OK;
            }
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            if (services_) {
                services_->Release();
            }
            InterlockedDecrement(&g_objects);
            delete this;
        }
        return left;
    }

    STDMETHODIMP PublishDriverInterface(IUnknown* unknown) override {
        if (!unknown || unknown->QueryInterface(IID_IPrintOemDriverUni,
                                                reinterpret_cast<void**>(&services_)) != S_OK) {
            return E_FAIL;
        }
        char level = static_cast<char>('0' + g_asked);
        DWORD written = 0;
        services_->DrvWriteSpoolBuf(nullptr, &level, 1, &written);
        return services_->DrvWriteSpoolBuf(nullptr, const_cast<char*>(" published"), 10, &written);
    }

    // Signature "STUB", version 0x100, as a plug-in answers them.
    STDMETHODIMP GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override {
        if (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION) {
            return E_INVALIDARG;
        }
        if (!buffer || size < sizeof(DWORD)) {
            *needed = sizeof(DWORD);
            return E_FAIL;
        }
        DWORD value = mode == OEMGI_GETSIGNATURE ? 0x42555453 : 0x100;
        std::memcpy(buffer, &value, sizeof(value));
        return S_OK;
    }
    STDMETHODIMP DevMode(DWORD, POEMDMPARAM) override { return Answer("DevMode"); }
    STDMETHODIMP EnableDriver(DWORD, DWORD, PDRVENABLEDATA) override {
        return Answer("EnableDriver");
    }
    STDMETHODIMP DisableDriver() override { return E_NOTIMPL; }
    STDMETHODIMP EnablePDEV(PDEVOBJ, PWSTR, ULONG, HSURF*, ULONG, GDIINFO*, ULONG, DEVINFO*,
                            DRVENABLEDATA*, PDEVOEM*) override {
        return Answer("EnablePDEV");
    }
    STDMETHODIMP DisablePDEV(PDEVOBJ) override { return E_NOTIMPL; }
    STDMETHODIMP ResetPDEV(PDEVOBJ, PDEVOBJ) override { return E_NOTIMPL; }
    STDMETHODIMP GetImplementedMethod(PSTR name) override {
        bool implemented = std::strcmp(name, "CommandCallback") == 0 ||
                           std::strcmp(name, "WritePrinter") == 0 ||
                           (g_imageProcessing && std::strcmp(name, "ImageProcessing") == 0);
        return implemented ? S_OK : E_FAIL;
    }
    STDMETHODIMP DriverDMS(PVOID, PVOID, DWORD, PDWORD) override { return E_NOTIMPL; }
    // Writes "cb" with the id and the parameters, as "cb309(2,7)".
    STDMETHODIMP CommandCallback(PDEVOBJ, DWORD id, DWORD count, PDWORD params,
                                 INT* result) override {
        char text[128];
        int length = wsprintfA(text, "cb%lu(", id);
        for (DWORD i = 0; i < count && length < 100; ++i) {
            length += wsprintfA(text + length, i ? ",%lu" : "%lu", params[i]);
        }
        text[length++] = ')';
        *result = 0;
        DWORD written = 0;
        return services_ ? services_->DrvWriteSpoolBuf(nullptr, text, length, &written) : E_FAIL;
    }
    // Writes "ip" with the band's top row and height, and hands the band back unchanged.
    STDMETHODIMP ImageProcessing(PDEVOBJ, PBYTE bitmap, PBITMAPINFOHEADER header, PBYTE, DWORD,
                                 PIPPARAMS params, PBYTE* result) override {
        if (std::strcmp(g_failing, "ImageProcessing") == 0) {
            return E_FAIL;
        }
        char text[64];
        int length = wsprintfA(text, "ip%ld+%ld;", params->ptOffset.y, header->biHeight);
        DWORD written = 0;
        *result = bitmap;
        return services_ ? services_->DrvWriteSpoolBuf(nullptr, text, length, &written) : E_FAIL;
    }
    STDMETHODIMP FilterGraphics(PDEVOBJ, PBYTE, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Compression(PDEVOBJ, PBYTE, PBYTE, DWORD, DWORD, INT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP HalftonePattern(PDEVOBJ, PBYTE, DWORD, DWORD, DWORD, DWORD, PBYTE,
                                 DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP MemoryUsage(PDEVOBJ, POEMMEMORYUSAGE) override { return E_NOTIMPL; }
    STDMETHODIMP TTYGetInfo(PDEVOBJ, DWORD, PVOID, DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DownloadFontHeader(PDEVOBJ, PUNIFONTOBJ, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DownloadCharGlyph(PDEVOBJ, PUNIFONTOBJ, HGLYPH, PDWORD, DWORD*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP TTDownloadMethod(PDEVOBJ, PUNIFONTOBJ, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP OutputCharStr(PDEVOBJ, PUNIFONTOBJ, DWORD, DWORD, PVOID) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP SendFontCmd(PDEVOBJ, PUNIFONTOBJ, PFINVOCATION) override { return E_NOTIMPL; }
    STDMETHODIMP TextOutAsBitmap(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*,
                                 BRUSHOBJ*, POINTL*, MIX) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP WritePrinter(PDEVOBJ, PVOID, DWORD, PDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetPDEVAdjustment(PDEVOBJ, DWORD, PVOID, DWORD, BOOL*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP DownloadPattern(PDEVOBJ, PBYTE, DWORD, DWORD) override { return E_NOTIMPL; }

private:
    ~StubPlugin() = default;

    LONG references_ = 1;
    IPrintOemDriverUni* services_ = nullptr;
};

class StubFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (outer) {
            return CLASS_E_NOAGGREGATION;
        }
        StubPlugin* plugin = new StubPlugin;
        HRESULT result = plugin->QueryInterface(riid, object);
        plugin->Release();
        return result;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

StubFactory g_factory;

} // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* object) {
    if (!IsEqualGUID(rclsid, kRenderPluginClass)) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(riid, object);
}

STDAPI DllCanUnloadNow() {
    return g_objects == 0 ? S_OK : S_FALSE;
}

extern "C" void WINAPI StubBehave(BOOL imageProcessing, const char* failing) {
    g_imageProcessing = imageProcessing != FALSE;
    lstrcpynA(g_failing, failing, sizeof g_failing);
}

extern "C" void WINAPI StubOffer(int level) {
    g_offered = level;
    g_asked = 0;
}
