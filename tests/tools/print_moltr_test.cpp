// The spooler's commands of `moltr` on the sample printers: print (held, so that the job stays in
// the queue to be looked at, and printed to the port and a file), jobs, job, spooler run and
// printer ports, with their bad input.
#include <windows.h>
#include <winspool.h>

#include "moltr_run.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace moltr::test {
namespace {

using sim::Utf8;

// The plug-ins' part of a devmode: the driver-extra block that starts with its size and "MOLT".
const BYTE* PluginPart(const DEVMODEW* devmode) {
    const BYTE* extra = reinterpret_cast<const BYTE*>(devmode) + devmode->dmSize;
    for (size_t at = 0; at + 8 <= devmode->dmDriverExtra; ++at) {
        DWORD size = 0;
        std::memcpy(&size, extra + at, sizeof size);
        if (std::memcmp(extra + at + 4, "MOLT", 4) == 0 && at + size <= devmode->dmDriverExtra) {
            return extra + at;
        }
    }
    return nullptr;
}

class MoltrPrint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, Moltr("printer add Sample").status);
        ASSERT_EQ(0, Moltr("printer compile Sample").status);
        std::u16string name = u"Sample";
        ASSERT_TRUE(OpenPrinterW(sim::W(name), &printer_, nullptr));
    }
    void TearDown() override { ClosePrinter(printer_); }

    std::vector<BYTE> Job(DWORD id) {
        DWORD needed = 0;
        GetJobW(printer_, id, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed ? needed : 1);
        if (!GetJobW(printer_, id, 2, buffer.data(), needed, &needed)) {
            buffer.clear();
        }
        return buffer;
    }

    DWORD JobCount() {
        DWORD needed = 0, count = 0;
        EnumJobsW(printer_, 0, 100, 1, nullptr, 0, &needed, &count);
        std::vector<BYTE> buffer(needed + 1);
        EnumJobsW(printer_, 0, 100, 1, buffer.data(), needed, &needed, &count);
        return count;
    }

    sim::TestMachine machine_;
    HANDLE printer_ = nullptr;
};

TEST_F(MoltrPrint, AHeldJobCarriesTheNamesPagesAndSettingsGiven) {
    MoltrRun run = Moltr("print Sample --hold --pages 2 --set dmCopies=3 --set dmDuplex=0x2 "
                         "--set _JR_QUICKPRINT=1 --document Report --user bob "
                         "--machine '\\\\PC7' --json");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "{\"job\": 1, \"pages\": 2, \"bytes\": 0, \"output\": null, \"callbacks\": []}\n");
    std::vector<BYTE> buffer = Job(1);
    ASSERT_FALSE(buffer.empty());
    const auto& info = *reinterpret_cast<JOB_INFO_2W*>(buffer.data());
    EXPECT_EQ(Utf8(info.pDocument), "Report");
    EXPECT_EQ(Utf8(info.pUserName), "bob");
    EXPECT_EQ(Utf8(info.pMachineName), "\\\\PC7");
    EXPECT_EQ(Utf8(info.pDatatype), "NT EMF 1.008");
    EXPECT_EQ(info.TotalPages, 2u);
    EXPECT_EQ(info.Status, 0u);
    ASSERT_NE(info.pDevMode, nullptr);
    EXPECT_EQ(info.pDevMode->dmCopies, 3);
    EXPECT_EQ(info.pDevMode->dmDuplex, 2);
    EXPECT_EQ(info.pDevMode->dmFields & (DM_COPIES | DM_DUPLEX), DWORD{DM_COPIES | DM_DUPLEX});
    // DocumentPropertiesW's devmode: the plug-ins' private part is among the driver-extra bytes.
    EXPECT_NE(PluginPart(info.pDevMode), nullptr);

    run = Moltr("print Sample --hold");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "job 2: 1 pages, 0 bytes\n");
    buffer = Job(2);
    ASSERT_FALSE(buffer.empty());
    const auto& plain = *reinterpret_cast<JOB_INFO_2W*>(buffer.data());
    EXPECT_EQ(Utf8(plain.pDocument), "Untitled");
    EXPECT_EQ(Utf8(plain.pUserName), "user");
    EXPECT_EQ(Utf8(plain.pMachineName), "\\\\MOLTRHOST");
}

// The offset of a private field in the plug-ins' devmode, as `moltr devmode` lists the layout.
size_t PrivateFieldOffset(const std::string& name) {
    std::istringstream lines(Moltr("devmode Sample --default").output);
    std::string field, type;
    size_t offset = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        if (words >> field >> type >> offset && field == name) {
            return offset;
        }
    }
    ADD_FAILURE() << "no field " << name;
    return 0;
}

