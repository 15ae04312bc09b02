// The machine's configuration as the processes of one machine see it: a process sees its own
// changes at once and another process's at the next check of machine.ini, a few milliseconds on.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "sim/machine.h"

namespace {

using moltr::sim::CurrentConfig;
using moltr::sim::MachineConfig;
using moltr::sim::UpdateConfig;

// Longer than the 5 ms between two checks of machine.ini, and than the 50 ms after which a
// written file counts as aged.
constexpr auto kPastTheNextCheck = std::chrono::milliseconds(20);
constexpr auto kPastTheAge = std::chrono::milliseconds(60);

// Runs `body` in a child process and waits for it; its result is the child's exit status.
template <typename Body> int InChild(Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = -1;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST(MachineConfig, AProcessSeesItsOwnChangeAtOnce) {
    moltr::sim::TestMachine machine;
    MachineConfig config = CurrentConfig();
    for (LANGID language : {0x0407, 0x040C, 0x0410}) {
        config.userUiLanguage = language;
        ASSERT_TRUE(UpdateConfig(config));
        EXPECT_EQ(CurrentConfig().userUiLanguage, language);
    }
}

// A file written moments ago is read again at each check; one that has aged is read again when
// its status has changed.
TEST(MachineConfig, AnotherProcessesChangeIsSeenAtTheNextCheck) {
    moltr::sim::TestMachine machine;
    for (UINT page : {1251u, 1253u}) {
        ASSERT_NE(CurrentConfig().ansiCodePage, page);
        ASSERT_EQ(InChild([page] {
                      MachineConfig config = CurrentConfig();
                      config.ansiCodePage = page;
                      return UpdateConfig(config) ? 0 : 1;
                  }),
                  0);
        std::this_thread::sleep_for(kPastTheNextCheck);
        EXPECT_EQ(CurrentConfig().ansiCodePage, page);
        std::this_thread::sleep_for(kPastTheAge);
        EXPECT_EQ(CurrentConfig().ansiCodePage, page);
    }
}

} // namespace
