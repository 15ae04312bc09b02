// The sample printer compiles cleanly on every Windows version the product supports.
#include "driver_test_printer.h"

namespace moltr::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSample = fs::path(MOLTR_SOURCE_DIR) / "samples/MOLTR4KC.GPD";

// The stand-in of the language module that the build makes beside the programs.
fs::path LanguageModule() {
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "samples/MOLTRRES.DLL";
}

class SamplePrinter : public ::testing::TestWithParam<sim::WindowsVersion> {
protected:
    static sim::MachineConfig Config() {
        sim::MachineConfig config;
        config.version = GetParam();
        return config;
    }

    SamplePrinter() : machine_(Config()), printer_(kSample.string(), {LanguageModule().string()}) {}

    sim::TestMachine machine_;
    TestPrinter printer_;
};

TEST_P(SamplePrinter, CompilesEveryRootWithoutAnError) {
    ASSERT_TRUE(fs::exists(LanguageModule())) << LanguageModule();
    const int result = printer_.CompileForPrinter();
    EXPECT_EQ(std::vector<UINT>{}, printer_.MessagesOfClass(2));
    // The only warnings, which make the compile's class 1, are those of Windows versions without
    // exclusions and injections.
    EXPECT_EQ(printer_.MessagesOfClass(1).empty() ? 0 : 1, result);
    for (UINT id : printer_.MessagesOfClass(1)) {
        EXPECT_TRUE(id == 61608 || id == 61609) << id;
    }
    for (const char16_t* root :
         {u"UIPINFO", u"PRNINFO", u"REGINFO", u"DOCUMENTFEATURE", u"PRINTERFEATURE", u"OEMDEVMODE",
          u"PRINTERSETTINGS", u"WATERMARKSETTINGS", u"DOCUMENTSETTINGS"}) {
        EXPECT_FALSE(printer_.Data(root).empty()) << sim::Utf8(root);
    }
    EXPECT_EQ("General", printer_.Text(u"UIPINFO", u"SHEET", u"CAPTION"));
    EXPECT_EQ("Confidential", printer_.Text(u"OEMDEVMODE", u"OEMDEVMODE", u"_WMK_TEXT"));
}

TEST_P(SamplePrinter, VividColourOnlyFromWindowsXp) {
    printer_.CompileForPrinter();
    std::u16string name = TestPrinter::kName;
    store::StructureRecord* record = nullptr;
    ASSERT_EQ(0, store::OpenByName(sim::W(name), L"DOCUMENTFEATURE", &record));
    store::StructureHandle feature = nullptr;
    ASSERT_EQ(0, store::GetStructure(record, L"DOCUMENTFEATURE", &feature, L"COLORMETHOD"));
    store::StructureHandle options = nullptr;
    ASSERT_EQ(0, store::GetStructure(record, L"OPTION", &options, nullptr));
    bool windows2000 = GetParam().major == 5 && GetParam().minor == 0;
    EXPECT_EQ(windows2000 ? 3u : 4u, store::GetRecordCount(options));
    store::Close(&record);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, SamplePrinter,
    ::testing::Values(sim::WindowsVersion{5, 0, 2195, 4}, sim::WindowsVersion{5, 1, 2600, 3},
                      sim::WindowsVersion{5, 2, 3790, 2}, sim::WindowsVersion{6, 0, 6002, 2},
                      sim::WindowsVersion{6, 1, 7601, 1}, sim::WindowsVersion{10, 0, 19045, 0}),
    [](const auto& info) {
        return "Windows" + std::to_string(info.param.major) + "_" +
               std::to_string(info.param.minor);
    });

} // namespace
} // namespace moltr::test
