// The `moltr` commands on a printer the OS's way: added (and so initialised by the UI plug-in),
// then asked for its printer information, device capabilities, document devmode and tickets.
#include <gtest/gtest.h>
#include <string>
#include "moltr_run.h"
#include "sim/machine.h"

namespace moltr::test {
namespace {

const std::string kTickets = std::string(MOLTR_SOURCE_DIR) + "/tests/uiplugin/tickets/";

class MoltrCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Moltr("printer add Office").status, 0); }

    sim::TestMachine machine_;
};

TEST_F(MoltrCommands, PrinterInfoShowsThePrinterAsTheSpoolerKeepsIt) {
    MoltrRun info = Moltr("printer info Office --json");
    ASSERT_EQ(info.status, 0);
    EXPECT_EQ(info.output,
              "{\"name\": \"Office\", \"driver\": \"MOLTR ColorLaser 4000 PCL5c\", \"port\": "
              "\"LPT1:\", \"printProcessor\": \"winprint\", \"datatype\": \"RAW\", "
              "\"attributes\": 64, \"status\": 0, \"jobs\": 0}\n");
    EXPECT_EQ(Moltr("printer info Nowhere").status, 2);
}

TEST_F(MoltrCommands, DevcapsAnswersThroughTheDriverAndThePlugin) {
    MoltrRun minimum = Moltr("devcaps Office minextent --json");
    ASSERT_EQ(minimum.status, 0);
    EXPECT_EQ(minimum.output, "{\"result\": " + std::to_string(762 | (1270 << 16)) +
                                  ", \"x\": 762, \"y\": 1270}\n");
    MoltrRun bins = Moltr("devcaps Office binnames --json");
    ASSERT_EQ(bins.status, 0);
    EXPECT_EQ(bins.output.rfind("{\"result\": 7, \"names\": [\"Automatically Select\", ", 0), 0u)
        << bins.output;
    EXPECT_EQ(Moltr("devcaps Office staples").status, 2);
    EXPECT_EQ(Moltr("devcaps Nowhere papers").status, 2);
}

TEST_F(MoltrCommands, DevmodeDocumentMergesTheChangesAskedFor) {
    MoltrRun defaults = Moltr("devmode Office --document --json");
    ASSERT_EQ(defaults.status, 0);
    EXPECT_NE(defaults.output.find("\"dmTTOption\": 2"), std::string::npos) << defaults.output;
    EXPECT_NE(defaults.output.find("\"private\": {\"_SIZE\": "), std::string::npos);
    MoltrRun changed =
        Moltr("devmode Office --document --set dmCopies=4 --set _PAGEORDER=0 --json");
    ASSERT_EQ(changed.status, 0);
    EXPECT_NE(changed.output.find("\"dmCopies\": 4"), std::string::npos) << changed.output;
    EXPECT_NE(changed.output.find("\"_PAGEORDER\": 0"), std::string::npos) << changed.output;
    EXPECT_EQ(Moltr("devmode Office --document --set _NOSUCHFIELD=1").status, 2);
    EXPECT_EQ(Moltr("devmode Office --document --set dmCopies").status, 2);
}

TEST_F(MoltrCommands, TicketShowsBothAnswersAndTheDump) {
    MoltrRun complete = Moltr("ticket Office " + kTickets + "capabilities.xml --json");
    ASSERT_EQ(complete.status, 0);
    EXPECT_EQ(complete.output.rfind("{\"complete\": \"0x00000000\", \"validate\": \"0x00040001\", "
                                    "\"dump\": [\"Element: psf:PrintCapabilities\", ",
                                    0),
              0u)
        << complete.output;
    MoltrRun missing = Moltr("ticket Office " + kTickets + "no_keywords_prefix.xml --json");
    ASSERT_EQ(missing.status, 0);
    EXPECT_EQ(missing.output,
              "{\"complete\": \"0x80004004\", \"validate\": \"0x00040001\", \"dump\": []}\n");
    EXPECT_EQ(Moltr("ticket Office " + kTickets + "absent.xml").status, 2);
}

} // namespace
} // namespace moltr::test
