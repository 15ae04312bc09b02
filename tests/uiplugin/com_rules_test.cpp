// The COM rules of MOLTRUIP on the module loaded from a printer's driver files: its class objects,
// the interfaces its objects answer, GetInfo's sizing protocol, the argument checks that come
// before any work, and when the module may be unloaded.
#include <gtest/gtest.h>
#include "uiplugin/ui_module.h"
#include "uiplugin/ui_printer.h"

namespace moltr::test {
namespace {

class ComRulesTest : public ::testing::Test {
protected:
    UiPrinter printer_;
    UiModule module_;
};

TEST_F(ComRulesTest, ServesTheUiAndTicketClassesOnly) {
    void* object = reinterpret_cast<void*>(1);
    // {00000000-0000-0000-C000-000000000046} is IUnknown's id, no class of this module.
    EXPECT_EQ(module_.GetClassObject(IID_IUnknown, IID_IClassFactory, &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module_.GetClassObject(kTicketProviderClass, IID_IClassFactory,
                                     reinterpret_cast<void**>(&factory)),
              S_OK);
    // Any outer object is refused; the factory itself serves as one here.
    EXPECT_EQ(factory->CreateInstance(factory, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    factory->Release();
}

TEST_F(ComRulesTest, ThePluginAnswersItsInterfacesAsOneObject) {
    IPrintOemUI2* plugin = module_.CreatePlugin();
    ASSERT_NE(plugin, nullptr);
    void* ui = nullptr;
    void* unknown = nullptr;
    EXPECT_EQ(plugin->QueryInterface(IID_IPrintOemUI, &ui), S_OK);
    EXPECT_EQ(plugin->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(ui, static_cast<void*>(plugin));
    EXPECT_EQ(unknown, static_cast<void*>(plugin));
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(plugin->QueryInterface(IID_IPrintOemUni, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    static_cast<IUnknown*>(ui)->Release();
    static_cast<IUnknown*>(unknown)->Release();
    EXPECT_EQ(plugin->Release(), 0u);
}

TEST_F(ComRulesTest, AnInterfaceThePluginLacksGivesTheTicketProvider) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(
        module_.GetClassObject(kOemUiClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
        S_OK);
    void* provider = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemPrintTicketProvider, &provider), S_OK);
    ASSERT_NE(provider, nullptr);
    void* ui = reinterpret_cast<void*>(1);
    EXPECT_EQ(static_cast<IUnknown*>(provider)->QueryInterface(IID_IPrintOemUI, &ui),
              E_NOINTERFACE);
    EXPECT_EQ(ui, nullptr);
    void* neither = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUni, &neither), E_NOINTERFACE);
    EXPECT_EQ(neither, nullptr);
    factory->Release();
    static_cast<IUnknown*>(provider)->Release();
    // Neither object of the failed creation is left counted.
    EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(ComRulesTest, GetInfoAnswersSignatureAndVersionThroughItsSizingProtocol) {
    IPrintOemUI2* plugin = module_.CreatePlugin();
    ASSERT_NE(plugin, nullptr);
    DWORD value = 0xA5A5A5A5;
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_EQ(plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 3, &needed), E_FAIL);
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(value, 0xA5A5A5A5u);
    needed = 0;
    EXPECT_EQ(plugin->GetInfo(OEMGI_GETVERSION, nullptr, 4, &needed), E_FAIL);
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(plugin->GetInfo(OEMGI_GETINTERFACEVERSION, &value, 4, &needed), E_INVALIDARG);
    EXPECT_EQ(plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 4, nullptr), E_INVALIDARG);
    ASSERT_EQ(plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 4, &needed), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&value), 4), "MOLT");
    ASSERT_EQ(plugin->GetInfo(OEMGI_GETVERSION, &value, 8, &needed), S_OK);
    EXPECT_EQ(value, 0x100u);
    plugin->Release();
}

