// `moltr compile` as description authors run it: the JSON document's shape and the exit status.
#include "driver_test_printer.h"
#include "moltr_run.h"

#include <cstdio>

namespace moltr::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSample = fs::path(MOLTR_SOURCE_DIR) / "samples/MOLTR4KC.GPD";

TEST(MoltrCompile, JsonDocumentOfTheSample) {
    sim::TestMachine machine;
    MoltrRun run = Moltr("compile " + kSample.string() + " --json");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(0u, run.output.rfind("{\"result\": 1, \"messages\": [{\"id\": 61301, \"class\": 0, "
                                   "\"text\": \"Processing...\"}",
                                   0))
        << run.output.substr(0, 200);
    for (const char* part :
         {"\"structures\": [{\"name\": \"UIPINFO\", \"parent\": null, \"recordSize\": ",
          "{\"name\": \"SHEET\", \"parent\": \"UIPINFO\"",
          "{\"name\": \"TAG\", \"type\": 100, \"offset\": 0, \"size\": 8, \"count\": 1}",
          "\"CAPTION\": \"General\"", "\"SHEET\": {\"first\": 0, \"end\": 6}",
          "\"VALUE\": {\"reference\": \"OEMDEVMODE._BOOKLET\", \"type\": 1, \"value\": 1}",
          "\"_WMK_TEXT\": \"Confidential\"", "\"_FORMSIZE_LIST\": [9, 9, 9, 9, 9, 9, 9]"}) {
        EXPECT_NE(std::string::npos, run.output.find(part)) << part;
    }
    EXPECT_EQ('\n', run.output.back());
}

TEST(MoltrCompile, ErrorsGiveExitStatusOne) {
    sim::TestMachine machine;
    std::string source = std::string(kFolder) + "broken.xpd";
    WriteDescription(source, "*XPDSTRUCT: X\n{\n    *FIELD Y\n}\n");
    MoltrRun run = Moltr("compile " + HostFile(source));
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.output.find("61901 2 ")) << run.output;
}

TEST(MoltrImage, WritesTheStoredBytes) {
    sim::TestMachine machine;
    fs::path out = fs::path(machine.root()) / "oemdevmode.bin";
    MoltrRun run = Moltr("image " + kSample.string() + " --struct OEMDEVMODE -o " + out.string());
    EXPECT_EQ(0, run.status);
    std::ifstream in(out, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 160u);
    EXPECT_EQ("MOLT", bytes.substr(0, 4));
}

} // namespace
} // namespace moltr::test
