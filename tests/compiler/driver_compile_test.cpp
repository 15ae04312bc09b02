// The compile driver: when a printer's descriptions are compiled, which roots are stored in first
// and update compiles, and the "Timestamp" of the source.
#include "driver_test_printer.h"

namespace moltr::test {
namespace {

const char kSource[] = "*XPDSTRUCT: OEMDEVMODE\n"
                       "{\n"
                       "    *FIELD: _EXTRA { *FIELDTYPE: DWORD }\n"
                       "}\n"
                       "*OEMDEVMODE: DEFAULT\n"
                       "{\n"
                       "    *_VERSION: 1\n"
                       "    *_PDLTYPE: =PDLTYPE_PCL5_COLOR\n"
                       "    *_EXTRA: 7\n"
                       "}\n"
                       "*PRINTERSETTINGS: DEFAULT\n"
                       "{\n"
                       "    *_VERSION: 1\n"
                       "    *_PDLTYPE: 42\n"
                       "}\n"
                       "*XPDSTRUCT: WATERMARKSETTINGS\n"
                       "{\n"
                       "    *FORCEWRITE: ON\n"
                       "    *FIELD: COUNT { *FIELDTYPE: WORD }\n"
                       "}\n"
                       "*XPDSTRUCT: CUSTOMMEDIA\n"
                       "{\n"
                       "    *FORCEWRITE: ON\n"
                       "    *FIELD: COUNT { *FIELDTYPE: WORD }\n"
                       "}\n";

const std::string kPath = std::string(kFolder) + "moltr.xpd";

// More nested merges than there are lookup cursors.
constexpr int kMergeDepth = 40;

std::vector<std::string> Names(const std::vector<std::u16string>& names) {
    std::vector<std::string> utf8;
    for (const std::u16string& name : names) {
        utf8.push_back(sim::Utf8(name));
    }
    return utf8;
}

// Moves the source's last-write time one hour ahead.
void Touch(const std::string& windowsPath) {
    std::filesystem::path host = HostFile(windowsPath);
    std::filesystem::last_write_time(host, std::filesystem::last_write_time(host) +
                                               std::chrono::hours(1));
}

class CompileDriver : public ::testing::Test {
protected:
    CompileDriver() : printer_((WriteDescription(kPath, kSource), HostFile(kPath))) {}

