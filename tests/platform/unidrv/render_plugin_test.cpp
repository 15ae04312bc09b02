// The renderer's loading of a driver's render plug-in: the file the plug-in settings name among
// the dependent files, the interface asked for from the newest down, the driver's services
// published to it, and the failures; and the services' DrvWriteSpoolBuf on its own.
#include "src/unidrv/driver_services.h"
#include "src/unidrv/render_plugin.h"

#include "driver_printer.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using moltr::unidrv::DriverServices;
using moltr::unidrv::RenderPlugin;

constexpr char kInstalledStub[] = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\STUBRPC.DLL";

std::string BuiltStub() {
    return (std::filesystem::canonical("/proc/self/exe").parent_path() / "STUBRPC.DLL").string();
}

template <typename Function> Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string Text(const std::vector<BYTE>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class RenderPluginLoad : public moltr::test::DriverPrinterTest {
protected:
    void Install(const std::string& settings) {
        InstallPrinter("*ModelName: \"Stub\"\r\n", {WriteFile("STUB.INI", settings), BuiltStub()});
        std::u16string stub = moltr::sim::Utf16(kInstalledStub);
        stub_ = LoadLibraryW(moltr::sim::W(stub));
        ASSERT_NE(stub_, nullptr);
    }

    void TearDown() override {
        DriverPrinterTest::TearDown();
        if (stub_) {
            Offer(3);
            FreeLibrary(stub_);
        }
    }

    void Offer(int level) {
        auto offer = Export<void(WINAPI*)(int)>(stub_, "StubOffer");
        ASSERT_NE(offer, nullptr);
        offer(level);
    }

    HRESULT StubCanUnload() {
        auto canUnload = Export<HRESULT(STDAPICALLTYPE*)()>(stub_, "DllCanUnloadNow");
        return canUnload ? canUnload() : E_FAIL;
    }

    static constexpr char kSettings[] = "[OEMFiles]\r\nOEMDriverFile1=STUBRPC.DLL\r\n";

    HMODULE stub_ = nullptr;
    std::vector<BYTE> output_;
};

TEST_F(RenderPluginLoad, TheNewestInterfaceIsTakenAndTheServicesArePublished) {
    Install(kSettings);
    {
        RenderPlugin plugin;
        ASSERT_EQ(plugin.Load(printer_, &output_), S_OK);
        EXPECT_EQ(plugin.level(), 3);
        EXPECT_NE(plugin.plugin(), nullptr);
        EXPECT_EQ(Text(output_), "3 published");
        EXPECT_EQ(plugin.signature(), 0x42555453u);
        EXPECT_EQ(plugin.version(), 0x100u);
        EXPECT_EQ(StubCanUnload(), S_FALSE);
    }
    EXPECT_EQ(StubCanUnload(), S_OK);
}

TEST_F(RenderPluginLoad, OnlyTheOptionalMethodsOfItsInterfaceLevelAreAskedFor) {
    Install(kSettings);
    RenderPlugin plugin;
    ASSERT_EQ(plugin.Load(printer_, &output_), S_OK);
    plugin.AskImplementedMethods();
    EXPECT_TRUE(plugin.Implements("CommandCallback"));
    EXPECT_TRUE(plugin.Implements("WritePrinter"));
    EXPECT_FALSE(plugin.Implements("ImageProcessing"));
    Offer(1);
    ASSERT_EQ(plugin.Load(printer_, &output_), S_OK);
    plugin.AskImplementedMethods();
    EXPECT_TRUE(plugin.Implements("CommandCallback"));
    EXPECT_FALSE(plugin.Implements("WritePrinter")); // an IPrintOemUni2 method
}

TEST_F(RenderPluginLoad, OlderInterfacesAreAskedForInTurn) {
    Install(kSettings);
    for (int level : {2, 1}) {
        Offer(level);
        output_.clear();
        RenderPlugin plugin;
        ASSERT_EQ(plugin.Load(printer_, &output_), S_OK) << level;
        EXPECT_EQ(plugin.level(), level);
        EXPECT_EQ(Text(output_), std::to_string(level) + " published");
    }
}

TEST_F(RenderPluginLoad, AnObjectWithoutPluginInterfacesIsRefusedAndReleased) {
    Install(kSettings);
    Offer(0);
    RenderPlugin plugin;
    EXPECT_EQ(plugin.Load(printer_, &output_), E_NOINTERFACE);
    EXPECT_EQ(plugin.plugin(), nullptr);
    EXPECT_EQ(plugin.level(), 0);
    EXPECT_TRUE(output_.empty());
    EXPECT_EQ(StubCanUnload(), S_OK);
}

TEST_F(RenderPluginLoad, APluginThatIsNotNamedOrNotADependentFileIsNotFound) {
    Install("[OEMFiles]\r\nOEMDriverFile1=OTHERRPC.DLL\r\n");
    RenderPlugin plugin;
    EXPECT_EQ(plugin.Load(printer_, &output_), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    auto settings = [](const char* text) {
        std::ofstream(moltr::sim::HostPath(moltr::sim::W(moltr::sim::Utf16(
                          "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\STUB.INI"))),
                      std::ios::binary)
            << text;
    };
    settings("[Other]\r\nOEMDriverFile1=STUBRPC.DLL\r\n");
    EXPECT_EQ(plugin.Load(printer_, &output_), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    // The UI plug-in's key names no render plug-in.
    settings("[OEMFiles]\r\nOEMConfigFile1=STUBRPC.DLL\r\n");
    EXPECT_EQ(plugin.Load(printer_, &output_), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(output_.empty());
}

TEST_F(RenderPluginLoad, ABadPrinterHandleGivesTheSpoolersError) {
    Install(kSettings);
    RenderPlugin plugin;
    EXPECT_EQ(plugin.Load(nullptr, &output_), HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE));
}

TEST(DriverServicesWrite, BytesAreAppendedAndBadArgumentsWriteNothing) {
    std::vector<BYTE> output{'<'};
    auto* services = new DriverServices(&output);
    DWORD written = 99;
    char bytes[] = {'a', '\0', 'b'};
    EXPECT_EQ(services->DrvWriteSpoolBuf(nullptr, bytes, 3, &written), S_OK);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(services->DrvWriteSpoolBuf(nullptr, nullptr, 0, &written), S_OK);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(services->DrvWriteSpoolBuf(nullptr, nullptr, 5, &written), E_FAIL);
    EXPECT_EQ(services->DrvWriteSpoolBuf(nullptr, bytes, 3, nullptr), E_FAIL);
    EXPECT_EQ(output, (std::vector<BYTE>{'<', 'a', '\0', 'b'}));

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(services->QueryInterface(IID_IPrintOemUni, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(services->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 1u);
    EXPECT_EQ(services->Release(), 0u);
}

} // namespace