TEST_F(MoltrPrint, APrivateFieldSetGoesIntoTheJobsDevmode) {
    const size_t offset = PrivateFieldOffset("_JR_QUICKPRINT");
    ASSERT_EQ(Moltr("print Sample --hold --set _JR_QUICKPRINT=3").status, 0);
    ASSERT_EQ(Moltr("print Sample --hold").status, 0);
    const BYTE expected[] = {3, 1}; // the setting, then the printer's default
    for (DWORD job : {1u, 2u}) {
        std::vector<BYTE> buffer = Job(job);
        ASSERT_FALSE(buffer.empty());
        const DEVMODEW* devmode = reinterpret_cast<JOB_INFO_2W*>(buffer.data())->pDevMode;
        ASSERT_NE(devmode, nullptr);
        const BYTE* part = PluginPart(devmode);
        ASSERT_NE(part, nullptr);
        DWORD size = 0;
        std::memcpy(&size, part, sizeof size);
        ASSERT_GT(size, offset);
        EXPECT_EQ(part[offset], expected[job - 1]) << "job " << job;
    }
}

TEST_F(MoltrPrint, BadInputSpoolsNothingAndExitsWithStatus2) {
    for (const char* arguments :
         {"print Nobody", "print", "print Sample --set dmNope=1", "print Sample --set dmCopies",
          "print Sample --set dmCopies=40000", "print Sample --set dmColor=-",
          "print Sample "
          "--set _NOPE=1",
          "print Sample --set _JR_QUICKPRINT=0x100000000",
          "print Sample "
          "--pages 0",
          "print Sample --pages x", "print Sample --frobnicate", "print Sample --hold --wait",
          "print Sample --set dmFormName=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456"}) {
        MoltrRun run = Moltr(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.output, "") << arguments;
    }
    std::u16string gpd = u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTR4KC.GPD";
    ASSERT_TRUE(std::filesystem::remove(sim::HostPath(sim::W(gpd))));
    EXPECT_EQ(Moltr("print Sample --hold").status, 2);
    EXPECT_EQ(JobCount(), 0u);
}

TEST_F(MoltrPrint, JobsListsTheQueueAndJobControlsIt) {
    ASSERT_EQ(Moltr("print Sample --hold --document A").status, 0);
    ASSERT_EQ(Moltr("print Sample --hold --document B --pages 3").status, 0);
    EXPECT_EQ(Moltr("job Sample 2 pause").status, 0);
    MoltrRun run = Moltr("jobs Sample --json");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "[{\"id\": 1, \"document\": \"A\", \"status\": \"queued\", "
                          "\"totalPages\": 1, \"pagesPrinted\": 0}, {\"id\": 2, \"document\": "
                          "\"B\", \"status\": \"paused\", \"totalPages\": 3, \"pagesPrinted\": "
                          "0}]\n");
    run = Moltr("jobs Sample");
    EXPECT_EQ(run.output, "1      queued             0/1  A\n"
                          "2      paused             0/3  B\n");
    EXPECT_EQ(Moltr("job Sample 2 resume").status, 0);
    EXPECT_EQ(Moltr("job Sample 1 delete").status, 0);
    EXPECT_EQ(Moltr("jobs Sample --json").output,
              "[{\"id\": 2, \"document\": \"B\", \"status\": \"queued\", \"totalPages\": 3, "
              "\"pagesPrinted\": 0}]\n");
    for (const char* bad : {"job Sample 9 pause", "job Sample 2 stop", "job Sample x pause",
                            "job Nobody 2 pause", "job Sample 2", "jobs Nobody"}) {
        EXPECT_EQ(Moltr(bad).status, 2) << bad;
    }
}