TEST_F(ComRulesTest, ArgumentsAreCheckedBeforeAnyWork) {
    IPrintOemUI2* plugin = module_.CreatePlugin();
    ASSERT_NE(plugin, nullptr);
    OEMDMPARAM param = {sizeof(OEMDMPARAM),
                        nullptr,
                        printer_.handle(),
                        nullptr,
                        nullptr,
                        nullptr,
                        nullptr,
                        nullptr,
                        0};
    EXPECT_EQ(plugin->DevMode(0, &param), E_INVALIDARG);
    EXPECT_EQ(plugin->DevMode(5, &param), E_INVALIDARG);
    EXPECT_EQ(plugin->DevMode(OEMDM_SIZE, nullptr), E_INVALIDARG);
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.Version = 0x0101;
    EXPECT_EQ(plugin->DocumentPropertySheets(&info, 0), E_INVALIDARG);
    EXPECT_EQ(plugin->DevicePropertySheets(&info, 0), E_INVALIDARG);
    EXPECT_EQ(plugin->DevicePropertySheets(nullptr, 0), E_INVALIDARG);
    WCHAR empty[] = {0};
    EXPECT_EQ(plugin->PrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0), E_INVALIDARG);
    EXPECT_EQ(plugin->PrinterEvent(empty, PRINTER_EVENT_INITIALIZE, 0, 0), E_INVALIDARG);
    EXPECT_EQ(plugin->CommonUIProp(OEMCUIP_DOCPROP, nullptr), E_INVALIDARG);
    EXPECT_EQ(plugin->PublishDriverInterface(nullptr), E_INVALIDARG);
    // The pass-through methods have no entry of their own in this product.
    EXPECT_EQ(plugin->HideStandardUI(0), E_NOTIMPL);
    EXPECT_EQ(plugin->UpgradePrinter(1, nullptr), E_NOTIMPL);
    plugin->Release();
}

TEST_F(ComRulesTest, TheModuleStaysWhileALockOrAnObjectLives) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(
        module_.GetClassObject(kOemUiClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
        S_OK);
    EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    // No object lives, but the lock does.
    EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
    ASSERT_EQ(
        module_.GetClassObject(kOemUiClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
        S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    IPrintOemUI2* plugin = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin)),
              S_OK);
    factory->Release();
    EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
    plugin->Release();
    EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(ComRulesTest, TheTicketProviderAnswersVersionOneAndNoConflicts) {
    IPrintOemPrintTicketProvider* provider = module_.CreateProvider();
    ASSERT_NE(provider, nullptr);
    INT* versions = nullptr;
    INT count = 0;
    ASSERT_EQ(provider->GetSupportedVersions(printer_.handle(), &versions, &count), S_OK);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(versions[0], 1);
    CoTaskMemFree(versions);
    EXPECT_EQ(provider->GetSupportedVersions(printer_.handle(), nullptr, &count), E_INVALIDARG);
    OEMPTOPTS options = OEMPT_NOSNAPSHOT;
    INT devModeId = -1, namespaces = -1;
    BSTR* uris = reinterpret_cast<BSTR*>(1);
    EXPECT_EQ(provider->BindPrinter(printer_.handle(), 2, &options, &devModeId, &namespaces, &uris),
              E_VERSION_NOT_SUPPORTED);
    EXPECT_EQ(provider->BindPrinter(nullptr, 1, &options, &devModeId, &namespaces, &uris),
              E_INVALIDARG);
    ASSERT_EQ(provider->BindPrinter(printer_.handle(), 1, &options, &devModeId, &namespaces, &uris),
              S_OK);
    EXPECT_EQ(options, OEMPT_DEFAULT);
    EXPECT_EQ(devModeId, 0);
    EXPECT_EQ(namespaces, 0);
    EXPECT_EQ(uris, nullptr);
    EXPECT_EQ(provider->ValidatePrintTicket(nullptr), S_NO_CONFLICT);
    EXPECT_EQ(provider->CompletePrintCapabilities(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(provider->QueryDeviceDefaultNamespace(nullptr), E_INVALIDARG);
    EXPECT_EQ(provider->PublishPrintTicketHelper(nullptr), E_INVALIDARG);
    EXPECT_EQ(provider->Release(), 0u);
    EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

} // namespace
} // namespace moltr::test
