// `moltr debuglog` as a user runs it: the log as text and as JSON lines, and --clear.
#include <windows.h>

#include "moltr_run.h"
#include "sim/debug_log.h"
#include "sim/machine.h"

#include <gtest/gtest.h>

using moltr::test::Moltr;
using moltr::test::MoltrRun;

TEST(DebugLogMoltrTest, ShowsTheLogAsTextAndAsLines) {
    moltr::sim::TestMachine machine;
    const std::string spool = "--spool " + machine.root() + " ";
    OutputDebugStringW(L"Element: psf:PrintTicket\n");
    OutputDebugStringW(L"  Text: \"quoted\"\r\n");
    OutputDebugStringW(L"no line end");
    MoltrRun run = Moltr(spool + "debuglog");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "Element: psf:PrintTicket\n  Text: \"quoted\"\r\nno line end");
    run = Moltr(spool + "debuglog --json");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "[\"Element: psf:PrintTicket\", \"  Text: \\\"quoted\\\"\", \"no line end\"]\n");
}

TEST(DebugLogMoltrTest, ClearEmptiesTheLogAndBadArgumentsChangeNothing) {
    moltr::sim::TestMachine machine;
    const std::string spool = "--spool " + machine.root() + " ";
    OutputDebugStringW(L"kept\n");
    EXPECT_EQ(Moltr(spool + "debuglog --verbose").status, 2);
    EXPECT_EQ(Moltr(spool + "debuglog --clear --json").status, 2);
    EXPECT_EQ(moltr::sim::ReadDebugLog(), "kept\n");
    MoltrRun run = Moltr(spool + "debuglog --clear");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(moltr::sim::ReadDebugLog(), "");
    run = Moltr(spool + "debuglog --json");
    EXPECT_EQ(run.output, "[]\n");
}
