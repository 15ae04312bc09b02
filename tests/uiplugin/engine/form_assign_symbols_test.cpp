// The form-assignment symbols as they land in the printer settings of the sample printer, and
// from there in its description file's RTI block.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "common/drv_settings.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include "uiplugin/engine/form_assign_symbols.h"
#include "uiplugin/ui_printer.h"

namespace moltr::test {
namespace {

std::u16string SlotField(const char* kind, DWORD slot) {
    return sim::Utf16(std::string("_FORM") + kind + "_ALLOWED_0" + std::to_string(slot));
}

class FormAssignSymbols : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(common::CreateDrvSettings(common::kModePrinter, printer_.handle(), &settings_),
                  S_OK);
    }
    void TearDown() override {
        if (settings_ != nullptr) {
            settings_->Release();
        }
    }

    static std::string Text(common::IDrvSettings* settings, const std::u16string& field) {
        WCHAR value[ui::kAllowedSymbolChars + 1] = {};
        EXPECT_EQ(settings->GetValue(nullptr, sim::W(field), value,
                                     ui::kAllowedSymbolChars * sizeof(WCHAR),
                                     common::kLayoutPrinterSettings),
                  S_OK);
        return sim::Utf8(value);
    }
    std::string Size(DWORD slot) { return Text(settings_, SlotField("SIZE", slot)); }
    std::string Type(DWORD slot) { return Text(settings_, SlotField("TYPE", slot)); }

    // Every slot setting holds a text that no assignment gives.
    void FillStale() {
        std::u16string stale(ui::kAllowedSymbolChars, u'\0');
        stale.replace(0, 5, u"STALE");
        for (DWORD slot = 0; slot < ui::kFormAssignSlots; ++slot) {
            for (const char* kind : {"SIZE", "TYPE"}) {
                ASSERT_EQ(settings_->SetValue(nullptr, sim::W(SlotField(kind, slot)), sim::W(stale),
                                              common::kLayoutPrinterSettings),
                          S_OK);
            }
        }
    }

    UiPrinter printer_;
    common::IDrvSettings* settings_ = nullptr;
};

ui::FormAssignment Assignment(std::initializer_list<SHORT> sizes, std::initializer_list<WORD> types,
                              DWORD sources) {
    ui::FormAssignment assignment = {};
    std::copy(sizes.begin(), sizes.end(), assignment.sizes);
    std::copy(types.begin(), types.end(), assignment.types);
    assignment.sources = sources;
    return assignment;
}

constexpr SHORT CustomMedium(WORD n) {
    return static_cast<SHORT>(0x8000 | n);
}

TEST_F(FormAssignSymbols, TheSamplesAssignmentIsReadFromItsPrinterSettings) {
    ui::FormAssignment assignment = {};
    ASSERT_EQ(ui::ReadFormAssignment(settings_, &assignment), S_OK);
    for (DWORD slot = 0; slot < ui::kFormAssignSlots; ++slot) {
        EXPECT_EQ(assignment.sizes[slot], 9);
        EXPECT_EQ(assignment.types[slot], 521);
    }
    EXPECT_EQ(assignment.sources, 4u);
    EXPECT_EQ(ui::ReadFormAssignment(nullptr, &assignment), E_INVALIDARG);
    EXPECT_EQ(ui::ReadFormAssignment(settings_, nullptr), E_INVALIDARG);
}

TEST_F(FormAssignSymbols, EachSlotOfAPrinterSourceNamesItsSizeAndTypeSymbol) {
    FillStale();
    const char* const identifiers[] = {"FIRST", "MY20SIZE201"};
    // Slots: A4 plain; A3F super thick back; custom medium 1 with no type; no size with
    // preprinted; a size and a type without symbols; two slots beyond the five sources.
    const ui::FormAssignment assignment = Assignment(
        {9, 259, CustomMedium(1), 0, DMPAPER_TABLOID, 8, 17}, {521, 541, 0, 539, 520, 526, 527}, 5);
    ASSERT_EQ(ui::WriteFormAssignSymbols(settings_, assignment, {identifiers, 2}), S_OK);
    EXPECT_EQ(Size(0), "_MEDIASIZE_A4_ALLOWED_01");
    EXPECT_EQ(Type(0), "_MEDIATYPE_PLAIN_ALLOWED_01");
    EXPECT_EQ(Size(1), "_MEDIASIZE_A3F_ALLOWED_01");
    EXPECT_EQ(Type(1), "_MEDIATYPE_THICKSUPERBACK_ALLOWED_01");
    EXPECT_EQ(Size(2), "_CUSTOM_MY20SIZE201_ALLOWED_01");
    EXPECT_EQ(Type(2), "");
    EXPECT_EQ(Size(3), "");
    EXPECT_EQ(Type(3), "_MEDIATYPE_PREPRINTED_ALLOWED_01");
    EXPECT_EQ(Size(4), "");
    EXPECT_EQ(Type(4), "");
    for (DWORD slot = 5; slot < ui::kFormAssignSlots; ++slot) {
        EXPECT_EQ(Size(slot), "") << slot;
        EXPECT_EQ(Type(slot), "") << slot;
    }
}

