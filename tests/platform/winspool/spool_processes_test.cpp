// Separate processes of one machine share the spooler: what one writes, the other reads, and
// concurrent writers lose nothing.
#include "spool_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <string>

using moltr::sim::Utf16;
using moltr::test::SpoolTest;
using moltr::test::WideArg;

namespace {

const WCHAR* W(const std::u16string& text) {
    return moltr::sim::W(text);
}

// Runs `body` in a child process; its result is the child's exit status (0 for success).
template <typename Body> pid_t Spawn(Body body) {
    pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    return child;
}

int Wait(pid_t child) {
    int status = -1;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// In a child: opens the printer for all access and writes `count` values named prefix0, prefix1,
// ...
int WriteValues(const char* printer, const std::string& prefix, int count) {
    WideArg name(printer);
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    if (!OpenPrinterW(name, &handle, &defaults)) {
        return 10;
    }
    for (int i = 0; i < count; ++i) {
        std::u16string value = Utf16(prefix + std::to_string(i));
        DWORD data = static_cast<DWORD>(i);
        if (SetPrinterDataExW(handle, W(u"PrinterDriverData"), W(value), REG_DWORD,
                              reinterpret_cast<BYTE*>(&data), sizeof data) != ERROR_SUCCESS) {
            return 11;
        }
    }
    return ClosePrinter(handle) ? 0 : 12;
}

} // namespace

TEST_F(SpoolTest, AChildProcessWritesWhatTheParentReads) {
    HANDLE reader = Open(0);
    ASSERT_EQ(Wait(Spawn([] { return WriteValues(kPrinter, "from child ", 1); })), 0);
    DWORD type = 0;
    DWORD data = 99;
    DWORD needed = 0;
    EXPECT_EQ(GetPrinterDataExW(reader, W(u"PrinterDriverData"), W(u"from child 0"), &type,
                                reinterpret_cast<BYTE*>(&data), sizeof data, &needed),
              0u);
    EXPECT_EQ(type, DWORD{REG_DWORD});
    EXPECT_EQ(data, 0u);
    ClosePrinter(reader);
}

TEST_F(SpoolTest, AChildSeesPrintersAddedByItsParent) {
    moltr::sim::PrinterSetup setup;
    setup.name = u"Added Later";
    setup.driver = Utf16(kDriver);
    ASSERT_TRUE(moltr::sim::AddPrinter(setup));
    EXPECT_EQ(Wait(Spawn([] {
                  std::vector<std::u16string> printers = moltr::sim::Printers();
                  return printers.size() == 2 && printers[1] == u"Added Later" ? 0 : 1;
              })),
              0);
}

TEST_F(SpoolTest, RacingWritersInTwoProcessesLoseNoUpdate) {
    constexpr int kCount = 40;
    pid_t first = Spawn([] { return WriteValues(kPrinter, "first ", kCount); });
    pid_t second = Spawn([] { return WriteValues(kPrinter, "second ", kCount); });
    ASSERT_EQ(Wait(first), 0);
    ASSERT_EQ(Wait(second), 0);
    HANDLE reader = Open(0);
    DWORD needed = 0;
    DWORD count = 0;
    ASSERT_EQ(EnumPrinterDataExW(reader, W(u"PrinterDriverData"), nullptr, 0, &needed, &count),
              DWORD{ERROR_MORE_DATA});
    std::vector<BYTE> buffer(needed);
    ASSERT_EQ(
        EnumPrinterDataExW(reader, W(u"PrinterDriverData"), buffer.data(), needed, &needed, &count),
        0u);
    EXPECT_EQ(count, 2u * kCount);
    for (const char* prefix : {"first ", "second "}) {
        for (int i = 0; i < kCount; ++i) {
            std::u16string value = Utf16(prefix + std::to_string(i));
            DWORD data = 0;
            EXPECT_EQ(GetPrinterDataExW(reader, W(u"PrinterDriverData"), W(value), nullptr,
                                        reinterpret_cast<BYTE*>(&data), sizeof data, &needed),
                      0u)
                << prefix << i;
            EXPECT_EQ(data, static_cast<DWORD>(i));
        }
    }
    ClosePrinter(reader);
}
