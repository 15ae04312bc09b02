// What the resources object reads about the driver around a printer: model name and PDL word,
// the dependent files of the family's roles, the print processor and the sibling versions.
#include "common/driver_environment.h"
#include "resources_printer.h"
#include "sim/registry_admin.h"

#include <iterator>

namespace moltr::common {
namespace {

test::ResourcesPrinterSetup Driver(const std::string& name) {
    test::ResourcesPrinterSetup setup;
    setup.driverName = name;
    return setup;
}

std::string Utf8OrNull(LPCWSTR text) {
    return text ? sim::Utf8(text) : "<null>";
}

// The file name after the last backslash.
std::string FileName(LPCWSTR path) {
    std::string text = Utf8OrNull(path);
    return text.substr(text.rfind('\\') + 1);
}

struct NameCase {
    const char* driver;
    const char* model;
    const char* suffix;
};

class DriverNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(DriverNames, SplitBeforeTheFirstPdlWord) {
    test::ResourcesPrinter printer(Driver(GetParam().driver));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    EXPECT_EQ(Utf8OrNull(resources->GetModelName()), GetParam().model);
    EXPECT_EQ(Utf8OrNull(resources->GetPdlSuffix()), GetParam().suffix);
}

INSTANTIATE_TEST_SUITE_P(
    Words, DriverNames,
    ::testing::Values(NameCase{"MOLTR ColorLaser 4000 PCL6", "MOLTR ColorLaser 4000", "PCL6"},
                      NameCase{"MOLTR ColorLaser 1100 pcl5c", "MOLTR ColorLaser 1100", "pcl5c"},
                      NameCase{"MOLTR Mono 100 PS Level 3", "MOLTR Mono 100", "PS Level 3"},
                      NameCase{"MOLTR Jet Raster PCL", "MOLTR Jet", "Raster PCL"},
                      // Only the space is needed in front: " PCLaser" starts " PCL".
                      NameCase{"MOLTR PCLaser", "MOLTR", "PCLaser"},
                      NameCase{"MOLTRPCL Plotter", "MOLTRPCL Plotter", "<null>"},
                      NameCase{"PCL Laser", "PCL Laser", "<null>"}));

TEST(DriverEnvironment, DependentFilesAreTakenUpperCased) {
    test::ResourcesPrinterSetup setup;
    setup.extraFiles = {"moltr4kc.xpd", "MoltrMdn.dll"};
    test::ResourcesPrinter printer(setup);
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    std::string module = Utf8OrNull(resources->GetResourceModulePath());
    EXPECT_EQ(module.substr(0, 3), "C:\\");
    EXPECT_EQ(FileName(resources->GetResourceModulePath()), "MOLTRRES.DLL");
    EXPECT_EQ(FileName(resources->GetSettingsFilePath()), "MOLTR4KC.INI");
    EXPECT_EQ(FileName(resources->GetNotifierPath()), "MOLTRMDN.EXE");
    EXPECT_EQ(FileName(resources->GetUIPluginPath()), "MOLTRUIP.DLL");
    for (char c : module) {
        EXPECT_FALSE(c >= 'a' && c <= 'z') << module;
    }
}

TEST(DriverEnvironment, SystemPrintProcessorInAnyCaseHasNoPath) {
    test::ResourcesPrinterSetup setup;
    setup.printProcessor = u"winprint";
    test::ResourcesPrinter printer(setup);
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    EXPECT_EQ(resources->GetPrintProcessorPath(), nullptr);
}

TEST(DriverEnvironment, OwnPrintProcessorIsFoundThroughTheRegistry) {
    test::ResourcesPrinterSetup setup;
    setup.printProcessor = u"vorta MOLTR Processor";
    test::ResourcesPrinter printer(setup);
    ASSERT_TRUE(sim::SetRegistryString("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\"
                                       "Print\\Environments\\Windows x64\\Print Processors\\"
                                       "vorta MOLTR Processor",
                                       "Driver", "moltrpp.dll"));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    WCHAR directory[MAX_PATH];
    DWORD needed = 0;
    ASSERT_TRUE(GetPrintProcessorDirectoryW(
        nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory), sizeof(directory), &needed));
    CharUpperW(directory);
    EXPECT_EQ(Utf8OrNull(resources->GetPrintProcessorPath()),
              sim::Utf8(directory) + "\\MOLTRPP.DLL");
    // Entry 2 of the version table is that module, which has no version of its own.
    const ModuleVersions* versions = resources->GetModuleVersions();
    EXPECT_EQ(Utf8OrNull(versions->entries[2].fileName), "MOLTRPP.DLL");
    EXPECT_EQ(sim::Utf8(versions->entries[2].version), "1.00.0000.0");
}

TEST(DriverEnvironment, UnregisteredPrintProcessorHasNoPath) {
    test::ResourcesPrinterSetup setup;
    setup.printProcessor = u"vorta MOLTR Processor";
    test::ResourcesPrinter printer(setup);
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    EXPECT_EQ(resources->GetPrintProcessorPath(), nullptr);
}

TEST(DriverEnvironment, VersionTableNamesTheSiblingsAndTheirVersions) {
    test::ResourcesPrinterSetup setup;
    setup.extraFiles = {"MOLTRUNIRES.DLL"};
    test::ResourcesPrinter printer(setup);
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    const ModuleVersions* versions = resources->GetModuleVersions();
    ASSERT_TRUE(versions);
    // Only the language module has a version resource: 1.0.0.1.
    EXPECT_EQ(versions->product[0], 1u);
    EXPECT_EQ(versions->product[1], 0u);
    EXPECT_EQ(versions->product[2], 0u);
    EXPECT_EQ(versions->product[3], 1u);
    const char* names[9] = {"MOLTRMDN.EXE", "<null>", "<null>",       "MOLTRRPC.DLL", "<null>",
                            "<null>",       "<null>", "MOLTRUIP.DLL", "MOLTRRES.DLL"};
    const char* texts[9] = {"1.00.0000.0", "1.00.0000.0", "1.00.0000.0",
                            "1.00.0000.0", "1.00.0000.0", "1.00.0000.0",
                            "1.00.0000.0", "1.00.0000.0", "1.00.0000.1"};
    for (int index = 0; index < 9; ++index) {
        EXPECT_EQ(Utf8OrNull(versions->entries[index].fileName), names[index]) << index;
        EXPECT_EQ(sim::Utf8(versions->entries[index].version), texts[index]) << index;
    }
}

// The text sits at the very end of its heap block, so that a comparison running past its
// terminator reads outside the block.
TEST(DriverEnvironment, TextSearchStopsAtTheTextsTerminator) {
    auto text = std::make_unique<WCHAR[]>(3);
    text[0] = L'A';
    text[1] = L'B';
    text[2] = L'\0';
    EXPECT_TRUE(ContainsText(text.get(), L"AB"));
    EXPECT_TRUE(ContainsText(text.get(), L"B"));
    EXPECT_TRUE(ContainsText(text.get(), L""));
    EXPECT_FALSE(ContainsText(text.get(), L"ABC"));
    EXPECT_FALSE(ContainsText(text.get(), L"BC"));
    EXPECT_FALSE(ContainsText(text.get(), L"RES.DLL"));
    auto empty = std::make_unique<WCHAR[]>(1);
    EXPECT_FALSE(ContainsText(empty.get(), L"A"));
    EXPECT_TRUE(ContainsText(empty.get(), L""));
}

TEST(DriverEnvironment, HelpFileIsTheDriversOutsideVersion60) {
    test::ResourcesPrinter printer;
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    EXPECT_EQ(FileName(resources->GetHelpFilePath()), "MOLTR.CHM");
}

} // namespace
} // namespace moltr::common