    sim::TestMachine machine_;
    TestPrinter printer_;
};

TEST_F(CompileDriver, FirstCompileStoresEveryRootWithItsTimestamp) {
    // UIPINFO, PRNINFO and REGINFO have no values and are not written (61601, the compile's
    // worst class), the roots with *FORCEWRITE are written with one empty record.
    EXPECT_EQ(1, printer_.Compile(kPath));
    EXPECT_EQ((std::vector<std::string>{"DOCUMENTFEATURE", "PRINTERFEATURE", "OEMDEVMODE",
                                        "PRINTERSETTINGS", "WATERMARKSETTINGS", "CUSTOMMEDIA"}),
              Names(printer_.stored));
    EXPECT_TRUE(printer_.Raised(61601));
    EXPECT_TRUE(printer_.Data(u"PRNINFO").empty());
    EXPECT_FALSE(printer_.Data(u"CUSTOMMEDIA").empty());
    EXPECT_EQ(16u, printer_.Data(u"Timestamp").size());
    // OEMDEVMODE: the built-in 401 bytes and the extra DWORD.
    store::StructureRecord* record = nullptr;
    std::u16string name = TestPrinter::kName;
    ASSERT_EQ(0, store::OpenByName(sim::W(name), L"OEMDEVMODE", &record));
    store::StructureHandle handle = nullptr;
    ASSERT_EQ(0, store::GetStructure(record, L"OEMDEVMODE", &handle, nullptr));
    EXPECT_EQ(401u, store::GetFieldOffset(handle, L"_EXTRA"));
    DWORD extra = 0;
    EXPECT_EQ(0, store::GetField(handle, L"_EXTRA", &extra, sizeof extra));
    EXPECT_EQ(7u, extra);
    store::Close(&record);
}

TEST_F(CompileDriver, ReportsProgressInOrder) {
    printer_.Compile(kPath);
    ASSERT_GE(printer_.messages.size(), 3u);
    EXPECT_EQ(61301u, printer_.messages[0].id);
    std::vector<std::string> roots;
    bool compiling = false;
    for (const compiler::CompileMessage& message : printer_.messages) {
        compiling = compiling || message.id == 61303;
        if (message.id == 61304) {
            EXPECT_TRUE(compiling);
            roots.push_back(sim::Utf8(message.arguments.at(0)));
        }
    }
    EXPECT_EQ((std::vector<std::string>{"UIPINFO", "PRNINFO", "REGINFO", "DOCUMENTFEATURE",
                                        "PRINTERFEATURE", "OEMDEVMODE", "PRINTERSETTINGS",
                                        "WATERMARKSETTINGS", "CUSTOMMEDIA"}),
              roots);
}

TEST_F(CompileDriver, UnchangedSourceIsNotCompiledAgain) {
    printer_.Compile(kPath);
    EXPECT_EQ(0, printer_.Compile(kPath));
    EXPECT_TRUE(printer_.stored.empty());
    EXPECT_TRUE(printer_.messages.empty());
}

TEST_F(CompileDriver, UpdateKeepsTheDevmodeAndTheSettingsRoots) {
    printer_.Compile(kPath);
    std::vector<BYTE> stamp = printer_.Data(u"Timestamp");
    const std::vector<BYTE> written = {1, 2, 3};
    for (const char16_t* root :
         {u"OEMDEVMODE", u"PRINTERSETTINGS", u"WATERMARKSETTINGS", u"CUSTOMMEDIA"}) {
        printer_.SetData(root, written);
    }
    Touch(kPath);
    EXPECT_EQ(1, printer_.Compile(kPath)) << "the roots without values warn";
    EXPECT_EQ((std::vector<std::string>{"DOCUMENTFEATURE", "PRINTERFEATURE", "CUSTOMMEDIA"}),
              Names(printer_.stored));
    EXPECT_EQ(written, printer_.Data(u"OEMDEVMODE"));
    EXPECT_EQ(written, printer_.Data(u"PRINTERSETTINGS"));
    EXPECT_EQ(written, printer_.Data(u"WATERMARKSETTINGS"));
    EXPECT_NE(written, printer_.Data(u"CUSTOMMEDIA"));
    EXPECT_NE(stamp, printer_.Data(u"Timestamp"));
}

TEST_F(CompileDriver, FailedCompileWritesNoTimestampAndIsTriedAgain) {
    WriteDescription(kPath, "*XPDSTRUCT: BROKEN\n{\n    *FIELD: X\n}\n");
    EXPECT_GE(printer_.Compile(kPath), 2);
    EXPECT_TRUE(printer_.Data(u"Timestamp").empty());
    EXPECT_GE(printer_.Compile(kPath), 2) << "no timestamp: the next call compiles again";
    EXPECT_FALSE(printer_.messages.empty());
}

TEST_F(CompileDriver, ARootThatFailsFailsTheCompileWhileTheOthersAreStored) {
    // DOCUMENTFEATURE comes before the roots that succeed.
    WriteDescription(kPath, std::string(kSource) + "*DOCUMENTFEATURE: BROKEN\n{\n"
                                                   "    *REFERENCES: NOTHING\n}\n");
    EXPECT_EQ(2, printer_.Compile(kPath));
    EXPECT_TRUE(printer_.Raised(62101));
    EXPECT_EQ((std::vector<std::string>{"PRINTERFEATURE", "OEMDEVMODE", "PRINTERSETTINGS",
                                        "WATERMARKSETTINGS", "CUSTOMMEDIA"}),
              Names(printer_.stored));
    EXPECT_TRUE(printer_.Data(u"DOCUMENTFEATURE").empty());
    EXPECT_TRUE(printer_.Data(u"Timestamp").empty());
}

// An injection merged deeper than the lookups have cursors for fails with 62203; that failure ends
// the compile like any other instead of being dropped.
TEST_F(CompileDriver, AnInjectionThatFailsEndsTheCompile) {
    // Injections are made on the versions descriptions can name.
    sim::MachineConfig config = sim::CurrentConfig();
    config.version.major = 5;
    config.version.minor = 1;
    ASSERT_TRUE(sim::UpdateConfig(config));
    std::string target = "*TARGET: A\n";
    std::string injected = "*INJECTION: ALL\n{\n*INJECTOPTION: O\n{\n*KEY: TARGET\n*VALUE: A\n"
                           "*INJECTINFO: I\n";
    std::string closing;
    for (int level = 0; level < kMergeDepth; ++level) {
        target += "{\n*LEVEL: " + std::to_string(level) + "\n";
        injected += "{\n*LEVEL: " + std::to_string(level) + "\n";
        closing += "}\n";
    }
    injected += "{\n*NEW: 1\n}\n" + closing + "}\n}\n";
    WriteDescription(kPath, std::string(kSource) + target + closing + injected);
    EXPECT_EQ(3, printer_.Compile(kPath));
    EXPECT_TRUE(printer_.Raised(62203));
    EXPECT_TRUE(printer_.stored.empty());
    EXPECT_TRUE(printer_.Data(u"Timestamp").empty());
}

TEST_F(CompileDriver, SourceWithoutStructuresOfItsOwnHasNothingToCompile) {
    for (const char* text : {"", "*MACROS: MINE\n{\n    SIZE: 4\n}\n"}) {
        WriteDescription(kPath, text);
        EXPECT_EQ(2, printer_.Compile(kPath)) << text;
        EXPECT_TRUE(printer_.Raised(62001)) << text;
        EXPECT_TRUE(printer_.stored.empty()) << text;
        EXPECT_TRUE(printer_.Data(u"OEMDEVMODE").empty()) << text;
        EXPECT_TRUE(printer_.Data(u"Timestamp").empty()) << text;
    }
}

TEST_F(CompileDriver, SyntaxErrorStoresNothing) {
    WriteDescription(kPath, "*XPDSTRUCT: X\n{\n    *FIELD Y\n}\n");
    EXPECT_EQ(2, printer_.Compile(kPath));
    EXPECT_TRUE(printer_.stored.empty());
    EXPECT_TRUE(printer_.Raised(61901));
}

TEST_F(CompileDriver, MissingSourceOrPrinterDoesNothing) {
    EXPECT_EQ(0, printer_.Compile(std::string(kFolder) + "missing.xpd"));
    EXPECT_TRUE(printer_.messages.empty());
    EXPECT_TRUE(printer_.stored.empty());
    EXPECT_TRUE(printer_.Data(u"Timestamp").empty());

    // The source exists, the printer does not.
    compiler::CompileRequestData request = {};
    std::u16string source = sim::Utf16(kPath);
    lstrcpynW(request.printerName, L"No such printer", compiler::kPathChars);
    lstrcpynW(request.sourcePath, sim::W(source), compiler::kPathChars);
    int raised = 0;
    std::vector<std::u16string> stored;
    EXPECT_EQ(0, compiler::CompileRequest(
                     request, [&](const compiler::CompileMessage&) { ++raised; }, &stored));
    EXPECT_EQ(raised, 0);
    EXPECT_TRUE(stored.empty());
    EXPECT_TRUE(printer_.Data(u"Timestamp").empty());
}

TEST_F(CompileDriver, DriverNameSelectsModelRecords) {
    WriteDescription(kPath, "*XPDSTRUCT: MODEL\n{\n    *FIELD: SPEED { *FIELDTYPE: WORD }\n}\n"
                            "*MODEL: OTHER\n{\n    *SPEED: 10\n}\n"
                            "*MODEL: \"MOLTR ColorLaser 4000 PCL5c\"\n{\n    *SPEED: 35\n}\n");
    printer_.Compile(kPath);
    std::u16string name = TestPrinter::kName;
    store::StructureRecord* record = nullptr;
    ASSERT_EQ(0, store::OpenByName(sim::W(name), L"MODEL", &record));
    store::StructureHandle handle = nullptr;
    ASSERT_EQ(0, store::GetStructure(record, L"MODEL", &handle, nullptr));
    EXPECT_EQ(1u, store::GetRecordCount(handle));
    WORD speed = 0;
    store::GetField(handle, L"SPEED", &speed, sizeof speed);
    EXPECT_EQ(35u, speed);
    store::Close(&record);
}

// CompileForPrinter takes the driver's first dependent .XPD file as a plain source, else the GPD
// with the embedded flag.
TEST(CompileForPrinter, PrefersADependentXpdFile) {
    sim::TestMachine machine;
    WriteDescription(kPath, kSource);
    std::string gpd = std::string(kFolder) + "printer.gpd";
    WriteDescription(gpd, "*GPDFileVersion: \"1.0\"\n");
    TestPrinter printer(HostFile(gpd), {HostFile(kPath)});
    EXPECT_EQ(1, printer.CompileForPrinter()) << "the roots without values warn";
    EXPECT_FALSE(printer.Data(u"OEMDEVMODE").empty());
    EXPECT_FALSE(printer.Raised(61302) && printer.messages.size() > 1 &&
                 sim::Utf8(printer.messages[1].arguments.at(0)).find(".gpd") != std::string::npos)
        << "the GPD is not read";
}

TEST(CompileForPrinter, ReadsTheEmbeddedBlockOfTheGpd) {
    sim::TestMachine machine;
    std::string gpd = std::string(kFolder) + "printer.gpd";
    WriteDescription(gpd, std::string("*GPDFileVersion: \"1.0\"\n"
                                      "*% XPD BEGIN - DO NOT REMOVE THIS TAG\n"
                                      "*IgnoreBlock\n{\n") +
                              kSource + "}\n*% XPD END - DO NOT REMOVE THIS TAG\n");
    TestPrinter printer(HostFile(gpd));
    EXPECT_EQ(1, printer.CompileForPrinter())
        << ::testing::PrintToString(printer.MessagesOfClass(2));
    EXPECT_FALSE(printer.Data(u"OEMDEVMODE").empty());
    EXPECT_EQ(16u, printer.Data(u"Timestamp").size());
}

TEST(CompileForPrinter, InvalidHandleFails) {
    sim::TestMachine machine;
    EXPECT_EQ(2, compiler::CompileForPrinter(nullptr));
}

} // namespace
} // namespace moltr::test
