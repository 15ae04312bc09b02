// Option items filled from the settings and settings taken back from changed items, for each kind
// of item.
#include <cstring>
#include "settings_printer.h"
#include "store/xpr.h"

namespace moltr::test {
namespace {

using common::kLayoutDevMode;

// An item of `type` editing `setting`, with `options` stored values (lParam).
struct Item {
    Item(BYTE type, const WCHAR* setting, std::vector<LPARAM> values = {}) {
        params.resize(std::max<size_t>(values.size(), 2));
        for (size_t i = 0; i < values.size(); ++i) {
            params[i].cbSize = sizeof(OPTPARAM);
            params[i].lParam = values[i];
        }
        optType.cbSize = sizeof(OPTTYPE);
        optType.Type = type;
        optType.Count = static_cast<WORD>(values.empty() ? 2 : values.size());
        optType.pOptParam = params.data();
        item.cbSize = sizeof(OPTITEM);
        item.UserData = reinterpret_cast<ULONG_PTR>(setting);
        item.pOptType = &optType;
    }
    std::vector<OPTPARAM> params;
    OPTTYPE optType = {};
    OPTITEM item = {};
};

class Items : public ::testing::Test {
protected:
    Items() : settings_(printer_.Create(common::kModeDocument)) {
        DWORD size = 0;
        settings_->GetDevModeSize(&size);
        devmode_.resize(size);
        settings_->GetDefaultDevMode(&size, devmode_.data());
    }

    HRESULT FromSettings(Item& item) {
        return settings_->ItemsFromSettings(&item.item, 1, devmode_.data());
    }
    HRESULT ToSettings(Item& item) {
        item.item.Flags |= OPTIF_CHANGED;
        return settings_->SettingsFromItems(&item.item, 1, devmode_.data(), nullptr);
    }
    template <class T> void Put(size_t offset, T value) {
        std::memcpy(devmode_.data() + offset, &value, sizeof value);
    }
    template <class T> T At(size_t offset) const {
        T value;
        std::memcpy(&value, devmode_.data() + offset, sizeof value);
        return value;
    }

