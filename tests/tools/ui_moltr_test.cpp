// `moltr ui`: the command line's contract (one-line errors, exit status 2) and, on the sample
// printer's sheets, what a user's actions leave in the devmode and what the report shows.
#include "moltr_run.h"
#include "sim/machine.h"

#include <gtest/gtest.h>

#include <string>

namespace moltr::test {
namespace {

class MoltrUi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, Moltr("printer add Sample").status); }

    sim::TestMachine machine_;
};

// Every wrong command line is refused before a sheet opens, with nothing on standard output.
TEST_F(MoltrUi, WrongCommandLinesExitWithStatusTwo) {
    for (const char* arguments : {
             "ui",
             "ui Sample",
             "ui Sample --document --printer",
             "ui Nobody --document",
             "ui Sample --document --do",
             "ui Sample --document --do frob",
             "ui Sample --document --do page",
             "ui Sample --document --do page:x",
             "ui Sample --document --do select:3",
             "ui Sample --document --do select:0x=1",
             "ui Sample --document --do select:3=-1",
             "ui Sample --document --do check:3=2",
             "ui Sample --document --do click:0",
             "ui Sample --document --do apply:1",
             "ui Sample --document --do respond:IDMAYBE",
             "ui Sample --document --do ok --do apply",
             "ui Sample --document --bogus",
         }) {
        const MoltrRun run = Moltr(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.output, "") << arguments;
    }
}

} // namespace
} // namespace moltr::test
