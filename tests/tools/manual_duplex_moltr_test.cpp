// Two-sided printing on a printer that duplexes by hand, end to end with real processes: `moltr
// print --wait` is the application, which starts the spooler service as a process of its own, and
// its devmode merge starts the host build's notifier MOLTRMDN, which holds the job until it has
// spooled and shows its dialog to the simulated user once the front sides are out.
#include <windows.h>

#include "machine_processes.h"
#include "moltr_run.h"
#include "png_picture.h"
#include "sim/dialogs.h"
#include "sim/machine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace moltr::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char16_t kNotifier[] = u"MOLTRMDN.EXE";
constexpr char16_t kSpooler[] = u"spoolsv.exe";
// The notifier's dialog: the controls of its steps and the close button the user presses (it has
// no OK button, so the Enter key would press this default button too).
constexpr int kDialogTexts[] = {20050, 20101, 20151, 20201};
constexpr int kDialogPictures[] = {20100, 20150, 20200};
constexpr int kCloseButton = 8;
// The pictures' background, which their transparency keeps off the screen, and the dialog's face.
constexpr COLORREF kPictureBackground = RGB(128, 128, 0);
constexpr COLORREF kDialogFace = RGB(240, 240, 240);

bool HasControl(const sim::DialogRecord& record, int id) {
    for (const sim::DialogControl& control : record.controls) {
        if (control.id == id) {
            return true;
        }
    }
    return false;
}
// Generous bounds: the processes end long before them unless something is wrong.
constexpr auto kPrintPatience = std::chrono::seconds(150);
constexpr auto kEndPatience = std::chrono::seconds(30);

// `moltr ARGS` as a child process of this test, its output kept in a file; killed and reaped if
// it is still running when the object goes.
class MoltrChild {
public:
    MoltrChild(const std::vector<std::string>& args, const std::string& outputFile) {
        std::filesystem::path moltr =
            std::filesystem::read_symlink("/proc/self/exe").parent_path() / "moltr";
        std::vector<std::string> words = {moltr.string()};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~MoltrChild() {
        if (pid_ != 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    MoltrChild(const MoltrChild&) = delete;
    MoltrChild& operator=(const MoltrChild&) = delete;

    // The exit status once the child has ended within `patience`; -1 when it had not.
    int Wait(Clock::duration patience) {
        const auto deadline = Clock::now() + patience;
        int status = 0;
        while (pid_ != 0 && Clock::now() < deadline) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

private:
    pid_t pid_ = 0;
};

// Whether every process called `name` has ended within the patience.
bool AllEnd(std::u16string_view name) {
    const auto deadline = Clock::now() + kEndPatience;
    while (AnyRunning(name) && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return !AnyRunning(name);
}

// Ends whatever of the machine's processes still runs, this test aside.
void EndLeftovers() {
    for (const sim::MachineProcess& process : sim::ListProcesses()) {
        if (process.running && process.id != GetCurrentProcessId()) {
            EndProcess(process.id);
        }
    }
}

class ManualDuplex : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, Moltr("printer add Duplex").status);
        ASSERT_EQ(0, Moltr("printer settings Duplex _DUPLEXTYPE=2").status);
        ASSERT_EQ(0, Moltr("desktop respond 8 --after 100").status);
    }
    void TearDown() override { EndLeftovers(); }

    // Runs `moltr print Duplex ARGS --wait --json` and returns its exit status.
    int PrintAndWait(const std::vector<std::string>& args) {
        std::vector<std::string> words = {"print", "Duplex"};
        words.insert(words.end(), args.begin(), args.end());
        words.insert(words.end(), {"--wait", "--json"});
        MoltrChild print(words, output_);
        return print.Wait(kPrintPatience);
    }

    std::string Output() const {
        std::ifstream in(output_);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    sim::TestMachine machine_;
    std::string output_ = machine_.root() + "/print-output.json";
};

TEST_F(ManualDuplex, AFivePageJobShowsTheDialogOnceAndEveryProcessEnds) {
    ASSERT_EQ(PrintAndWait({"--pages", "5", "--set", "dmDuplex=2"}), 0) << Output();
    EXPECT_NE(Output().find("\"pages\": 5"), std::string::npos) << Output();

    const std::vector<sim::DialogRecord> dialogs = sim::DialogRecords();
    ASSERT_EQ(dialogs.size(), 1u);
    for (int id : kDialogTexts) {
        EXPECT_TRUE(HasControl(dialogs[0], id)) << id;
    }
    for (int id : kDialogPictures) {
        EXPECT_TRUE(HasControl(dialogs[0], id)) << id;
    }
    EXPECT_EQ(dialogs[0].ownerDrawn, 3);
    EXPECT_TRUE(dialogs[0].appWindowDisabled);
    EXPECT_TRUE(dialogs[0].appWindowEnabledAfter);
    EXPECT_EQ(dialogs[0].closedBy, kCloseButton);
    // The three pictures are drawn on the dialog's face, their background left out.
    std::optional<Picture> read = ReadPng(dialogs[0].picture);
    ASSERT_TRUE(read);
    const Picture& picture = *read;
    EXPECT_GT(picture.width * picture.height - picture.PixelsOf(kDialogFace), 0u);
    EXPECT_EQ(picture.PixelsOf(kPictureBackground), 0u);

    // The notifier ran and ends by itself (exit code 0) once the application has gone and no
    // job is left; so does the spooler service.
    ASSERT_EQ(ProcessesNamed(kNotifier).size(), 1u);
    EXPECT_TRUE(AllEnd(kNotifier));
    EXPECT_EQ(ProcessesNamed(kNotifier)[0].exitCode, 0u);
    EXPECT_TRUE(AllEnd(kSpooler));
}

TEST_F(ManualDuplex, AOnePageTwoSidedJobPrintsWithoutADialog) {
    ASSERT_EQ(PrintAndWait({"--pages", "1", "--set", "dmDuplex=2"}), 0) << Output();
    EXPECT_NE(Output().find("\"pages\": 1"), std::string::npos) << Output();
    EXPECT_TRUE(sim::DialogRecords().empty());
    ASSERT_EQ(ProcessesNamed(kNotifier).size(), 1u);
    EXPECT_TRUE(AllEnd(kNotifier));
    EXPECT_EQ(ProcessesNamed(kNotifier)[0].exitCode, 0u);
}

TEST_F(ManualDuplex, ASimplexJobNeverStartsTheNotifier) {
    ASSERT_EQ(PrintAndWait({"--pages", "3", "--set", "dmDuplex=1"}), 0) << Output();
    EXPECT_NE(Output().find("\"pages\": 3"), std::string::npos) << Output();
    EXPECT_TRUE(sim::DialogRecords().empty());
    EXPECT_TRUE(ProcessesNamed(kNotifier).empty());
    EXPECT_TRUE(AllEnd(kSpooler));
}

} // namespace
} // namespace moltr::test
