// OutputDebugStringW and OutputDebugStringA append to the machine's debug log.
#include <windows.h>

#include "sim/debug_log.h"
#include "sim/machine.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

TEST(DebugOutputTest, TextsAreAppendedInOrderAsUtf8) {
    moltr::sim::TestMachine machine;
    EXPECT_EQ(moltr::sim::ReadDebugLog(), "");
    OutputDebugStringW(L"Element: psf:PrintTicket\n");
    OutputDebugStringW(L"  Attribute: version - 1\n");
    OutputDebugStringW(nullptr);
    OutputDebugStringW(L"\u00e9");
    EXPECT_EQ(moltr::sim::ReadDebugLog(),
              "Element: psf:PrintTicket\n  Attribute: version - 1\n\xC3\xA9");
    EXPECT_EQ(moltr::sim::DebugLogPath(), machine.root() + "/debug.log");
}

TEST(DebugOutputTest, AnsiTextUsesTheAnsiCodePage) {
    moltr::sim::TestMachine machine;
    OutputDebugStringA("caf\xE9"); // code page 1252
    EXPECT_EQ(moltr::sim::ReadDebugLog(), "caf\xC3\xA9");
}

TEST(DebugOutputTest, ProcessesShareTheLogAndClearingEmptiesIt) {
    moltr::sim::TestMachine machine;
    OutputDebugStringW(L"parent\n");
    pid_t child = ::fork();
    if (child == 0) {
        OutputDebugStringW(L"child\n");
        ::_exit(0);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(moltr::sim::ReadDebugLog(), "parent\nchild\n");
    ASSERT_TRUE(moltr::sim::ClearDebugLog());
    EXPECT_EQ(moltr::sim::ReadDebugLog(), "");
    OutputDebugStringW(L"after\n");
    EXPECT_EQ(moltr::sim::ReadDebugLog(), "after\n");
}
