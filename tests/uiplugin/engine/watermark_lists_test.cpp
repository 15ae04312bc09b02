// The saved watermarks and document settings of the sample printer: their lists loaded from and
// stored into the printer's records, a saved watermark applied to the page's items, and the font
// choices from the screen's families.
#include <gtest/gtest.h>
#include <string>
#include "engine_sheet.h"
#include "store/xpr.h"
#include "uiplugin/engine/named_list.h"
#include "uiplugin/engine/watermark_apply.h"
#include "uiplugin/engine/watermark_fonts.h"

namespace moltr::test {
namespace {

using ui::NamedList;
using ui::NamedListKind;

class WatermarkListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(store::OpenByHandle(sheet_.Param().hPrinter, L"WATERMARKSETTINGS", &watermarks_),
                  store::kClassSuccess);
        ASSERT_EQ(store::OpenByHandle(sheet_.Param().hPrinter, L"DOCUMENTSETTINGS", &documents_),
                  store::kClassSuccess);
    }
    void TearDown() override {
        ui::FreeNamedList(sheet_.Heap(), list_);
        store::Close(&watermarks_);
        store::Close(&documents_);
    }
    static std::string Name(const NamedList& list, DWORD i) {
        return sim::Utf8(list.options[i].pData);
    }
    static bool Hidden(const NamedList& list, DWORD i) {
        return (list.options[i].Flags & OPTPF_HIDE) != 0;
    }

    EngineSheet sheet_;
    store::StructureRecord* watermarks_ = nullptr;
    store::StructureRecord* documents_ = nullptr;
    NamedList list_;
};

TEST_F(WatermarkListTest, EveryRecordIsAnEntryAndFreeSlotsAreHidden) {
    ASSERT_EQ(ui::LoadNamedList(sheet_.Heap(), watermarks_, NamedListKind::kWatermarks, list_), 8u);
    EXPECT_EQ(Name(list_, 0), "Confidential");
    EXPECT_EQ(Name(list_, 1), "Draft");
    EXPECT_FALSE(Hidden(list_, 0));
    EXPECT_FALSE(Hidden(list_, 1));
    for (DWORD i = 2; i < 8; ++i) {
        EXPECT_TRUE(Hidden(list_, i)) << i;
        EXPECT_EQ(Name(list_, i), "");
    }
    EXPECT_EQ(list_.options[1].lParam, reinterpret_cast<LPARAM>(list_.options[1].pData));
}

TEST_F(WatermarkListTest, StoringKeepsTheOrderAndEmptiesHiddenEntries) {
    ASSERT_EQ(ui::LoadNamedList(sheet_.Heap(), watermarks_, NamedListKind::kWatermarks, list_), 8u);
    // The first is deleted, a new one takes the third slot.
    list_.options[0].Flags |= OPTPF_HIDE;
    list_.options[2].Flags &= ~OPTPF_HIDE;
    list_.options[2].pData = sheet_.Text("Top secret " + std::string(60, 'x'));
    list_.persist[2] = 0x1122334455667788ULL;
    ui::StoreNamedList(watermarks_, NamedListKind::kWatermarks, list_, list_.count);

    NamedList again;
    ASSERT_EQ(ui::LoadNamedList(sheet_.Heap(), watermarks_, NamedListKind::kWatermarks, again), 8u);
    EXPECT_TRUE(Hidden(again, 0));
    EXPECT_EQ(Name(again, 1), "Draft");
    // Cut to the record's 64 characters, terminator included.
    EXPECT_EQ(Name(again, 2), "Top secret " + std::string(52, 'x'));
    EXPECT_EQ(again.persist[2], 0x1122334455667788ULL);
    EXPECT_TRUE(Hidden(again, 3));
    ui::FreeNamedList(sheet_.Heap(), again);
    list_.options[2].pData = nullptr; // the test's own text
}

TEST_F(WatermarkListTest, TheDocumentSettingsLastEntryIsNotStored) {
    ASSERT_EQ(ui::LoadNamedList(sheet_.Heap(), documents_, NamedListKind::kDocumentSettings, list_),
              8u);
    LPWSTR names[2] = {sheet_.Text("Letters"), sheet_.Text("Current")};
    for (DWORD i = 0; i < 2; ++i) {
        list_.options[i].Flags &= ~OPTPF_HIDE;
        list_.options[i].pData = names[i];
        list_.persist[i] = 7 + i;
    }
    ui::StoreNamedList(documents_, NamedListKind::kDocumentSettings, list_, 0);
    ui::StoreNamedList(documents_, NamedListKind::kDocumentSettings, list_, 2);
    list_.options[0].pData = list_.options[1].pData = nullptr;

    NamedList again;
    ASSERT_EQ(ui::LoadNamedList(sheet_.Heap(), documents_, NamedListKind::kDocumentSettings, again),
              8u);
    EXPECT_EQ(Name(again, 0), "Letters");
    EXPECT_EQ(again.persist[0], 7u);
    EXPECT_TRUE(Hidden(again, 1));
    EXPECT_EQ(again.persist[1], 0u);
    ui::FreeNamedList(sheet_.Heap(), again);
}