namespace moltr::common {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(MOLTR_SOURCE_DIR) / "samples";

TEST(SamplePrinter, DriverCarriesTheLanguageModuleAndTheSettingsFile) {
    std::ifstream gpd(kSamples / "MOLTR4KC.GPD", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(gpd)), {});
    EXPECT_NE(text.find("*ResourceDLL: \"MOLTRRES.DLL\""), std::string::npos);

    sim::TestMachine machine;
    sim::DriverSetup driver;
    driver.name = u"MOLTR ColorLaser 4000 PCL5c";
    driver.dataFile = (kSamples / "MOLTR4KC.GPD").string();
    driver.dependentFiles = {(kSamples / "MOLTR4KC.INI").string(),
                             test::BuiltModule("MOLTRRES.DLL")};
    ASSERT_TRUE(sim::InstallDriver(driver));
    sim::PrinterSetup setup;
    setup.name = u"MOLTR sample";
    setup.driver = driver.name;
    ASSERT_TRUE(sim::AddPrinter(setup));
    std::u16string name = setup.name;
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(sim::W(name), &printer, nullptr));
    IDrvResources* resources = nullptr;
    ASSERT_EQ(CreatePrinterResources(&resources, printer, nullptr), S_OK);
    EXPECT_EQ(FileName(resources->GetSettingsFilePath()), "MOLTR4KC.INI");
    EXPECT_EQ(
        GetPrivateProfileIntW(L"UIPSETTINGS", L"UIPLANG", 7, resources->GetSettingsFilePath()), 0u);
    EXPECT_EQ(Utf8OrNull(resources->GetPdlSuffix()), "PCL5c");
    WCHAR form[32];
    EXPECT_EQ(resources->LoadString(1217, form, 32), S_OK);
    EXPECT_EQ(sim::Utf8(form), "A4");
    resources->Release();
    ClosePrinter(printer);
}

} // namespace
} // namespace moltr::common
