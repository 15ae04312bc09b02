// The help file on Windows version 6.0, and context help through WinHelp or HTML Help.
#include "common/context_help.h"
#include "resources_printer.h"
#include "sim/help_calls.h"

#include <filesystem>

namespace moltr::common {
namespace {

test::ResourcesPrinterSetup Version60() {
    test::ResourcesPrinterSetup setup;
    setup.machine.version = {6, 0, 6002, 2};
    return setup;
}

size_t FilesIn(const std::string& windowsFolder) {
    const std::u16string folder = sim::Utf16(windowsFolder);
    const std::filesystem::path host = sim::HostPath(sim::W(folder));
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(host), {}));
}

TEST(HelpFile, Version60UsesATemporaryChmPathPerObjectAndLeavesNoFile) {
    test::ResourcesPrinter printer(Version60());
    WCHAR folder[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, folder));
    const size_t files = FilesIn(sim::Utf8(folder));
    IDrvResources* first = printer.Create();
    IDrvResources* second = printer.Create();
    ASSERT_TRUE(first && second);
    LPCWSTR path = first->GetHelpFilePath();
    ASSERT_TRUE(path);
    EXPECT_EQ(first->GetHelpFilePath(), path) << "made once";
    std::string text = sim::Utf8(path);
    ASSERT_GT(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), ".chm");
    EXPECT_EQ(text.rfind(sim::Utf8(folder), 0), 0u) << text;
    LPCWSTR other = second->GetHelpFilePath();
    ASSERT_TRUE(other);
    EXPECT_NE(sim::Utf8(other), text) << "each object has its own";
    EXPECT_EQ(FilesIn(sim::Utf8(folder)), files) << "no .tmp file is left behind";
}

TEST(ContextHelp, HlpFilesOpenInWinHelpInAnyCase) {
    sim::ClearHelpCalls();
    ContextHelp help;
    help.Open(nullptr, L"C:\\Help\\moltr.Hlp", 4711);
    std::vector<sim::HelpCall> calls = sim::HelpCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, sim::HelpCall::Kind::WinHelp);
    EXPECT_EQ(sim::Utf8(calls[0].file.c_str()), "C:\\Help\\moltr.Hlp");
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(calls[0].data, 4711u);
}

TEST(ContextHelp, OtherFilesOpenInHtmlHelpWithTheirContextIds) {
    sim::TestMachine machine;
    sim::ClearHelpCalls();
    ContextHelp help;
    help.Open(nullptr, L"C:\\Help\\MOLTR.CHM", 12);
    help.Open(nullptr, L"C:\\Help\\MOLTR.CHM", 13);
    std::vector<sim::HelpCall> calls = sim::HelpCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, sim::HelpCall::Kind::HtmlHelp);
    EXPECT_EQ(calls[0].command, kHtmlHelpContext);
    EXPECT_EQ(calls[0].data, 12u);
    EXPECT_EQ(calls[1].data, 13u);
}

TEST(ContextHelp, NoPathDoesNothing) {
    sim::ClearHelpCalls();
    ContextHelp help;
    help.Open(nullptr, nullptr, 12);
    EXPECT_TRUE(sim::HelpCalls().empty());
}

} // namespace
} // namespace moltr::common
