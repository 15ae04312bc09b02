// `moltr ui`: the command line's contract (one-line errors, exit status 2) and, on the sample
// printer's sheets, what a user's actions leave in the devmode and what the report shows.
#include "moltr_run.h"
#include "sim/machine.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace moltr::test {
namespace {

// The rectangle the JSON report gives the first control `id` (left, top, right, bottom).
std::array<long, 4> ControlRect(const std::string& json, int id) {
    std::array<long, 4> rect = {};
    const size_t control = json.find("{\"id\": " + std::to_string(id) + ", ");
    const size_t at = json.find("\"rect\": [", control);
    if (control == std::string::npos || at == std::string::npos ||
        std::sscanf(json.c_str() + at, "\"rect\": [%ld, %ld, %ld, %ld]", &rect[0], &rect[1],
                    &rect[2], &rect[3]) != 4) {
        ADD_FAILURE() << "no rectangle for control " << id;
    }
    return rect;
}

bool Overlap(const std::array<long, 4>& a, const std::array<long, 4>& b) {
    return a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
}

class MoltrUi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, Moltr("printer add Sample").status); }

    sim::TestMachine machine_;
};

// Every wrong command line is refused before a sheet opens, with nothing on standard output.
TEST_F(MoltrUi, WrongCommandLinesExitWithStatusTwo) {
    for (const char* arguments : {
             "ui",
             "ui Sample",
             "ui Sample --document --printer",
             "ui Nobody --document",
             "ui Sample --document --do",
             "ui Sample --document --do frob",
             "ui Sample --document --do page",
             "ui Sample --document --do page:x",
             "ui Sample --document --do select:3",
             "ui Sample --document --do select:0x=1",
             "ui Sample --document --do select:3=-1",
             "ui Sample --document --do check:3=2",
             "ui Sample --document --do click:0",
             "ui Sample --document --do apply:1",
             "ui Sample --document --do respond:IDMAYBE",
             "ui Sample --document --do ok --do apply",
             "ui Sample --document --bogus",
         }) {
        const MoltrRun run = Moltr(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.output, "") << arguments;
    }
}

// A host item changed through the sheet lands in the devmode when the sheet closes with OK, and
// the application's devmode stays as it was when the user cancels.
TEST_F(MoltrUi, AChosenOptionLandsInTheDevmodeOnOkOnly) {
    const MoltrRun ok = Moltr("ui Sample --document --do select:1=1");
    ASSERT_EQ(ok.status, 0) << ok.output;
    EXPECT_NE(ok.output.find("dmOrientation = 2\n"), std::string::npos) << ok.output;
    const MoltrRun cancelled = Moltr("ui Sample --document --do select:1=1 --do cancel");
    ASSERT_EQ(cancelled.status, 0) << cancelled.output;
    EXPECT_NE(cancelled.output.find("dmOrientation = 1\n"), std::string::npos);
    EXPECT_EQ(Moltr("ui Sample --document --do select:1=7").status, 2);
}

// The JSON report names the UI type, each page with its controls, the engine's items (the host's
// and the plug-in's own) and the devmode's public and private fields.
TEST_F(MoltrUi, TheJsonReportHasPagesItemsAndTheDevmode) {
    const MoltrRun run = Moltr("ui Sample --document --json");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* part : {
             "{\"uiType\": 2, \"pages\": [{\"caption\": \"General\", \"dialogId\": ",
             "\"controls\": [{\"id\": ",
             "\"items\": [{\"id\": 1, \"oem\": false, \"dmPubId\": 1, ",
             "\"oem\": true",
             "\"messages\": []",
             "\"devmode\": {\"public\": {\"dmSize\": 220",
             "\"private\": {",
         }) {
        EXPECT_NE(run.output.find(part), std::string::npos) << part;
    }
}

// On the General page the collation text stands beside the copies' edit box and up-down control,
// not over them.
TEST_F(MoltrUi, TheCollationTextStandsClearOfTheCopies) {
    const MoltrRun run = Moltr("ui Sample --document --json");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::array<long, 4> text = ControlRect(run.output, 3404);
    EXPECT_GT(text[2], text[0]);
    EXPECT_FALSE(Overlap(text, ControlRect(run.output, 3401)));
    EXPECT_FALSE(Overlap(text, ControlRect(run.output, 3)));
}