    sim::TestMachine machine_;
    SettingsPrinter printer_;
    SettingsPtr settings_;
    std::vector<BYTE> devmode_;
};

TEST_F(Items, NumbersAsTheirItemTypesRead) {
    Put<WORD>(158, 0xFFF6); // _WMK_DEGREE
    Item updown(TVOT_UDARROW, L"OEMDEVMODE._WMK_DEGREE");
    Item track(TVOT_TRACKBAR, L"OEMDEVMODE._WMK_DEGREE");
    Item scroll(TVOT_SCROLLBAR, L"OEMDEVMODE._WMK_DEGREE");
    Item check(TVOT_CHKBOX, L"OEMDEVMODE._WMK_DEGREE");
    OPTITEM items[] = {updown.item, track.item, scroll.item, check.item};
    ASSERT_EQ(S_OK, settings_->ItemsFromSettings(items, 4, devmode_.data()));
    EXPECT_EQ(0xFFF6, items[0].Sel);
    EXPECT_EQ(-10, items[1].Sel);
    EXPECT_EQ(-10, items[2].Sel);
    EXPECT_EQ(0xF6, items[3].Sel);
}

TEST_F(Items, ListsSelectTheFirstVisibleOptionWithTheValue) {
    // _WMK_ANGLE is one byte: option values are kept in lParam itself.
    devmode_[157] = 3;
    Item list(TVOT_LISTBOX, L"OEMDEVMODE._WMK_ANGLE", {1, 3, 3, 5});
    list.params[1].Flags = OPTPF_HIDE;
    ASSERT_EQ(S_OK, FromSettings(list));
    EXPECT_EQ(2, list.item.Sel);
    devmode_[157] = 9;
    ASSERT_EQ(S_OK, FromSettings(list));
    EXPECT_EQ(0, list.item.Sel);
    // A four-byte value is compared through the address in lParam.
    COLORREF colours[] = {RGB(1, 1, 1), RGB(1, 2, 3)};
    Item combo(TVOT_COMBOBOX, L"OEMDEVMODE._WMK_COLOR",
               {reinterpret_cast<LPARAM>(&colours[0]), reinterpret_cast<LPARAM>(&colours[1])});
    ASSERT_EQ(S_OK, FromSettings(combo));
    EXPECT_EQ(1, combo.item.Sel);
}

TEST_F(Items, WatermarkTextSelectsItsIndexWhenSet) {
    Item list(TVOT_LISTBOX, L"OEMDEVMODE._WMK_TEXT", {0, 0, 0, 0, 0});
    ASSERT_EQ(S_OK, FromSettings(list));
    EXPECT_EQ(0, list.item.Sel);
    Put<WORD>(297, 4); // _WMK_TEXT_IDX
    ASSERT_EQ(S_OK, FromSettings(list));
    EXPECT_EQ(4, list.item.Sel);
}

TEST_F(Items, EditBoxTextWithinItsBuffer) {
    WCHAR buffer[8];
    std::memset(buffer, 0xFF, sizeof buffer);
    Item edit(TVOT_EDITBOX, L"OEMDEVMODE._WMK_TEXT");
    edit.params[1].IconID = 4; // characters, with the terminator
    edit.item.pSel = buffer;
    ASSERT_EQ(S_OK, FromSettings(edit));
    EXPECT_EQ("Dra", sim::Utf8(buffer));
    EXPECT_EQ(0xFFFF, buffer[4]);
    edit.params[1].IconID = 8;
    ASSERT_EQ(S_OK, FromSettings(edit));
    EXPECT_EQ("Draft", sim::Utf8(buffer));

    lstrcpyW(buffer, L"Copy");
    ASSERT_EQ(S_OK, ToSettings(edit));
    EXPECT_EQ('C', devmode_[29]);
    EXPECT_EQ('y', devmode_[35]);
    // The rest of the field is cleared, not read from beyond the buffer.
    EXPECT_EQ(std::vector<BYTE>(128 - 8, 0),
              std::vector<BYTE>(devmode_.begin() + 29 + 8, devmode_.begin() + 29 + 128));
}

TEST_F(Items, ChangedItemsWriteTheirValues) {
    // Sentinels on both sides of each field: a write of the wrong width would change them.
    constexpr BYTE kSentinel = 0xA5;
    for (size_t offset : {157u, 160u, 161u, 287u, 292u, 293u}) {
        devmode_[offset] = kSentinel;
    }
    Item updown(TVOT_UDARROW, L"OEMDEVMODE._WMK_DEGREE");
    updown.item.Sel = 300;
    ASSERT_EQ(S_OK, ToSettings(updown));
    EXPECT_EQ(300, At<WORD>(158));
    EXPECT_EQ(kSentinel, devmode_[157]);
    EXPECT_EQ(kSentinel, devmode_[160]);
    EXPECT_EQ(kSentinel, devmode_[161]);

    COLORREF colours[] = {RGB(9, 8, 7), RGB(6, 5, 4)};
    Item combo(TVOT_COMBOBOX, L"OEMDEVMODE._WMK_COLOR",
               {reinterpret_cast<LPARAM>(&colours[0]), reinterpret_cast<LPARAM>(&colours[1])});
    combo.item.Sel = 1;
    ASSERT_EQ(S_OK, ToSettings(combo));
    EXPECT_EQ(RGB(6, 5, 4), At<COLORREF>(288));
    EXPECT_EQ(kSentinel, devmode_[287]);
    EXPECT_EQ(kSentinel, devmode_[292]);
    EXPECT_EQ(kSentinel, devmode_[293]);

    Item list(TVOT_2STATES, L"OEMDEVMODE._WMK_ANGLE", {4, 7});
    list.item.Sel = 1;
    ASSERT_EQ(S_OK, ToSettings(list));
    EXPECT_EQ(7, devmode_[157]);
    EXPECT_EQ(300, At<WORD>(158));
    // A selection outside the options writes nothing.
    list.item.Sel = 2;
    ASSERT_EQ(S_OK, ToSettings(list));
    EXPECT_EQ(7, devmode_[157]);
}

TEST_F(Items, UnchangedUnknownAndForeignItemsAreSkipped) {
    std::vector<BYTE> before = devmode_;
    Item unchanged(TVOT_UDARROW, L"OEMDEVMODE._WMK_DEGREE");
    unchanged.item.Sel = 1;
    Item unknown(TVOT_UDARROW, L"OEMDEVMODE._NOSUCH");
    unknown.item.Sel = 1;
    unknown.item.Flags = OPTIF_CHANGEONCE;
    Item noField(TVOT_UDARROW, L"OEMDEVMODE");
    noField.item.Flags = OPTIF_CHANGED;
    Item foreign(TVOT_UDARROW, nullptr);
    foreign.item.Flags = OPTIF_CHANGED;
    OPTITEM items[] = {unchanged.item, unknown.item, noField.item, foreign.item};
    ASSERT_EQ(S_OK, settings_->SettingsFromItems(items, 4, devmode_.data(), nullptr));
    EXPECT_EQ(before, devmode_);
    ASSERT_EQ(S_OK, settings_->ItemsFromSettings(items, 4, devmode_.data()));
    EXPECT_EQ(1, items[1].Sel);
}

TEST_F(Items, NeedADevModeOrPrinterModeAndItems) {
    Item updown(TVOT_UDARROW, L"OEMDEVMODE._WMK_DEGREE");
    EXPECT_EQ(E_INVALIDARG, settings_->ItemsFromSettings(&updown.item, 1, nullptr));
    EXPECT_EQ(E_INVALIDARG, settings_->SettingsFromItems(&updown.item, 1, nullptr, nullptr));
    EXPECT_EQ(E_INVALIDARG, settings_->ItemsFromSettings(nullptr, 1, devmode_.data()));
    EXPECT_EQ(E_INVALIDARG, settings_->ItemsFromSettings(&updown.item, 0, devmode_.data()));
}

TEST(ItemsPrinterMode, PrinterSettingsAreSavedInThePrinterData) {
    sim::TestMachine machine;
    SettingsPrinter printer;
    {
        SettingsPtr settings(printer.Create(common::kModePrinter));
        DWORD types[] = {0, 1, 2};
        Item duplex(TVOT_COMBOBOX, L"PRINTERSETTINGS._DUPLEXTYPE",
                    {reinterpret_cast<LPARAM>(&types[0]), reinterpret_cast<LPARAM>(&types[1]),
                     reinterpret_cast<LPARAM>(&types[2])});
        ASSERT_EQ(S_OK, settings->ItemsFromSettings(&duplex.item, 1, nullptr));
        EXPECT_EQ(1, duplex.item.Sel);
        duplex.item.Sel = 2;
        duplex.item.Flags = OPTIF_CHANGED;
        ASSERT_EQ(S_OK, settings->SettingsFromItems(&duplex.item, 1, nullptr, printer.handle()));
    }
    SettingsPtr reopened(printer.Create(common::kModeDocument));
    DWORD duplex = 0;
    ASSERT_EQ(S_OK, reopened->GetValue(nullptr, L"_DUPLEXTYPE", &duplex, 4, 1));
    EXPECT_EQ(2u, duplex);
}

// The tests' descriptions with a STRING field _OWNER in the printer settings.
std::string WithOwner() {
    return Descriptions("    *_OWNER: \"me\"\n") +
           "*XPDSTRUCT: PRINTERSETTINGS\n{\n    *FIELD: _OWNER { *FIELDTYPE: STRING }\n}\n";
}

// A text of the printer settings makes the save rebuild the image's string area, which moves the
// image; the object goes on reading its settings after the save (the RTI rewrite reads them at
// once), and the text is stored.
TEST(ItemsPrinterMode, ATextChangedBeforeASaveIsStoredAndTheSettingsStayReadable) {
    sim::TestMachine machine;
    SettingsPrinter printer(Gpd(WithOwner()));
    SettingsPtr settings(printer.Create(common::kModePrinter));
    LPCWSTR owner = L"A longer owner than before";
    ASSERT_EQ(S_OK, settings->SetValue(nullptr, L"_OWNER", &owner, common::kLayoutPrinterSettings));
    DWORD types[] = {0, 1, 2};
    Item duplex(TVOT_COMBOBOX, L"PRINTERSETTINGS._DUPLEXTYPE",
                {reinterpret_cast<LPARAM>(&types[0]), reinterpret_cast<LPARAM>(&types[1]),
                 reinterpret_cast<LPARAM>(&types[2])});
    duplex.item.Sel = 2;
    duplex.item.Flags = OPTIF_CHANGED;
    ASSERT_EQ(S_OK, settings->SettingsFromItems(&duplex.item, 1, nullptr, printer.handle()));
    EXPECT_NE(std::string::npos,
              ReadHostFile(printer.DataFile()).find("*Define: _DUPLEXTYPE_02000000\r\n"));
    DWORD value = 0;
    ASSERT_EQ(S_OK, settings->GetValue(nullptr, L"_DUPLEXTYPE", &value, 4, 1));
    EXPECT_EQ(2u, value);
    // A second change reads and saves the moved image again.
    duplex.item.Sel = 1;
    ASSERT_EQ(S_OK, settings->SettingsFromItems(&duplex.item, 1, nullptr, printer.handle()));
    ASSERT_EQ(S_OK, settings->GetValue(nullptr, L"_DUPLEXTYPE", &value, 4, 1));
    EXPECT_EQ(1u, value);

    std::u16string name = SettingsPrinter::kName;
    store::StructureRecord* record = nullptr;
    ASSERT_EQ(0, store::OpenByName(sim::W(name), L"PRINTERSETTINGS", &record));
    store::StructureHandle handle = nullptr;
    ASSERT_EQ(0, store::GetStructure(record, L"PRINTERSETTINGS", &handle, nullptr));
    LPCWSTR stored = nullptr;
    ASSERT_EQ(0, store::GetField(handle, L"_OWNER", &stored, sizeof stored));
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ("A longer owner than before", sim::Utf8(stored));
    EXPECT_NE(owner, stored) << "the text is the image's own copy";
    store::Close(&record);
}

// Items cannot give values to fields that hold references into the image.
TEST(ItemsPrinterMode, TextItemsLeaveReferenceFieldsAlone) {
    sim::TestMachine machine;
    SettingsPrinter printer(Gpd(WithOwner()));
    SettingsPtr settings(printer.Create(common::kModePrinter));
    WCHAR text[16] = L"ABCDEFGH";
    Item edit(TVOT_EDITBOX, L"PRINTERSETTINGS._OWNER", {});
    edit.item.pSel = text;
    edit.item.Flags = OPTIF_CHANGED;
    ASSERT_EQ(S_OK, settings->SettingsFromItems(&edit.item, 1, nullptr, printer.handle()));
    LPCWSTR stored = nullptr;
    ASSERT_EQ(S_OK, settings->GetValue(nullptr, L"_OWNER", &stored, sizeof stored, 1));
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ("me", sim::Utf8(stored));
}

} // namespace
} // namespace moltr::test
