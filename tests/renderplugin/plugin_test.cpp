// The render plug-in's COM server and entry points, driven through the loaded module.
#include <memory>
#include "render_driver.h"

namespace moltr::test {
namespace {

TEST(RenderPluginServer, ServesOnlyItsClass) {
    RenderPrinter printer;
    RenderModule module;
    CLSID other = kRenderPluginClass;
    other.Data1 ^= 1;
    void* object = &other;
    EXPECT_EQ(module.GetClassObject(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.GetClassObject(kRenderPluginClass, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)),
              S_OK);
    void* plugin = &other;
    EXPECT_EQ(factory->QueryInterface(IID_IPrintOemUni, &plugin), E_NOINTERFACE);
    EXPECT_EQ(plugin, nullptr);
    EXPECT_EQ(
        factory->CreateInstance(reinterpret_cast<IUnknown*>(&other), IID_IPrintOemUni3, &plugin),
        CLASS_E_NOAGGREGATION);
    factory->Release();
}

TEST(RenderPluginServer, StaysLoadedWhileLockedOrInUse) {
    RenderPrinter printer;
    RenderModule module;
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.GetClassObject(kRenderPluginClass, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
    ASSERT_EQ(module.GetClassObject(kRenderPluginClass, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    IPrintOemUni3* plugin = nullptr;
    EXPECT_EQ(
        factory->CreateInstance(nullptr, IID_IPrintOemUni3, reinterpret_cast<void**>(&plugin)),
        S_OK);
    factory->Release();
    EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
    plugin->Release();
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST(RenderPluginServer, DeviceCallsNeedAPrintInterface) {
    RenderPrinter printer;
    RenderModule module;
    IPrintOemUni3* plugin = module.Create();
    ASSERT_NE(plugin, nullptr);
    SpoolCapture capture;
    IUnknown* unknown = nullptr;
    ASSERT_EQ(plugin->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(plugin->PublishDriverInterface(&capture), E_FAIL);
    EXPECT_EQ(plugin->PublishDriverInterface(nullptr), E_INVALIDARG);
    void* other = nullptr;
    EXPECT_EQ(plugin->QueryInterface(IID_IPrintOemCommon, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    IPrintOemUni2* level2 = nullptr;
    ASSERT_EQ(plugin->QueryInterface(IID_IPrintOemUni2, reinterpret_cast<void**>(&level2)), S_OK);
    EXPECT_EQ(plugin->PublishDriverInterface(&capture), S_OK);
    EXPECT_EQ(capture.references, 2u);
    level2->Release();
    unknown->Release();
    plugin->Release();
    EXPECT_EQ(capture.references, 1u);
}

TEST(RenderPluginInfo, AnswersSignatureAndVersionWithTheSizingProtocol) {
    RenderPrinter printer;
    RenderModule module;
    IPrintOemUni3* plugin = module.Create();
    ASSERT_NE(plugin, nullptr);
    BYTE buffer[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    DWORD needed = 0;
    EXPECT_EQ(plugin->GetInfo(OEMGI_GETSIGNATURE, buffer, 3, &needed), E_FAIL);
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(plugin->GetInfo(OEMGI_GETINTERFACEVERSION, buffer, 4, &needed), E_INVALIDARG);
    EXPECT_EQ(plugin->GetInfo(OEMGI_GETSIGNATURE, buffer, 4, nullptr), E_INVALIDARG);
    needed = 77;
    ASSERT_EQ(plugin->GetInfo(OEMGI_GETSIGNATURE, buffer, 4, &needed), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "MOLT");
    EXPECT_EQ(buffer[4], 0xEE);
    EXPECT_EQ(needed, 77u);
    ASSERT_EQ(plugin->GetInfo(OEMGI_GETVERSION, buffer, 4, &needed), S_OK);
    EXPECT_EQ(buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) | (buffer[3] << 24), 0x100);
    plugin->Release();
}

TEST(RenderPluginInfo, ImplementsOnlyImageProcessingAndCommandCallback) {
    RenderPrinter printer;
    RenderModule module;
    IPrintOemUni3* plugin = module.Create();
    ASSERT_NE(plugin, nullptr);
    char lower[] = "commandcallback";
    char image[] = "ImageProcessing";
    char filter[] = "FilterGraphics";
    EXPECT_EQ(plugin->GetImplementedMethod(lower), S_OK);
    EXPECT_EQ(plugin->GetImplementedMethod(image), S_OK);
    EXPECT_EQ(plugin->GetImplementedMethod(filter), E_FAIL);
    EXPECT_EQ(plugin->GetImplementedMethod(nullptr), S_FALSE);
    // A string-resource id that names no method.
    EXPECT_EQ(plugin->GetImplementedMethod(reinterpret_cast<PSTR>(101)), E_FAIL);
    plugin->Release();
}

TEST(RenderPluginDevMode, DefaultsToA4OutsideTheUnitedStates) {
    for (LCID locale : {1031u, 1033u}) {
        RenderPrinterSetup setup;
        setup.machine.systemLocale = locale;
        RenderPrinter printer(setup);
        RenderModule module;
        IPrintOemUni3* plugin = module.Create();
        ASSERT_NE(plugin, nullptr);
        DEVMODEW devmode = {};
        devmode.dmSize = sizeof devmode;
        devmode.dmPaperSize = 1;
        OEMDMPARAM param = {sizeof(OEMDMPARAM), nullptr, printer.handle(), nullptr, &devmode,
                            &devmode,           nullptr, nullptr,          0};
        ASSERT_EQ(plugin->DevMode(OEMDM_SIZE, &param), S_OK);
        std::vector<BYTE> privateDevMode(param.cbBufSize);
        param.pOEMDMOut = privateDevMode.data();
        EXPECT_EQ(plugin->DevMode(OEMDM_DEFAULT, &param), S_OK);
        EXPECT_EQ(devmode.dmPaperSize, locale == 1033 ? 1 : 9) << locale;
        EXPECT_EQ((devmode.dmFields & DM_PAPERSIZE) != 0, locale != 1033) << locale;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(privateDevMode.data()) + 4, 4), "MOLT");
        EXPECT_EQ(plugin->DevMode(5, &param), E_INVALIDARG);
        EXPECT_EQ(plugin->DevMode(OEMDM_SIZE, nullptr), E_INVALIDARG);
        plugin->Release();
    }
}

TEST(RenderPluginOutput, WritePrinterSpoolsThroughTheDriver) {
    RenderPrinter printer;
    RenderModule module;
    RenderJob job(module, printer.handle());
    ASSERT_NE(job.plugin(), nullptr);
    DWORD written = 99;
    EXPECT_EQ(job.plugin()->WritePrinter(nullptr, nullptr, 0, &written), S_OK);
    EXPECT_EQ(written, 0u);
    char data[] = "raster";
    EXPECT_EQ(job.plugin()->WritePrinter(nullptr, data, 6, &written), E_FAIL);
    EXPECT_EQ(job.plugin()->WritePrinter(&job.devobj, data, 6, &written), S_OK);
    EXPECT_EQ(written, 6u);
    EXPECT_EQ(job.capture.stream, Bytes("raster"));
}

TEST(RenderPluginOutput, ImageProcessingHandsTheBandBack) {
    RenderPrinter printer;
    RenderModule module;
    RenderJob job(module, printer.handle());
    ASSERT_NE(job.plugin(), nullptr);
    BYTE band[16] = {1, 2, 3};
    PBYTE result = nullptr;
    EXPECT_EQ(
        job.plugin()->ImageProcessing(&job.devobj, band, nullptr, nullptr, 0, nullptr, &result),
        S_OK);
    EXPECT_EQ(result, band);
    EXPECT_EQ(band[0], 1);
    EXPECT_EQ(job.plugin()->ImageProcessing(nullptr, band, nullptr, nullptr, 0, nullptr, &result),
              E_FAIL);
}

// The driver's own DDI functions, as the hooks reach them.
int sendPageCalls = 0;
BOOL APIENTRY DriverSendPage(SURFOBJ*) {
    ++sendPageCalls;
    return TRUE;
}

PFN HookFor(const DRVENABLEDATA& table, ULONG index) {
    for (ULONG i = 0; i < table.c; ++i) {
        if (table.pdrvfn[i].iFunc == index) {
            return table.pdrvfn[i].pfn;
        }
    }
    return nullptr;
}

template <typename Function> Function As(PFN pfn) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(pfn));
}

TEST(RenderPluginHooks, CallTheDriversEntryPointAndNeverAMissingOne) {
    RenderPrinter printer;
    RenderModule module;
    DRVFN own[] = {
        {INDEX_DrvSendPage, reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(DriverSendPage))}};
    DRVENABLEDATA driverTable = {0x30000, 1, own};
    RenderJob job(module, printer.handle(), &driverTable);
    ASSERT_NE(job.plugin(), nullptr);
    ASSERT_EQ(job.hookedTable.c, 24u);
    EXPECT_EQ(job.hookedTable.iDriverVersion, 0x30000u);
    SURFOBJ surface = {};
    surface.dhpdev = reinterpret_cast<DHPDEV>(&job.devobj);
    sendPageCalls = 0;
    auto sendPage = As<PFN_DrvSendPage>(HookFor(job.hookedTable, INDEX_DrvSendPage));
    ASSERT_NE(sendPage, nullptr);
    EXPECT_TRUE(sendPage(&surface));
    EXPECT_EQ(sendPageCalls, 1);
    // The driver gave no DrvStartPage: the hook answers FALSE instead of calling through null.
    auto startPage = As<PFN_DrvStartPage>(HookFor(job.hookedTable, INDEX_DrvStartPage));
    ASSERT_NE(startPage, nullptr);
    EXPECT_FALSE(startPage(&surface));
    // A surface without a PDEV of the plug-in.
    SURFOBJ stranger = {};
    EXPECT_FALSE(sendPage(&stranger));
    EXPECT_EQ(sendPageCalls, 1);
}

TEST(RenderPluginHooks, TwoDevicesShareTheRenderHeapUntilBothAreDisabled) {
    RenderPrinter printer;
    RenderModule module;
    auto first = std::make_unique<RenderJob>(module, printer.handle());
    auto second = std::make_unique<RenderJob>(module, printer.handle());
    ASSERT_NE(first->plugin(), nullptr);
    ASSERT_NE(second->plugin(), nullptr);
    first.reset();
    // The second device still works on its own state.
    auto [result, bytes] = second->Callback(101);
    EXPECT_EQ(result, S_OK);
    EXPECT_EQ(bytes, Bytes("\x1b&l0S"));
}

} // namespace
} // namespace moltr::test