TEST_F(FormAssignSymbols, MoreSourcesThanSlotsFillAllSevenAndNoFurtherSetting) {
    FillStale();
    const ui::FormAssignment assignment =
        Assignment({1, 5, 6, 7, 11, 13, 14}, {522, 523, 524, 525, 528, 536, 538}, 255);
    ASSERT_EQ(ui::WriteFormAssignSymbols(settings_, assignment, {nullptr, 0}), S_OK);
    const char* const sizes[] = {"LETTER", "LEGAL", "LETTERHALF", "EXECUTIVE", "A5", "B5", "GLG"};
    const char* const types[] = {"PLAINBACK", "LETTERHEAD", "RECYCLED", "COLOR",
                                 "THICK",     "COATED",     "ROUGH"};
    for (DWORD slot = 0; slot < ui::kFormAssignSlots; ++slot) {
        EXPECT_EQ(Size(slot), std::string("_MEDIASIZE_") + sizes[slot] + "_ALLOWED_01");
        EXPECT_EQ(Type(slot), std::string("_MEDIATYPE_") + types[slot] + "_ALLOWED_01");
    }
    // No eighth slot exists to be written.
    WCHAR value[8] = {};
    EXPECT_EQ(settings_->GetValue(nullptr, L"_FORMSIZE_ALLOWED_07", value, sizeof value,
                                  common::kLayoutPrinterSettings),
              E_FAIL);
}

TEST_F(FormAssignSymbols, ACustomMediumThatIsUnknownOrTooLongLeavesItsSlotEmpty) {
    FillStale();
    // The setting holds 79 characters: the identifier may have 60.
    const std::string fits(60, 'A');
    const std::string tooLong(61, 'B');
    const char* const identifiers[] = {fits.c_str(), tooLong.c_str(), "", nullptr};
    const ui::FormAssignment assignment =
        Assignment({CustomMedium(0), CustomMedium(1), CustomMedium(2), CustomMedium(3),
                    CustomMedium(4), CustomMedium(0x7FFF)},
                   {}, 6);
    ASSERT_EQ(ui::WriteFormAssignSymbols(settings_, assignment, {identifiers, 4}), S_OK);
    EXPECT_EQ(Size(0), "_CUSTOM_" + fits + "_ALLOWED_01");
    EXPECT_EQ(Size(0).size(), ui::kAllowedSymbolChars - 1);
    for (DWORD slot = 1; slot < ui::kFormAssignSlots; ++slot) {
        EXPECT_EQ(Size(slot), "") << slot;
    }
    // Without any custom media.
    ASSERT_EQ(ui::WriteFormAssignSymbols(settings_, assignment, {nullptr, 4}), S_OK);
    EXPECT_EQ(Size(0), "");
}

TEST_F(FormAssignSymbols, TheSymbolsAreSavedAndDefinedInTheDescriptionsRtiBlock) {
    const ui::FormAssignment assignment = Assignment({12, 37}, {530, 535}, 2);
    ASSERT_EQ(ui::WriteFormAssignSymbols(settings_, assignment, {nullptr, 0}), S_OK);
    // The printer sheet's commit saves the printer settings; no item of its own changed.
    OPTITEM unchanged = {};
    unchanged.cbSize = sizeof unchanged;
    ASSERT_EQ(settings_->SettingsFromItems(&unchanged, 1, nullptr, printer_.handle()), S_OK);

    common::IDrvSettings* reopened = nullptr;
    ASSERT_EQ(common::CreateDrvSettings(common::kModePrinter, printer_.handle(), &reopened), S_OK);
    EXPECT_EQ(Text(reopened, u"_FORMSIZE_ALLOWED_00"), "_MEDIASIZE_B4_ALLOWED_01");
    EXPECT_EQ(Text(reopened, u"_FORMTYPE_ALLOWED_01"), "_MEDIATYPE_THICKNARROWBACK_ALLOWED_01");
    reopened->Release();

    DWORD needed = 0;
    GetPrinterDriverW(printer_.handle(), nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterDriverW(printer_.handle(), nullptr, 3, buffer.data(), needed, &needed));
    const auto* driver = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    std::ifstream file(sim::HostPath(driver->pDataFile), std::ios::binary);
    std::stringstream gpd;
    gpd << file.rdbuf();
    const std::string text = gpd.str();
    const size_t end = text.find("*% RTI END");
    ASSERT_NE(end, std::string::npos);
    for (const char* symbol :
         {"_MEDIASIZE_B4_ALLOWED_01", "_MEDIASIZE_ENV_MONARCH_ALLOWED_01",
          "_MEDIATYPE_THICKEXTRA_ALLOWED_01", "_MEDIATYPE_THICKNARROWBACK_ALLOWED_01"}) {
        const size_t define = text.find(std::string("*Define: ") + symbol + "\r\n");
        EXPECT_LT(define, end) << symbol;
    }
}

TEST(FormAssignSymbolTables, StandardCodesHaveSymbolsAndOthersNone) {
    EXPECT_EQ(sim::Utf8(ui::PaperSizeSymbol(34)), "_MEDIASIZE_ENV_IB5_ALLOWED_01");
    EXPECT_EQ(sim::Utf8(ui::PaperSizeSymbol(258)), "_MEDIASIZE_GLT_ALLOWED_01");
    EXPECT_EQ(sim::Utf8(ui::MediaTypeSymbol(532)), "_MEDIATYPE_THICKSEMI_ALLOWED_01");
    // Tabloid, A2 and the driver's form 257 have no symbol, nor media type 520.
    for (DWORD paper : {0, 3, 66, 257, 0x8000}) {
        EXPECT_EQ(ui::PaperSizeSymbol(paper), nullptr) << paper;
    }
    for (DWORD type : {0, 1, 520, 542, 9}) {
        EXPECT_EQ(ui::MediaTypeSymbol(type), nullptr) << type;
    }
}

} // namespace
} // namespace moltr::test
