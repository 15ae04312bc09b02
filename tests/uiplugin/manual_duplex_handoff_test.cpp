// The manual-duplex hand-off as applications run it: a DocumentPropertiesW merge that asks for two
// sides on a printer that duplexes by hand starts the notifier (here a stand-in that reports what
// reaches its pipe) and sends it one request with this process's id and the printer's name.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>
#include "notifier/notifier_request.h"
#include "sim/module_registry.h"
#include "sim/processes_admin.h"
#include "uiplugin/ui_printer.h"

namespace moltr::test {
namespace {

constexpr char kManual[] = "    *_DUPLEXTYPE: =PST_DUPLEXTYPE_MANUAL";
constexpr char kHardware[] = "    *_DUPLEXTYPE: =PST_DUPLEXTYPE_HARDWARE";

// The driver's notifier file, which the machine runs as the stand-in.
std::string NotifierFile() {
    std::filesystem::path folder =
        BuildRoot() / "tests/uiplugin/handoff" / std::to_string(getpid());
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "MOLTRMDN.EXE") << "MZ";
    return (folder / "MOLTRMDN.EXE").string();
}

UiPrinterSetup HandOffPrinter(const char* duplexLine) {
    UiPrinterSetup setup;
    setup.name = u"MOLTR duplex";
    setup.lines = {{kHardware, duplexLine}};
    setup.extraFiles = {NotifierFile()};
    return setup;
}

class HandOff : public ::testing::Test {
protected:
    explicit HandOff(const char* duplexLine = kManual) : printer_(HandOffPrinter(duplexLine)) {
        EXPECT_TRUE(sim::RegisterProgram(u"MOLTRMDN.EXE", MOLTR_NOTIFIER_STAND_IN));
    }
    ~HandOff() override { EndNotifiers(); }

    // A merge of the defaults with dmDuplex set to `duplex`.
    void Merge(short duplex) {
        LONG size = DocumentPropertiesW(nullptr, printer_.handle(), sim::W(printer_.name()),
                                        nullptr, nullptr, 0);
        ASSERT_GT(size, 0);
        std::vector<BYTE> input(size), output(size);
        ASSERT_EQ(IDOK, DocumentPropertiesW(nullptr, printer_.handle(), sim::W(printer_.name()),
                                            Public(input), nullptr, DM_OUT_BUFFER));
        Public(input)->dmFields |= DM_DUPLEX;
        Public(input)->dmDuplex = duplex;
        ASSERT_EQ(IDOK,
                  DocumentPropertiesW(nullptr, printer_.handle(), sim::W(printer_.name()),
                                      Public(output), Public(input), DM_IN_BUFFER | DM_OUT_BUFFER));
    }

    static DEVMODEW* Public(std::vector<BYTE>& devmode) {
        return reinterpret_cast<DEVMODEW*>(devmode.data());
    }

    static std::vector<DWORD> RunningNotifiers() {
        std::vector<DWORD> ids;
        for (const sim::MachineProcess& process : sim::ListProcesses()) {
            if (process.running && process.name == u"MOLTRMDN.EXE") {
                ids.push_back(process.id);
            }
        }
        return ids;
    }

    static void EndNotifiers() {
        for (DWORD id : RunningNotifiers()) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
            if (process != nullptr) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 30000);
                CloseHandle(process);
            }
        }
    }

    // The bytes of the n-th request the stand-in received; empty when none came within the
    // patience.
    std::string Request(int n) const {
        std::string path = machineRoot() + "/request-" + std::to_string(n) + ".bin";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static std::string machineRoot() { return std::getenv("MOLTR_SPOOL"); }

    UiPrinter printer_;
};

notifier::NotifierRequest Expected() {
    return notifier::MakeRequest(GetCurrentProcessId(), L"MOLTR duplex");
}

TEST_F(HandOff, ATwoSidedMergeStartsTheNotifierAndSendsOneWholeRequest) {
    Merge(DMDUP_VERTICAL);
    EXPECT_EQ(RunningNotifiers().size(), 1u);
    std::string request = Request(1);
    ASSERT_EQ(request.size(), notifier::kRequestSize);
    notifier::NotifierRequest expected = Expected();
    EXPECT_EQ(0, std::memcmp(request.data(), &expected, notifier::kRequestSize));
}

TEST_F(HandOff, ARunningNotifierGetsTheNextRequestAndNoSecondCopyStarts) {
    Merge(DMDUP_VERTICAL);
    ASSERT_EQ(Request(1).size(), notifier::kRequestSize);
    Merge(DMDUP_HORIZONTAL);
    EXPECT_EQ(Request(2).size(), notifier::kRequestSize);
    EXPECT_EQ(RunningNotifiers().size(), 1u);
}

TEST_F(HandOff, ASimplexMergeStartsNothing) {
    Merge(DMDUP_SIMPLEX);
    EXPECT_TRUE(RunningNotifiers().empty());
}

TEST_F(HandOff, TheSpoolerNeverStartsTheNotifier) {
    sim::SetProcessImagePath(L"C:\\Windows\\System32\\SPOOLSV.EXE");
    Merge(DMDUP_VERTICAL);
    sim::SetProcessImagePath(nullptr);
    EXPECT_TRUE(RunningNotifiers().empty());
}

class HandOffHardware : public HandOff {
protected:
    HandOffHardware() : HandOff(kHardware) {}
};

TEST_F(HandOffHardware, APrinterWithADuplexUnitNeverStartsTheNotifier) {
    Merge(DMDUP_VERTICAL);
    EXPECT_TRUE(RunningNotifiers().empty());
}

class HandOffNoDuplex : public HandOff {
protected:
    HandOffNoDuplex() : HandOff("    *_DUPLEXTYPE: =PST_DUPLEXTYPE_NONE") {}
};

TEST_F(HandOffNoDuplex, APrinterWithoutDuplexNeverStartsTheNotifier) {
    Merge(DMDUP_VERTICAL);
    EXPECT_TRUE(RunningNotifiers().empty());
}

} // namespace
} // namespace moltr::test
