// The options a job's devmode selects in a GPD model, the attributes a configuration resolves
// through *switch (a case's command replacing the option's own of the same name), and the
// commands of each job section in *Order.
#include "src/unidrv/gpd_configuration.h"
#include "src/unidrv/gpd_reader.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <cstddef>

namespace {

using namespace moltr::unidrv;

constexpr char kPrinter[] =
    "*Feature: PaperSize\n{\n    *DefaultOption: A4\n"
    "    *Option: LETTER { *Name: \"LT 8.5 x 11 in\" }\n"
    "    *Option: A4 { *Name: \"A4 210 x 297 mm\" }\n"
    "    *Option: POSTCARD { *Name: \"Card\" }\n"
    "    *Option: CUSTOM1 { *OptionID: 300 }\n"
    "    *Option: POSTER { *Name: \"Poster\" }\n}\n"
    "*Feature: InputBin\n{\n    *DefaultOption: FORMSOURCE\n"
    "    *Option: FORMSOURCE { *Name: \"Auto\" }\n    *Option: MANUAL { *Name: \"Manual\" }\n"
    "    *Option: TRAY2 { *OptionID: 520 }\n}\n"
    "*Feature: MediaType\n{\n    *DefaultOption: PLAIN\n"
    "    *Option: PLAIN { *OptionID: 521 }\n    *Option: TRANSPARENCY { *Name: \"OHP\" }\n"
    "    *Option: THICK { *OptionID: 528 }\n}\n"
    "*Feature: Orientation\n{\n    *Option: PORTRAIT { *Name: \"P\" }\n"
    "    *Option: LANDSCAPE_CC270 { *Name: \"L\" }\n}\n"
    "*Feature: Duplex\n{\n    *Option: NONE { *Name: \"1\" }\n"
    "    *Option: VERTICAL { *Name: \"2\" }\n    *Option: HORIZONTAL { *Name: \"3\" }\n}\n"
    "*Feature: ColorMode\n{\n    *DefaultOption: 24bpp\n"
    "    *Option: Mono { *Color?: FALSE }\n    *Option: 24bpp { *Color?: TRUE }\n}\n"
    "*Feature: Resolution\n{\n    *DefaultOption: R600\n"
    "    *Option: R300 { *DPI: PAIR(300, 300) }\n    *Option: R600 { *DPI: PAIR(600, 600) }\n"
    "    *Option: R1200 { *DPI: PAIR(1200, 600) }\n}\n"
    "*Feature: Collate\n{\n    *DefaultOption: OFF\n"
    "    *Option: ON { *Name: \"On\" }\n    *Option: OFF { *Name: \"Off\" }\n}\n"
    "*Feature: Stapling\n{\n    *DefaultOption: ON\n"
    "    *Option: OFF { *Name: \"Off\" }\n    *Option: ON { *Name: \"On\" }\n}\n";

class Configuration : public ::testing::Test {
protected:
    void SetUp() override {
        GpdReadResult result = ReadGpdText(kPrinter, "TEST.GPD", nullptr);
        ASSERT_TRUE(result.ok) << result.error.Text();
        model_ = std::move(result.model);
        devmode_.dmSize = sizeof(DEVMODEW);
    }

    std::string Chosen(const char* feature) {
        const GpdOption* option =
            ConfigurationFromDevmode(model_, &devmode_).Selected(model_, feature);
        return option ? option->name : "(none)";
    }