// Each own page names the dialog template it was made from.
TEST_F(MoltrUi, OwnPagesShowTheirDialogIds) {
    const MoltrRun document = Moltr("ui Sample --document --json");
    ASSERT_EQ(document.status, 0) << document.output;
    EXPECT_NE(document.output.find("{\"caption\": \"Layout\", \"dialogId\": 2000, "),
              std::string::npos);
    EXPECT_NE(document.output.find("{\"caption\": \"Watermark\", \"dialogId\": 19000, "),
              std::string::npos);
    const MoltrRun printer = Moltr("ui Sample --printer");
    EXPECT_NE(printer.output.find("page 1 \"Form Assignment\" (dialog 8000)\n"), std::string::npos);
}

// The printer sheet opens as the printers folder opens it, and a host item chosen in it is stored
// with the printer: in the printer settings the plug-in keeps for it, on the own page's check box
// of the same setting, and in the next sheet.
TEST_F(MoltrUi, ThePrinterSheetStoresAChoice) {
    // EnablePJL, the one host item shown, by the id of the help index the GPD gives it.
    const std::string item = "{\"id\": 2147514698, ";
    const MoltrRun before = Moltr("ui Sample --printer --json");
    ASSERT_EQ(before.status, 0) << before.output;
    const size_t shown = before.output.find(item);
    ASSERT_NE(shown, std::string::npos);
    EXPECT_EQ(before.output.find("\"sel\": 0,", shown), before.output.find("\"sel\": ", shown));
    EXPECT_NE(before.output.find("\"printerSettings\": {\"_SIZE\": "), std::string::npos);
    const MoltrRun chosen = Moltr("ui Sample --printer --do select:0x8000794A=1");
    ASSERT_EQ(chosen.status, 0) << chosen.output;
    EXPECT_NE(chosen.output.find("_ENABLEPJL = 0\n"), std::string::npos);
    EXPECT_NE(chosen.output.find("9252  Button  \"Printer job language (PJL)\"  value 0\n"),
              std::string::npos);
    const MoltrRun after = Moltr("ui Sample --printer --json");
    const size_t stored = after.output.find(item);
    ASSERT_NE(stored, std::string::npos);
    EXPECT_EQ(after.output.find("\"sel\": 1,", stored), after.output.find("\"sel\": ", stored));
}

// The host items of the installable options show the plug-in's texts: option 0 of each is the
// installed one, whose setting is 1. The host adds its own colon to their names, so theirs have
// none.
TEST_F(MoltrUi, InstallableOptionsShowThePluginsTexts) {
    const MoltrRun run = Moltr("ui Sample --printer --json");
    ASSERT_EQ(run.status, 0) << run.output;
    const size_t flash = run.output.find("\"name\": \"CompactFlash card\"");
    ASSERT_NE(flash, std::string::npos);
    const size_t installed = run.output.find("{\"text\": \"Installed\"", flash);
    EXPECT_LT(installed, run.output.find("{\"text\": \"Not installed\"", flash));
    EXPECT_NE(run.output.find("\"name\": \"Printer job language (PJL)\""), std::string::npos);
    const MoltrRun shown = Moltr("ui Sample --printer");
    EXPECT_NE(shown.output.find("1101  Static  \"Printer job language (PJL):\""), std::string::npos)
        << shown.output;
    EXPECT_EQ(shown.output.find("::"), std::string::npos) << shown.output;
}

// The host item follows the own page's check box of its setting, so that a later commit of the
// host item does not bring back what the user unchecked.
TEST_F(MoltrUi, AHostItemFollowsTheCheckBoxOfItsSetting) {
    ASSERT_EQ(Moltr("ui Sample --printer --do check:9252=0").status, 0);
    const MoltrRun later = Moltr("ui Sample --printer --do check:9302=1 --json");
    ASSERT_EQ(later.status, 0) << later.output;
    const size_t host = later.output.find("{\"id\": 2147514698, ");
    ASSERT_NE(host, std::string::npos);
    EXPECT_EQ(later.output.find("\"sel\": 1,", host), later.output.find("\"sel\": ", host));
    EXPECT_NE(later.output.find("\"_ENABLEPJL\": 0,"), std::string::npos);
    EXPECT_NE(later.output.find("\"_USE1200DPI\": 1,"), std::string::npos);
}