TEST_F(WatermarkListTest, WithoutMemoryTheListIsEmpty) {
    HANDLE tiny = HeapCreate(0, 0, 0x10000);
    ASSERT_NE(tiny, nullptr);
    ASSERT_NE(HeapAlloc(tiny, 0, 0x10000 - 600), nullptr);
    NamedList list;
    EXPECT_EQ(ui::LoadNamedList(tiny, watermarks_, NamedListKind::kWatermarks, list), 0u);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.options, nullptr);
    HeapDestroy(tiny);
    EXPECT_EQ(ui::LoadNamedList(sheet_.Heap(), nullptr, NamedListKind::kWatermarks, list_), 0u);
}

TEST_F(WatermarkListTest, ASavedWatermarkFillsThePageItemsInTheOrderOfItsIds) {
    OPTITEM& text = sheet_.AddEditBox(19152, 64);
    OPTITEM& angle = sheet_.AddOwnItem(TVOT_3STATES, {0, 1, 2}, 19202);
    OPTITEM& degree = sheet_.AddOwnItem(TVOT_UDARROW, {0, 359}, 19250);
    OPTITEM& size = sheet_.AddOwnItem(TVOT_UDARROW, {8, 300}, 19332);
    for (OPTITEM* item : {&text, &angle, &degree, &size}) {
        sheet_.Factory().RegisterItem(item);
    }
    ui::ApplyWatermark(watermarks_, 1, sheet_.Factory());
    EXPECT_EQ(sim::Utf8(static_cast<LPCWSTR>(text.pSel)), "Draft");
    EXPECT_EQ(angle.Sel, 1);
    EXPECT_EQ(degree.Sel, 45);
    EXPECT_EQ(size.Sel, 96);

    // A free slot and one beyond the records change nothing.
    size.Sel = 10;
    ui::ApplyWatermark(watermarks_, 3, sheet_.Factory());
    ui::ApplyWatermark(watermarks_, 40, sheet_.Factory());
    EXPECT_EQ(size.Sel, 10);
}

// The watermark list as the sample describes it: "(none)" and eight slots.
TEST_F(WatermarkListTest, TheListShowsTheSavedWatermarksAndAppliesTheChosenOne) {
    OPTITEM& list = sheet_.AddOwnItem(TVOT_COMBOBOX, {0, 1, 2, 3, 4, 5, 6, 7, 8}, 2402);
    OPTITEM& text = sheet_.AddEditBox(19152, 64);
    OPTITEM& size = sheet_.AddOwnItem(TVOT_UDARROW, {8, 300}, 19332);
    ui::VORTAOptItemHandler& handler = sheet_.Registered(list);
    sheet_.Factory().RegisterItem(&text);
    sheet_.Factory().RegisterItem(&size);
    EXPECT_EQ(sim::Utf8(list.pOptType->pOptParam[0].pData), "option 0");
    EXPECT_EQ(sim::Utf8(list.pOptType->pOptParam[1].pData), "Confidential");
    EXPECT_EQ(sim::Utf8(list.pOptType->pOptParam[2].pData), "Draft");
    EXPECT_EQ(handler.GetVisibleOptionCount(), 3u);

    handler.SetSelection(2, nullptr);
    EXPECT_EQ(sim::Utf8(static_cast<LPCWSTR>(text.pSel)), "Draft");
    EXPECT_EQ(size.Sel, 96);

    // Deleting the first on the page and pressing OK frees its slot in the printer.
    handler.ChangeOptionFlags(1, OPTPF_HIDE, 0, nullptr);
    sheet_.Factory().Commit(FALSE);
    ASSERT_EQ(store::Close(&watermarks_), store::kClassSuccess);
    ASSERT_EQ(store::OpenByHandle(sheet_.Param().hPrinter, L"WATERMARKSETTINGS", &watermarks_),
              store::kClassSuccess);
    ASSERT_EQ(ui::LoadNamedList(sheet_.Heap(), watermarks_, NamedListKind::kWatermarks, list_), 8u);
    EXPECT_TRUE(Hidden(list_, 0));
    EXPECT_EQ(Name(list_, 1), "Draft");
}

TEST_F(WatermarkListTest, TheFontsAreTheScreensTrueTypeFamiliesEachNameOnce) {
    OPTITEM& fonts = sheet_.AddOwnItem(TVOT_COMBOBOX, {0}, 19302);
    ASSERT_TRUE(ui::LoadWatermarkFonts(sheet_.Heap(), &fonts, 32));
    ASSERT_GE(fonts.pOptType->Count, 4);
    EXPECT_EQ(sim::Utf8(fonts.pOptType->pOptParam[0].pData), "Arial");
    EXPECT_EQ(fonts.pOptType->pOptParam[0].IconID, static_cast<ULONG_PTR>(ANSI_CHARSET));
    EXPECT_EQ(sim::Utf8(fonts.pOptType->pOptParam[1].pData), "Times New Roman");

    // Cut names that fall together are listed once.
    OPTITEM& cut = sheet_.AddOwnItem(TVOT_COMBOBOX, {0}, 19303);
    ASSERT_TRUE(ui::LoadWatermarkFonts(sheet_.Heap(), &cut, 7));
    int dejaVu = 0;
    for (WORD i = 0; i < cut.pOptType->Count; ++i) {
        dejaVu += sim::Utf8(cut.pOptType->pOptParam[i].pData) == "DejaVu";
    }
    EXPECT_EQ(dejaVu, 1);
    EXPECT_FALSE(ui::LoadWatermarkFonts(sheet_.Heap(), &cut, 1));
}

} // namespace
} // namespace moltr::test
