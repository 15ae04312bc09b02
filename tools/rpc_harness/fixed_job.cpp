#include "fixed_job.h"

#include <prcomoem.h>

#include <array>

#include "spool_capture.h"

namespace moltr::harness {
namespace {

// The render plug-in's class.
constexpr CLSID kRenderPluginClass = {
    0x6d6abf26, 0x9f38, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};

// The job header and trailer, page set-up, copies, paper source, duplex and colour callbacks, and
// two ids that have no command.
constexpr std::array<DWORD, 32> kCallbacks = {101, 103, 111, 114, 117, 121, 124, 128, 154, 200, 201,
                                              202, 203, 208, 209, 213, 219, 220, 226, 272, 273, 274,
                                              304, 305, 306, 308, 309, 310, 311, 312, 413, 999};

// The public devmodes of the job's two passes: the defaults, then a changed copy count, duplex,
// orientation and paper source.
struct Pass {
    short copies;
    short duplex;
    short orientation;
    short source;
};
constexpr std::array<Pass, 2> kPasses = {{{1, 1, 1, 7}, {3, 2, 2, 15}}};

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

void AppendDword(std::vector<BYTE>& out, DWORD value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<BYTE>(value >> shift));
    }
}

// Releases a COM object when the job ends, however it ends.
template <typename T> struct Released {
    T* object = nullptr;
    ~Released() {
        if (object != nullptr) {
            object->Release();
        }
    }
};

HRESULT CreatePlugin(HMODULE module, IPrintOemUni3** plugin) {
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "DllGetClassObject")));
    if (getClassObject == nullptr) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    Released<IClassFactory> factory;
    HRESULT result = getClassObject(kRenderPluginClass, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory.object));
    if (FAILED(result)) {
        return result;
    }
    return factory.object->CreateInstance(nullptr, IID_IPrintOemUni3,
                                          reinterpret_cast<void**>(plugin));
}

// One device of the job, enabled as the renderer enables it, its callbacks run and disabled.
HRESULT RunPass(IPrintOemUni3* plugin, HANDLE printer, const Pass& pass, SpoolCapture& capture,
                std::vector<BYTE>& record) {
    DEVMODEW publicDevMode = {};
    publicDevMode.dmSize = sizeof(DEVMODEW);
    publicDevMode.dmPaperSize = DMPAPER_A4;
    publicDevMode.dmCopies = pass.copies;
    publicDevMode.dmDuplex = pass.duplex;
    publicDevMode.dmOrientation = pass.orientation;
    publicDevMode.dmDefaultSource = pass.source;
    OEMDMPARAM param = {sizeof(OEMDMPARAM), nullptr, printer, nullptr, &publicDevMode,
                        &publicDevMode,     nullptr, nullptr, 0};
    HRESULT result = plugin->DevMode(OEMDM_SIZE, &param);
    if (FAILED(result)) {
        return result;
    }
    std::vector<BYTE> privateDevMode(param.cbBufSize, 0);
    param.pOEMDMOut = privateDevMode.data();
    if (FAILED(result = plugin->DevMode(OEMDM_DEFAULT, &param))) {
        return result;
    }
    DEVOBJ devobj = {};
    devobj.dwSize = sizeof(DEVOBJ);
    devobj.hPrinter = printer;
    devobj.pPublicDM = &publicDevMode;
    devobj.pOEMDM = privateDevMode.data();
    GDIINFO gdiInfo = {};
    DEVINFO devInfo = {};
    DRVENABLEDATA driverTable = {DDI_DRIVER_VERSION_NT5, 0, nullptr};
    if (FAILED(result =
                   plugin->EnablePDEV(&devobj, nullptr, 0, nullptr, sizeof gdiInfo, &gdiInfo,
                                      sizeof devInfo, &devInfo, &driverTable, &devobj.pdevOEM))) {
        return result;
    }
    for (DWORD id : kCallbacks) {
        capture.stream.clear();
        INT answer = 0;
        const HRESULT callback = plugin->CommandCallback(&devobj, id, 0, nullptr, &answer);
        AppendDword(record, id);
        AppendDword(record, static_cast<DWORD>(callback));
        AppendDword(record, static_cast<DWORD>(capture.stream.size()));
        record.insert(record.end(), capture.stream.begin(), capture.stream.end());
    }
    return plugin->DisablePDEV(&devobj);
}

} // namespace

HRESULT RunFixedJob(HANDLE printer, LPCWSTR modulePath, std::vector<BYTE>& record) {
    HMODULE module = LoadLibraryW(modulePath);
    if (module == nullptr) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    HRESULT result = S_OK;
    {
        SpoolCapture capture;
        Released<IPrintOemUni3> plugin;
        result = CreatePlugin(module, &plugin.object);
        if (SUCCEEDED(result)) {
            result = plugin.object->PublishDriverInterface(&capture);
        }
        if (SUCCEEDED(result)) {
            DRVENABLEDATA hooks = {};
            result = plugin.object->EnableDriver(DDI_DRIVER_VERSION_NT5, sizeof hooks, &hooks);
        }
        for (const Pass& pass : kPasses) {
            if (SUCCEEDED(result)) {
                result = RunPass(plugin.object, printer, pass, capture, record);
            }
        }
    }
    FreeLibrary(module);
    return result;
}

} // namespace moltr::harness