// The controls of the plug-in's own pages open on the values the settings hold, and what the user
// changes in them lands in the printer settings on OK only.
TEST_F(MoltrUi, OwnPageCheckBoxesShowAndStoreThePrinterSettings) {
    const MoltrRun before = Moltr("ui Sample --printer");
    ASSERT_EQ(before.status, 0) << before.output;
    // The sample's defaults: a RAM disk and PJL, no CompactFlash card.
    for (const char* shown :
         {"9202  Button  \"RAM disk\"  value 1\n", "9230  Button  \"CompactFlash card\"  value 0\n",
          "9252  Button  \"Printer job language (PJL)\"  value 1\n"}) {
        EXPECT_NE(before.output.find(shown), std::string::npos) << shown;
    }
    const MoltrRun cancelled = Moltr("ui Sample --printer --do check:9252=0 --do cancel");
    ASSERT_EQ(cancelled.status, 0) << cancelled.output;
    EXPECT_NE(cancelled.output.find("_ENABLEPJL = 1\n"), std::string::npos);
    const MoltrRun changed = Moltr("ui Sample --printer --do check:9252=0 --do check:9230=1");
    ASSERT_EQ(changed.status, 0) << changed.output;
    EXPECT_NE(changed.output.find("_ENABLEPJL = 0\n"), std::string::npos);
    EXPECT_NE(changed.output.find("_CFLASH = 1\n"), std::string::npos);
    const MoltrRun after = Moltr("ui Sample --printer");
    EXPECT_NE(after.output.find("9252  Button  \"Printer job language (PJL)\"  value 0\n"),
              std::string::npos);
    EXPECT_NE(after.output.find("9230  Button  \"CompactFlash card\"  value 1\n"),
              std::string::npos);
}

// On the document sheet a track bar opens on the devmode's value and a dragged thumb and a checked
// box land in the private devmode.
TEST_F(MoltrUi, OwnPageControlsOfTheDocumentSheetLandInTheDevmode) {
    const MoltrRun before = Moltr("ui Sample --document");
    ASSERT_EQ(before.status, 0) << before.output;
    EXPECT_NE(before.output.find("4352  msctls_trackbar32  \"Gamma:\"  value 22\n"),
              std::string::npos);
    const MoltrRun run =
        Moltr("ui Sample --document --do page:1 --do check:2352=1 --do page:3 --do select:4352=15");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("_NUP_BORDER = 1\n"), std::string::npos);
    EXPECT_NE(run.output.find("_GAMMA = 15\n"), std::string::npos);
}

// What the JSON report says of a page's control `id`: the text of its `field`.
std::string ControlField(const std::string& json, int id, const std::string& field) {
    // The pages come first in the report, so the first object of that id is the control.
    const size_t control = json.find("{\"id\": " + std::to_string(id) + ", \"class\": ");
    const std::string key = "\"" + field + "\": ";
    const size_t at = control != std::string::npos ? json.find(key, control) : std::string::npos;
    if (at == std::string::npos || at > json.find('}', control)) {
        return "";
    }
    const size_t value = at + key.size();
    return json.substr(value, json.find_first_of(",}", value) - value);
}

// The job-retention page opens closed until its switch is on, and a private job shows the PIN in
// place of the preview.
TEST_F(MoltrUi, JobRetentionItemsFollowTheSwitchAndTheJobMode) {
    const MoltrRun closed = Moltr("ui Sample --document --json");
    ASSERT_EQ(closed.status, 0) << closed.output;
    EXPECT_EQ(ControlField(closed.output, 5102, "enabled"), "false");
    EXPECT_EQ(ControlField(closed.output, 5053, "enabled"), "true");
    EXPECT_EQ(ControlField(closed.output, 5253, "visible"), "true");
    EXPECT_EQ(ControlField(closed.output, 5302, "visible"), "false");
    const MoltrRun open =
        Moltr("ui Sample --document --do page:4 --do check:5053=1 --do select:5102=2 --json");
    ASSERT_EQ(open.status, 0) << open.output;
    EXPECT_EQ(ControlField(open.output, 5102, "enabled"), "true");
    EXPECT_EQ(ControlField(open.output, 5302, "enabled"), "true");
    EXPECT_EQ(ControlField(open.output, 5302, "visible"), "true");
    EXPECT_EQ(ControlField(open.output, 5253, "visible"), "false");
}

