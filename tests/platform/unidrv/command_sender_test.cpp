// Commands sent from a GPD: the bytes of *Cmd strings with their parameters in each argument
// type, ranges and max_repeat, and callbacks handed to a loaded render plug-in with their params.
#include "src/unidrv/command_sender.h"
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/render_plugin.h"

#include "driver_printer.h"

#include <filesystem>
#include <string>

namespace {

using namespace moltr::unidrv;

bool Variables(std::string_view name, long long* value) {
    if (name == "DestX") {
        *value = 20000;
    } else if (name == "NumOfCopies") {
        *value = 7;
    } else if (name == "Negative") {
        *value = -42;
    } else {
        return false;
    }
    return true;
}

// The command of `cmd` read from a GPD, sent without a plug-in; "FAILED" when it fails.
std::string Sent(const std::string& cmd, HRESULT expected = S_OK) {
    GpdReadResult gpd = ReadGpdText("*Command: CmdX { *Cmd: " + cmd + " }\n", "TEST.GPD", nullptr);
    EXPECT_TRUE(gpd.ok) << gpd.error.Text();
    if (!gpd.ok) {
        return "";
    }
    std::vector<BYTE> output{'|'};
    GpdVariables variables = Variables;
    CommandSender sender(nullptr, nullptr, &output, variables);
    EXPECT_EQ(sender.Send(gpd.model.global.commands[0]), expected) << cmd;
    return std::string(output.begin() + 1, output.end());
}

TEST(CommandSender, EachArgumentTypeIsFormattedAsDocumented) {
    EXPECT_EQ(Sent("\"<1B>&l\" %d{NumOfCopies} \"X\""), "\x1b&l7X");
    EXPECT_EQ(Sent("%d{Negative}"), "-42");
    EXPECT_EQ(Sent("%4d{NumOfCopies}"), "0007");
    EXPECT_EQ(Sent("%D{NumOfCopies} %D{Negative}"), "+7-42");
    EXPECT_EQ(Sent("%c{65} %C{NumOfCopies}"), "A7");
    EXPECT_EQ(Sent("%l{258} %m{258}"), std::string("\x02\x01\x01\x02", 4));
    EXPECT_EQ(Sent("%f{1225} %f{5}"), "12.250.05");
}

TEST(CommandSender, RangesLimitTheValueAndMaxRepeatSendsTheCommandAgain) {
    EXPECT_EQ(Sent("%d[0,100]{DestX}"), "100");
    EXPECT_EQ(Sent("%d[-10,100]{Negative}"), "-10");
    EXPECT_EQ(Sent("\"<1B>[\" %d[0,9600]{max_repeat(DestX)} \"a\""),
              "\x1b[9600a\x1b[9600a\x1b[800a");
}

TEST(CommandSender, FailuresWriteNothing) {
    EXPECT_EQ(Sent("\"A\" %d{Unknown}", E_FAIL), "");
    EXPECT_EQ(Sent("\"A\" %d{1 / (NumOfCopies - 7)}", E_FAIL), "");
    EXPECT_EQ(Sent("\"A\" %g{1}", E_NOTIMPL), "");
    GpdCommand callback;
    callback.callback = true;
    callback.callbackId = 303;
    std::vector<BYTE> output;
    GpdVariables variables = Variables;
    EXPECT_EQ(CommandSender(nullptr, nullptr, &output, variables).Send(callback), E_FAIL);
    EXPECT_TRUE(output.empty());
}

class CommandCallbacks : public moltr::test::DriverPrinterTest {};

TEST_F(CommandCallbacks, ACallbackReachesThePluginWithItsParams) {
    std::string stub =
        (std::filesystem::canonical("/proc/self/exe").parent_path() / "STUBRPC.DLL").string();
    InstallPrinter("*ModelName: \"Stub\"\r\n",
                   {WriteFile("STUB.INI", "[OEMFiles]\r\nOEMDriverFile1=STUBRPC.DLL\r\n"), stub});
    std::vector<BYTE> output;
    RenderPlugin plugin;
    ASSERT_EQ(plugin.Load(printer_, &output), S_OK);
    output.clear();
    GpdReadResult gpd =
        ReadGpdText("*Command: CmdCopies { *CallbackID: 309\n *Params: LIST(NumOfCopies, DestX) }\n"
                    "*Command: CmdEndJob { *CallbackID: 450 }\n"
                    "*Command: CmdBad { *CallbackID: 1\n *Params: LIST(Unknown) }\n",
                    "TEST.GPD", nullptr);
    ASSERT_TRUE(gpd.ok) << gpd.error.Text();
    DEVOBJ devobj{};
    GpdVariables variables = Variables;
    CommandSender sender(plugin.plugin(), &devobj, &output, variables);
    EXPECT_EQ(sender.Send(gpd.model.global.commands[0]), S_OK);
    EXPECT_EQ(sender.Send(gpd.model.global.commands[1]), S_OK);
    EXPECT_EQ(sender.Send(gpd.model.global.commands[2]), E_FAIL);
    EXPECT_EQ(std::string(output.begin(), output.end()), "cb309(7,20000)cb450()");
}

} // namespace
