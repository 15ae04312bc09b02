#pragma once
// A machine with the test child program installed as C:\Program Files\Test\CHILD.EXE, and a child
// process of it that is always reaped.
#include <windows.h>

#include "sim/machine.h"
#include "sim/processes_admin.h"
#include "sim/utf.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace moltr::test {

inline constexpr DWORD kChildPatience = 30000; // never reached on a sound run

class MachineProgramTest : public ::testing::Test {
protected:
    static constexpr const WCHAR* kProgram = L"C:\\Program Files\\Test\\CHILD.EXE";

    void SetUp() override {
        std::filesystem::create_directories(machine_.root() + "/c/Program Files/Test");
        std::ofstream(machine_.root() + "/c/Program Files/Test/CHILD.EXE") << "MZ";
        ASSERT_TRUE(sim::RegisterProgram(u"CHILD.EXE", MOLTR_PROCESS_CHILD));
    }

    // A host file of the machine's folder for the child to report into.
    std::string HostFile(const std::string& name) const { return machine_.root() + "/" + name; }

    // The file's text once it exists (the child renames it into place whole).
    static std::string Await(const std::string& path) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    sim::TestMachine machine_;
};

// A started child process; ends it if the test did not wait for it.
class Child {
public:
    explicit Child(const std::string& arguments, DWORD flags = DETACHED_PROCESS) {
        std::u16string line = u"CHILD.EXE " + sim::Utf16(arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(L"C:\\Program Files\\Test\\CHILD.EXE", sim::W(line), nullptr,
                                  nullptr, FALSE, flags, nullptr, nullptr, &startup, &info_);
    }
    ~Child() {
        if (started_) {
            if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
                TerminateProcess(info_.hProcess, 1);
            }
            WaitForSingleObject(info_.hProcess, kChildPatience);
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return started_; }
    const PROCESS_INFORMATION& info() const { return info_; }
    // The exit code once it has ended, or STILL_ACTIVE after the patience ran out.
    DWORD Finish() {
        WaitForSingleObject(info_.hProcess, kChildPatience);
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    BOOL started_ = FALSE;
    PROCESS_INFORMATION info_{};
};

} // namespace moltr::test