// The models that take a CompactFlash card drop the RAM disk for an installed card, on the
// printer sheet of either sample; a model without a card slot keeps both.
TEST_F(MoltrUi, AnInstalledCardTakesThePlaceOfTheRamDisk) {
    ASSERT_EQ(0, Moltr("printer add Pcl6 --sample pcl6").status);
    ASSERT_EQ(0, Moltr("printer add Model4 --driver \"MOLTR ColorLaser 2500 PCL5c\"").status);
    for (const char* printer : {"Sample", "Pcl6", "Model4"}) {
        const bool cardModel = std::string(printer) != "Model4";
        const MoltrRun run = Moltr(std::string("ui ") + printer + " --printer --do check:9230=1");
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("_CFLASH = 1\n"), std::string::npos) << printer;
        EXPECT_NE(run.output.find(cardModel ? "_RAMDISK = 0\n" : "_RAMDISK = 1\n"),
                  std::string::npos)
            << printer;
        EXPECT_NE(run.output.find(std::string("9202  Button  \"RAM disk\"  value ") +
                                  (cardModel ? "0" : "1")),
                  std::string::npos)
            << printer;
    }
}

// An older model's fixed colour modes take the adjustments over; the manual mode gives the
// user's values back and opens them.
TEST_F(MoltrUi, TheOlderModelsColourModesDecideTheAdjustments) {
    ASSERT_EQ(0, Moltr("printer add Older --driver \"MOLTR ColorLaser 1100 PCL5c\"").status);
    const MoltrRun fixed = Moltr("ui Older --document --json");
    ASSERT_EQ(fixed.status, 0) << fixed.output;
    EXPECT_EQ(ControlField(fixed.output, 4352, "value"), "18");
    EXPECT_EQ(ControlField(fixed.output, 4352, "enabled"), "false");
    EXPECT_EQ(ControlField(fixed.output, 4100, "visible"), "false");
    const MoltrRun manual = Moltr("ui Older --document --do page:3 --do select:4053=2 --json");
    ASSERT_EQ(manual.status, 0) << manual.output;
    EXPECT_EQ(ControlField(manual.output, 4352, "value"), "22");
    EXPECT_EQ(ControlField(manual.output, 4352, "enabled"), "true");
    // The sample's own model has no such rule.
    const MoltrRun newer = Moltr("ui Sample --document --json");
    EXPECT_EQ(ControlField(newer.output, 4352, "enabled"), "true");
    EXPECT_EQ(ControlField(newer.output, 4352, "value"), "22");
}

// The driver's settings file chooses UI type 1 for both sheets: the plug-in's items then stand in
// the host's tree view, with the host's, and a change made there lands.
class MoltrUiTypeOne : public MoltrUi {
protected:
    void SetUp() override {
        MoltrUi::SetUp();
        const std::filesystem::path ini = std::filesystem::path(machine_.root()) /
                                          "c/Windows/System32/spool/drivers/x64/3/MOLTR4KC.INI";
        std::stringstream text;
        text << std::ifstream(ini).rdbuf();
        std::string settings = text.str();
        for (const char* key : {"UIPTYPEDOCUMENT=0", "UIPTYPEPRINTER=0"}) {
            const size_t at = settings.find(key);
            ASSERT_NE(at, std::string::npos) << key;
            settings.replace(at + std::string(key).size() - 1, 1, "1");
        }
        std::ofstream(ini, std::ios::binary) << settings;
    }
};

TEST_F(MoltrUiTypeOne, TheDocumentSheetShowsEveryItemInTheTreeAndStoresAChange) {
    const MoltrRun shown = Moltr("ui Sample --document --json");
    ASSERT_EQ(shown.status, 0) << shown.output;
    EXPECT_EQ(shown.output.find("{\"uiType\": 1, "), 0u);
    const MoltrRun run = Moltr("ui Sample --document --do select:2352=1 --do select:1=1");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("_NUP_BORDER = 1\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("dmOrientation = 2\n"), std::string::npos);
}

TEST_F(MoltrUiTypeOne, ThePrinterSheetStoresAChangeOfAnOwnItem) {
    const MoltrRun run = Moltr("ui Sample --printer --do select:9230=1");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("_CFLASH = 1\n"), std::string::npos) << run.output;
    const MoltrRun json = Moltr("ui Sample --printer --json");
    EXPECT_EQ(json.output.find("{\"uiType\": 1, "), 0u);
}

} // namespace
} // namespace moltr::test
