// The help file on Windows version 6.0, and context help through WinHelp or HTML Help.
#include "common/context_help.h"
#include "resources_printer.h"
#include "sim/help_calls.h"

namespace moltr::common {
namespace {

test::ResourcesPrinterSetup Version60() {
    test::ResourcesPrinterSetup setup;
    setup.machine.version = {6, 0, 6002, 2};
    return setup;
}

TEST(HelpFile, Version60UsesOneTemporaryChmPathPerProcess) {
    test::ResourcesPrinter printer(Version60());
    IDrvResources* first = printer.Create();
    IDrvResources* second = printer.Create();
    ASSERT_TRUE(first && second);
    LPCWSTR path = first->GetHelpFilePath();
    ASSERT_TRUE(path);
    EXPECT_EQ(second->GetHelpFilePath(), path);
    std::string text = sim::Utf8(path);
    ASSERT_GT(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), ".chm");
    WCHAR folder[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, folder));
    EXPECT_EQ(text.rfind(sim::Utf8(folder), 0), 0u) << text;
}

TEST(ContextHelp, HlpFilesOpenInWinHelpInAnyCase) {
    sim::ClearHelpCalls();
    OpenContextHelp(nullptr, L"C:\\Help\\moltr.Hlp", 4711);
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
    OpenContextHelp(nullptr, L"C:\\Help\\MOLTR.CHM", 12);
    OpenContextHelp(nullptr, L"C:\\Help\\MOLTR.CHM", 13);
    std::vector<sim::HelpCall> calls = sim::HelpCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, sim::HelpCall::Kind::HtmlHelp);
    EXPECT_EQ(calls[0].command, kHtmlHelpContext);
    EXPECT_EQ(calls[0].data, 12u);
    EXPECT_EQ(calls[1].data, 13u);
}

TEST(ContextHelp, NoPathDoesNothing) {
    sim::ClearHelpCalls();
    OpenContextHelp(nullptr, nullptr, 12);
    EXPECT_TRUE(sim::HelpCalls().empty());
}

} // namespace
} // namespace moltr::common
