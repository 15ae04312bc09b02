// The custom media of the sample printer in the custom media combo box and at the end of the
// paper-size list, as the sheet is built: which forms they show, the new-size entry, and the
// paper a chosen custom medium gives the devmode.
#include <gtest/gtest.h>
#include <string>
#include "uiplugin/custom_media_forms.h"
#include "uiplugin/engine/engine_sheet.h"

namespace moltr::test {
namespace {

constexpr DWORD kCustomMediaItem = 17052;
constexpr DWORD kPaperItem = 1203;
constexpr WORD kDescribedPapers = 10;

class CustomSizeListTest : public ::testing::Test {
protected:
    // A custom medium of the printer, as the custom-size dialog adds it.
    void AddMedium(const std::string& name, DWORD width, DWORD length) {
        ASSERT_TRUE(
            uiplugin::AddCustomMedium(sheet_.PrinterName(), sheet_.Text(name), width, length))
            << name;
    }
    // Registers the combo box and the paper list and builds the sheet.
    void Build() {
        combo_ = &sheet_.AddOwnItem(TVOT_COMBOBOX, {0}, kCustomMediaItem);
        paper_ = &sheet_.AddOwnItem(TVOT_COMBOBOX, {9, 11, 1, 5, 7, 8, 3, 27, 28, 20}, kPaperItem);
        for (OPTITEM* item : {combo_, paper_}) {
            ASSERT_EQ(sheet_.Factory().RegisterItem(item), S_OK);
        }
        ASSERT_EQ(sheet_.Factory().FinishRegistration(), S_OK);
        sheet_.Factory().AfterFinish();
    }
    static const OPTPARAM& Option(const OPTITEM* item, DWORD i) {
        return item->pOptType->pOptParam[i];
    }
    static std::string Text(const OPTITEM* item, DWORD i) {
        return sim::Utf8(Option(item, i).pData);
    }
    static bool Hidden(const OPTITEM* item, DWORD i) {
        return (Option(item, i).Flags & OPTPF_HIDE) != 0;
    }

    EngineSheet sheet_;
    OPTITEM* combo_ = nullptr;
    OPTITEM* paper_ = nullptr;
};

TEST_F(CustomSizeListTest, OnlyMarkedMediaWithinThePaperLimitsAreListedInBothLists) {
    AddMedium("Card", 100000, 150000);
    AddMedium("Huge", 900000, 900000);
    // A user form of another application carries no mark.
    FORM_INFO_1W other = {
        FORM_USER, sheet_.Text("Other"), {120000, 180000}, {0, 0, 120000, 180000}};
    ASSERT_TRUE(AddFormW(sheet_.Param().hPrinter, 1, reinterpret_cast<LPBYTE>(&other)));
    AddMedium("Postcard wide", 148000, 200000);
    Build();

    ASSERT_EQ(combo_->pOptType->Count, 31);
    EXPECT_EQ(Text(combo_, 0), "Card");
    EXPECT_EQ(Text(combo_, 1), "Postcard wide");
    for (DWORD i = 2; i < 30; ++i) {
        EXPECT_TRUE(Hidden(combo_, i)) << i;
        EXPECT_EQ(Text(combo_, i), "") << i;
    }
    EXPECT_FALSE(Hidden(combo_, 0));
    EXPECT_EQ(Text(combo_, 30), "New custom size...");
    EXPECT_FALSE(Hidden(combo_, 30));

    // The entry points at its record: the name, then the form it copies.
    const OPTPARAM& card = Option(combo_, 0);
    EXPECT_EQ(card.lParam, reinterpret_cast<LPARAM>(card.pData));
    const auto* form = reinterpret_cast<const FORM_INFO_1W*>(card.pData + 32);
    EXPECT_EQ(form->pName, card.pData);
    EXPECT_EQ(form->Flags, static_cast<DWORD>(FORM_USER));
    EXPECT_EQ(form->Size.cx, 100000);
    EXPECT_EQ(form->Size.cy, 150000);

    ASSERT_EQ(paper_->pOptType->Count, kDescribedPapers + 2);
    EXPECT_EQ(Option(paper_, 0).lParam, 9);
    EXPECT_EQ(Text(paper_, 0), "option 0");
    EXPECT_EQ(Text(paper_, kDescribedPapers), "Card");
    EXPECT_EQ(Option(paper_, kDescribedPapers).lParam, 0x8000);
    EXPECT_EQ(Text(paper_, kDescribedPapers + 1), "Postcard wide");
    EXPECT_EQ(Option(paper_, kDescribedPapers + 1).lParam, 0x8001);
    EXPECT_FALSE(Hidden(paper_, kDescribedPapers + 1));
}

TEST_F(CustomSizeListTest, WithoutMediaTheComboShowsOnlyTheNewSizeEntryAndThePapersStay) {
    Build();
    ASSERT_EQ(combo_->pOptType->Count, 31);
    for (DWORD i = 0; i < 30; ++i) {
        EXPECT_TRUE(Hidden(combo_, i)) << i;
    }
    EXPECT_EQ(Text(combo_, 30), "New custom size...");
    EXPECT_EQ(paper_->pOptType->Count, kDescribedPapers);
}

// The paper list offers no custom medium the combo box and the description file lack.
TEST_F(CustomSizeListTest, BeyondThirtyMediaBothListsStopAtTheSameThirty) {
    for (int i = 0; i < 32; ++i) {
        AddMedium("Size " + std::to_string(i), 100000 + static_cast<DWORD>(i) * 1000, 150000);
    }
    Build();
    ASSERT_EQ(combo_->pOptType->Count, 31);
    ASSERT_EQ(paper_->pOptType->Count, kDescribedPapers + 30);
    for (DWORD i = 0; i < 30; ++i) {
        EXPECT_FALSE(Hidden(combo_, i)) << i;
        EXPECT_EQ(Text(paper_, kDescribedPapers + i), Text(combo_, i)) << i;
    }
    EXPECT_EQ(Text(combo_, 30), "New custom size...");
}

TEST_F(CustomSizeListTest, AChosenCustomPaperCommitsThePaperTheDeviceKnowsItBy) {
    AddMedium("Card", 100000, 150000);
    ASSERT_EQ(uiplugin::WriteCustomMediaOfPrinter(
                  sheet_.Param().hPrinter,
                  uiplugin::PaperLimitsOfPrinter(sheet_.Param().hPrinter, nullptr)),
              S_OK);
    const DWORD index = uiplugin::PaperIndexOfForm(sheet_.Param().hPrinter, sheet_.Text("Card"));
    ASSERT_NE(index, 0u);
    Build();
    ui::VORTAOptItemHandler* paper = sheet_.Factory().Find(kPaperItem);
    ASSERT_NE(paper, nullptr);
    paper->SetSelection(kDescribedPapers, nullptr);
    sheet_.Factory().Commit(FALSE);
    EXPECT_EQ(static_cast<DWORD>(sheet_.PublicDevMode().dmPaperSize), index);

    // The combo box's value is the entry's place, not the record it points at.
    ui::VORTAOptItemHandler* combo = sheet_.Factory().Find(kCustomMediaItem);
    ASSERT_NE(combo, nullptr);
    combo->SetSelection(30, nullptr);
    EXPECT_EQ(combo->GetValue(nullptr), 30);
}

} // namespace
} // namespace moltr::test
