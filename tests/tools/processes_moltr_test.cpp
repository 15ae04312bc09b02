// `moltr processes`: the machine's processes as text and JSON, ended ones marked, and bad input.
#include "moltr_run.h"

#include "sim/machine.h"
#include "sim/processes_admin.h"

#include <gtest/gtest.h>

#include <string>

namespace moltr::test {
namespace {

TEST(MoltrProcesses, ListsThisProcessRunningAndEndedMoltrsNot) {
    sim::TestMachine machine;
    ASSERT_EQ(Moltr("machine").status, 0); // a moltr that has ended by now
    const MoltrRun json = Moltr("processes --json");
    ASSERT_EQ(json.status, 0);
    const std::string self = "{\"pid\":" + std::to_string(GetCurrentProcessId()) + ",\"name\":";
    const size_t at = json.output.find(self);
    ASSERT_NE(at, std::string::npos) << json.output;
    EXPECT_NE(json.output.find("\"running\":true}", at), std::string::npos);
    EXPECT_NE(json.output.find("\"name\":\"moltr\""), std::string::npos);
    EXPECT_NE(json.output.find("\"running\":false"), std::string::npos);
    EXPECT_EQ(json.output.front(), '[');

    const MoltrRun text = Moltr("processes");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.output.find(std::to_string(GetCurrentProcessId())), std::string::npos);
    EXPECT_NE(text.output.find("ended (0)"), std::string::npos);
}

TEST(MoltrProcesses, HelpAndBadInput) {
    sim::TestMachine machine;
    const MoltrRun help = Moltr("processes --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("usage: moltr processes [--json]"), std::string::npos);
    EXPECT_EQ(Moltr("processes --xml").status, 2);
    EXPECT_EQ(Moltr("processes extra").status, 2);
}

} // namespace
} // namespace moltr::test