    GpdModel model_;
    DEVMODEW devmode_{};
};

TEST_F(Configuration, WithoutDevmodeOrFlagsEveryFeatureTakesItsDefault) {
    GpdConfiguration defaults = ConfigurationFromDevmode(model_, nullptr);
    EXPECT_EQ(defaults.Selected(model_, "PaperSize")->name, "A4");
    EXPECT_EQ(defaults.Selected(model_, "Orientation")->name, "PORTRAIT");
    devmode_.dmPaperSize = DMPAPER_LETTER; // not flagged in dmFields
    devmode_.dmDuplex = DMDUP_VERTICAL;
    EXPECT_EQ(Chosen("PaperSize"), "A4");
    EXPECT_EQ(Chosen("Duplex"), "NONE");
    EXPECT_EQ(Chosen("Stapling"), "ON");
}

TEST_F(Configuration, PaperSizeIsFoundByStandardNameAndByOptionId) {
    devmode_.dmFields = DM_PAPERSIZE;
    devmode_.dmPaperSize = DMPAPER_LETTER;
    EXPECT_EQ(Chosen("PaperSize"), "LETTER");
    devmode_.dmPaperSize = 300;
    EXPECT_EQ(Chosen("PaperSize"), "CUSTOM1");
    devmode_.dmPaperSize = DMPAPER_A3; // no such option: the default stays
    EXPECT_EQ(Chosen("PaperSize"), "A4");
}

TEST_F(Configuration, PapersWithoutCodeAreNumberedFromTheUserRange) {
    const GpdFeature& paper = *model_.Feature("PaperSize");
    EXPECT_EQ(PaperCode(paper, 0), DMPAPER_LETTER);
    EXPECT_EQ(PaperCode(paper, 1), DMPAPER_A4);
    EXPECT_EQ(PaperCode(paper, 2), DMPAPER_USER);
    EXPECT_EQ(PaperCode(paper, 3), 300);
    EXPECT_EQ(PaperCode(paper, 4), DMPAPER_USER + 1);
    devmode_.dmFields = DM_PAPERSIZE;
    devmode_.dmPaperSize = DMPAPER_USER + 1;
    EXPECT_EQ(Chosen("PaperSize"), "POSTER");
}

TEST_F(Configuration, BinMediaOrientationDuplexAndCollationFollowTheirFields) {
    devmode_.dmFields = DM_DEFAULTSOURCE | DM_MEDIATYPE | DM_ORIENTATION | DM_DUPLEX | DM_COLLATE;
    devmode_.dmCollate = DMCOLLATE_TRUE;
    devmode_.dmDefaultSource = DMBIN_MANUAL;
    devmode_.dmMediaType = 528;
    devmode_.dmOrientation = DMORIENT_LANDSCAPE;
    devmode_.dmDuplex = DMDUP_HORIZONTAL;
    EXPECT_EQ(Chosen("InputBin"), "MANUAL");
    EXPECT_EQ(Chosen("MediaType"), "THICK");
    EXPECT_EQ(Chosen("Orientation"), "LANDSCAPE_CC270");
    EXPECT_EQ(Chosen("Duplex"), "HORIZONTAL");
    EXPECT_EQ(Chosen("Collate"), "ON");
    devmode_.dmDefaultSource = 520;
    devmode_.dmMediaType = DMMEDIA_TRANSPARENCY;
    devmode_.dmDuplex = DMDUP_VERTICAL;
    EXPECT_EQ(Chosen("InputBin"), "TRAY2");
    EXPECT_EQ(Chosen("MediaType"), "TRANSPARENCY");
    EXPECT_EQ(Chosen("Duplex"), "VERTICAL");
}

TEST_F(Configuration, AFieldBeyondTheDevmodesSizeIsNotRead) {
    devmode_.dmFields = DM_MEDIATYPE | DM_DUPLEX;
    devmode_.dmMediaType = 528;
    devmode_.dmDuplex = DMDUP_VERTICAL;
    devmode_.dmSize = static_cast<WORD>(offsetof(DEVMODEW, dmMediaType));
    EXPECT_EQ(Chosen("MediaType"), "PLAIN");
    EXPECT_EQ(Chosen("Duplex"), "VERTICAL");
}

TEST_F(Configuration, ColourModeIsChosenByItsColourAttribute) {
    devmode_.dmFields = DM_COLOR;
    devmode_.dmColor = DMCOLOR_MONOCHROME;
    EXPECT_EQ(Chosen("ColorMode"), "Mono");
    devmode_.dmColor = DMCOLOR_COLOR;
    EXPECT_EQ(Chosen("ColorMode"), "24bpp");
    devmode_.dmColor = 7;
    EXPECT_EQ(Chosen("ColorMode"), "24bpp");
}

TEST_F(Configuration, ResolutionMatchesBothDirectionsOrTheQualityLevel) {
    devmode_.dmFields = DM_PRINTQUALITY;
    devmode_.dmPrintQuality = 300;
    EXPECT_EQ(Chosen("Resolution"), "R300");
    devmode_.dmPrintQuality = 1200;
    EXPECT_EQ(Chosen("Resolution"), "R600"); // 1200 x 1200 is not offered
    devmode_.dmFields |= DM_YRESOLUTION;
    devmode_.dmYResolution = 600;
    EXPECT_EQ(Chosen("Resolution"), "R1200");
    devmode_.dmPrintQuality = DMRES_DRAFT;
    EXPECT_EQ(Chosen("Resolution"), "R300");
    devmode_.dmPrintQuality = DMRES_HIGH;
    EXPECT_EQ(Chosen("Resolution"), "R1200");
}

constexpr char kCommands[] =
    "*Feature: Orientation\n{\n    *Option: PORTRAIT\n    {\n"
    "        *Command: CmdSelect { *Order: PAGE_SETUP.5\n *Cmd: \"P\" }\n    }\n"
    "    *Option: LANDSCAPE_CC90\n    {\n"
    "        *Command: CmdSelect { *Order: PAGE_SETUP.5\n *Cmd: \"L\" }\n    }\n}\n"
    "*Feature: PaperSize\n{\n    *Option: A4\n    {\n        *PrintableOrigin: PAIR(200, 200)\n"
    "        *switch: Orientation\n        {\n            *case: LANDSCAPE_CC90\n"
    "            {\n                *PrintableOrigin: PAIR(100, 300)\n"
    "                *Command: CmdSelect { *Order: PAGE_SETUP.2\n *Cmd: \"A4L\" }\n"
    "            }\n        }\n"
    "        *Command: CmdSelect { *Order: PAGE_SETUP.2\n *Cmd: \"A4\" }\n    }\n}\n"
    "*Command: CmdStartPage { *Order: PAGE_SETUP.1\n *Cmd: \"S\" }\n"
    "*Command: CmdLate { *Order: PAGE_SETUP.9\n *CallbackID: 9 }\n"
    "*Command: CmdStartJob { *Order: JOB_SETUP.1\n *CallbackID: 303 }\n";

std::string Sent(const GpdModel& model, const GpdConfiguration& configuration, GpdSection section) {
    std::string sent;
    for (const GpdCommand* command : SectionCommands(model, configuration, section)) {
        sent += (sent.empty() ? "" : " ") +
                (command->callback ? std::to_string(command->callbackId) : command->parts[0].bytes);
    }
    return sent;
}

TEST(ConfigurationCommands, EachSectionSendsItsCommandsInOrderWithTheCasesInForce) {
    GpdReadResult result = ReadGpdText(kCommands, "TEST.GPD", nullptr);
    ASSERT_TRUE(result.ok) << result.error.Text();
    const GpdModel& model = result.model;
    GpdConfiguration portrait = DefaultConfiguration(model);
    EXPECT_EQ(Sent(model, portrait, GpdSection::kPageSetup), "S A4 P 9");
    EXPECT_EQ(Sent(model, portrait, GpdSection::kJobSetup), "303");
    EXPECT_EQ(Sent(model, portrait, GpdSection::kDocSetup), "");

    DEVMODEW devmode{};
    devmode.dmSize = sizeof(devmode);
    devmode.dmFields = DM_ORIENTATION;
    devmode.dmOrientation = DMORIENT_LANDSCAPE;
    GpdConfiguration landscape = ConfigurationFromDevmode(model, &devmode);
    EXPECT_EQ(Sent(model, landscape, GpdSection::kPageSetup), "S A4L L 9");

    const GpdBody& a4 = model.Feature("PaperSize")->options[0].body;
    EXPECT_EQ(ResolvedAttribute(model, portrait, a4, "*PrintableOrigin")->value, "PAIR(200, 200)");
    EXPECT_EQ(ResolvedAttribute(model, landscape, a4, "*PrintableOrigin")->value, "PAIR(100, 300)");
    EXPECT_EQ(ResolvedAttribute(model, landscape, a4, "*PrintableArea"), nullptr);
}

} // namespace
