// Running out of memory during a compile: wherever an allocation fails, the compile ends with
// 62202 (an internal error), writes no "Timestamp" and throws nothing out of the compiler.
#include "driver_test_printer.h"
#include "failing_allocations.h"

namespace moltr::test {
namespace {

const char kSource[] = "*INCLUDE: \"C:\\Windows\\Temp\\part.xpd\"\n"
                       "*MACROS: SIZES\n"
                       "{\n"
                       "    *BIG: 9\n"
                       "}\n"
                       "*XPDSTRUCT: OEMDEVMODE\n"
                       "{\n"
                       "    *FIELD: _EXTRA { *FIELDTYPE: DWORD }\n"
                       "    *FIELD: _NAME\n"
                       "    {\n"
                       "        *FIELDTYPE: CHAR\n"
                       "        *ARRAYSIZE: 8\n"
                       "    }\n"
                       "}\n"
                       "*OEMDEVMODE: DEFAULT\n"
                       "{\n"
                       "    *_VERSION: 1\n"
                       "    *_PDLTYPE: =PDLTYPE_PCL5_COLOR\n"
                       "    *_EXTRA: =BIG\n"
                       "    *_NAME: \"Name\"\n"
                       "}\n";
const char kPart[] = "*XPDSTRUCT: CUSTOMMEDIA\n"
                     "{\n"
                     "    *FORCEWRITE: ON\n"
                     "    *FIELD: COUNT { *FIELDTYPE: WORD }\n"
                     "    *FIELD: LABEL { *FIELDTYPE: STRING }\n"
                     "}\n"
                     "*CUSTOMMEDIA: DEFAULT\n"
                     "{\n"
                     "    *COUNT: 2\n"
                     "    *LABEL: \"Two\"\n"
                     "}\n";

const std::string kPath = std::string(kFolder) + "moltr.xpd";

struct Outcome {
    int result = -1;
    bool outOfMemory = false; // 62202 raised
    bool timestamp = false;
    bool failed = false; // the chosen allocation was reached
    long allocations = 0;
};

// A first compile on a fresh machine with allocation number `failAt` failing (-1: none).
Outcome CompileFailing(long failAt, bool forPrinter) {
    sim::TestMachine machine;
    WriteDescription(kPath, kSource);
    WriteDescription(std::string(kFolder) + "part.xpd", kPart);
    TestPrinter printer(HostFile(kPath));
    Outcome outcome;
    auto sink = [&](const compiler::CompileMessage& message) {
        AllocationWatch::Pause(true);
        outcome.outOfMemory = outcome.outOfMemory || message.id == compiler::message::kOutOfMemory;
        AllocationWatch::Pause(false);
    };
    HANDLE handle = nullptr;
    std::u16string name = TestPrinter::kName;
    EXPECT_TRUE(OpenPrinterW(sim::W(name), &handle, nullptr));
    compiler::CompileRequestData request = {};
    std::u16string source = sim::Utf16(kPath);
    lstrcpynW(request.printerName, sim::W(name), compiler::kPathChars);
    lstrcpynW(request.driverName, L"MOLTR ColorLaser 4000 PCL5c", compiler::kPathChars);
    lstrcpynW(request.sourcePath, sim::W(source), compiler::kPathChars);
    {
        AllocationWatch watch(failAt);
        outcome.result = forPrinter ? compiler::CompileForPrinter(handle, sink)
                                    : compiler::CompileRequest(request, sink);
        outcome.failed = watch.failed();
        outcome.allocations = watch.counted();
    }
    ClosePrinter(handle);
    outcome.timestamp = !printer.Data(u"Timestamp").empty();
    return outcome;
}

// Allocations spread evenly over the compile, the first one included.
std::vector<long> FailurePoints(long allocations) {
    std::vector<long> points;
    const long step = std::max(1L, allocations / 24);
    for (long at = 0; at < allocations; at += step) {
        points.push_back(at);
    }
    return points;
}

class OutOfMemory : public ::testing::TestWithParam<bool> {};

TEST_P(OutOfMemory, AnyFailedAllocationEndsTheCompileWith62202) {
    const Outcome whole = CompileFailing(-1, GetParam());
    ASSERT_LT(whole.result, compiler::kError);
    ASSERT_TRUE(whole.timestamp);
    ASSERT_GT(whole.allocations, 100);
    for (long at : FailurePoints(whole.allocations)) {
        const Outcome outcome = CompileFailing(at, GetParam());
        if (!outcome.failed) {
            // The compile took another path and needed fewer allocations: it is whole.
            EXPECT_EQ(outcome.result, whole.result) << at;
            continue;
        }
        EXPECT_EQ(outcome.result, compiler::kInternalError) << at;
        EXPECT_TRUE(outcome.outOfMemory) << at;
        EXPECT_FALSE(outcome.timestamp) << at;
    }
}

INSTANTIATE_TEST_SUITE_P(EntryPoints, OutOfMemory, ::testing::Values(false, true),
                         [](const auto& info) {
                             return info.param ? "CompileForPrinter" : "CompileRequest";
                         });

} // namespace
} // namespace moltr::test
