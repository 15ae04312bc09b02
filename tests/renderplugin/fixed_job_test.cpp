// The render plug-in harness's fixed job on the simulation: its record is the one stored beside
// the harness, which the Windows build's harness must also write, byte for byte.
#include "fixed_job.h"

#include "render_driver.h"

namespace moltr::test {
namespace {

std::vector<BYTE> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>((std::istreambuf_iterator<char>(in)), {});
}

TEST(RenderFixedJob, TheRecordIsTheStoredOne) {
    RenderPrinterSetup setup;
    std::ifstream settings(SourceRoot() / "samples/MOLTR4KC.INI", std::ios::binary);
    setup.settingsFile.assign((std::istreambuf_iterator<char>(settings)), {});
    RenderPrinter printer(setup);
    std::vector<BYTE> record;
    ASSERT_EQ(harness::RunFixedJob(printer.handle(),
                                   L"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTRRPC.DLL",
                                   record),
              S_OK);
    const std::filesystem::path stored = SourceRoot() / "tools/rpc_harness/fixed_job.record";
    if (record != ReadAll(stored)) {
        // Kept for a look, and to replace the stored record when the change is meant.
        const std::filesystem::path written = BuildRoot() / "fixed_job.record";
        std::ofstream(written, std::ios::binary)
            .write(reinterpret_cast<const char*>(record.data()),
                   static_cast<std::streamsize>(record.size()));
        ADD_FAILURE() << "the record differs from " << stored << "; this build's is " << written;
    }
}

} // namespace
} // namespace moltr::test