TEST_F(MoltrPrint, TheSpoolerPrintsARawJobToThePortThatPrinterPortsShows) {
    std::u16string raw = u"RAW";
    DOC_INFO_1W info = {nullptr, nullptr, sim::W(raw)};
    DWORD id = StartDocPrinterW(printer_, 1, reinterpret_cast<BYTE*>(&info));
    ASSERT_NE(id, 0u);
    char data[] = "\x1b"
                  "E raw job";
    DWORD written = 0;
    ASSERT_TRUE(WritePrinter(printer_, data, sizeof data - 1, &written));
    ASSERT_TRUE(EndDocPrinter(printer_));
    ASSERT_EQ(Moltr("spooler run --until-idle").status, 0);
    const std::string port = machine_.root() + "/ports/LPT1";
    std::ifstream in(port, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "\x1b"
                                                                   "E raw job");
    EXPECT_EQ(JobCount(), 0u);
    MoltrRun run = Moltr("printer ports --json");
    EXPECT_EQ(run.output,
              "[{\"port\": \"LPT1:\", \"file\": \"" + port + "\", \"printers\": [\"Sample\"]}]\n");
    EXPECT_EQ(Moltr("spooler run --page-ms -1").status, 2);
    EXPECT_EQ(Moltr("spooler walk").status, 2);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Numbers(const std::vector<DWORD>& ids) {
    std::string text;
    for (DWORD id : ids) {
        text += (text.empty() ? "" : ", ") + std::to_string(id);
    }
    return text;
}

TEST_F(MoltrPrint, APrintedJobReachesThePortAndTheOutputFileOnBothSamples) {
    ASSERT_EQ(0, Moltr("printer add Sample6 --sample pcl6").status);
    ASSERT_EQ(0, Moltr("printer compile Sample6").status);
    const std::string port = machine_.root() + "/ports/LPT1";
    const std::string output = machine_.root() + "/job.prn";
    struct {
        const char* printer;
        const char* language; // the PJL line that starts the page description
        std::vector<DWORD> callbacks;
    } samples[] = {
        {"Sample", "@PJL ENTER LANGUAGE=PCL\n\x1b", {303, 209, 304, 309, 110, 300, 110, 300, 450}},
        {"Sample6",
         "@PJL ENTER LANGUAGE=PCLXL\n",
         {303, 209, 304, 120, 300, 154, 311, 120, 300, 154, 311, 450}},
    };
    DWORD job = 0;
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.printer);
        const size_t before = FileText(port).size();
        MoltrRun run = Moltr(std::string("print ") + sample.printer + " --pages 2 -o " + output);
        ASSERT_EQ(run.status, 0);
        ++job;
        const std::string bytes = FileText(output);
        // A whole job: the PJL header, the page description, the end of job.
        EXPECT_EQ(bytes.rfind("\x1b%-12345X@PJL JOB NAME=\"Untitled\"\n", 0), 0u);
        EXPECT_NE(bytes.find(sample.language), std::string::npos);
        EXPECT_NE(bytes.find("@PJL EOJ"), std::string::npos);
        EXPECT_EQ(run.output, "job " + std::to_string(job) + ": 2 pages, " +
                                  std::to_string(bytes.size()) + " bytes\n");
        // The file holds exactly what the port received for the job.
        EXPECT_EQ(FileText(port).substr(before), bytes);
        std::optional<sim::PrintedJob> printed =
            sim::FindPrintedJob(sim::Utf16(sample.printer), job);
        ASSERT_TRUE(printed);
        EXPECT_EQ(std::string(printed->bytes.begin(), printed->bytes.end()), bytes);
        EXPECT_EQ(printed->callbackIds, sample.callbacks);

        run = Moltr(std::string("print ") + sample.printer + " --pages 2 -o " + output + " --json");
        ASSERT_EQ(run.status, 0);
        ++job;
        EXPECT_EQ(run.output, "{\"job\": " + std::to_string(job) + ", \"pages\": 2, \"bytes\": " +
                                  std::to_string(bytes.size()) + ", \"output\": \"" + output +
                                  "\", \"callbacks\": [" + Numbers(sample.callbacks) + "]}\n");
        EXPECT_EQ(FileText(output), FileText(port).substr(before + bytes.size()));
    }
    EXPECT_EQ(JobCount(), 0u);
}

// A booklet job's sheet is chosen where the job prints: the application's devmode keeps its paper
// (Letter), and only the spooler's merge turns it into the booklet's sheet (A4 for _BOOKLET 7).
TEST_F(MoltrPrint, OnlyTheSpoolerTurnsABookletJobsPaperIntoItsSheet) {
    MoltrRun document = Moltr("devmode Sample --document --set _BOOKLET=7 --json");
    ASSERT_EQ(document.status, 0);
    EXPECT_NE(document.output.find("\"dmPaperSize\": 1,"), std::string::npos) << document.output;
    const std::string output = machine_.root() + "/job.prn";
    ASSERT_EQ(Moltr("print Sample -o " + output).status, 0);
    EXPECT_NE(FileText(output).find("\x1b&l2A"), std::string::npos);
    ASSERT_EQ(Moltr("print Sample --set _BOOKLET=7 -o " + output).status, 0);
    const std::string booklet = FileText(output);
    EXPECT_NE(booklet.find("\x1b&l26A"), std::string::npos);
    EXPECT_EQ(booklet.find("\x1b&l2A"), std::string::npos);
}

TEST_F(MoltrPrint, EachCommandHasItsHelp) {
    for (const char* command : {"print", "jobs", "job", "spooler", "printer ports"}) {
        MoltrRun run = Moltr(std::string(command) + " --help");
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_EQ(run.output.rfind("usage: moltr " + std::string(command), 0), 0u) << run.output;
    }
}

} // namespace
} // namespace moltr::test
