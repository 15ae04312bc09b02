// The printer sheet's store of the form assignment: custom media are named by the identifiers the
// description file gives the printer's listed custom media.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "common/drv_settings.h"
#include "sim/utf.h"
#include "uiplugin/custom_media_forms.h"
#include "uiplugin/engine/form_assign_symbols.h"
#include "uiplugin/form_assign_store.h"
#include "ui_printer.h"

namespace moltr::test {
namespace {

constexpr WCHAR kModel[] = L"MOLTR ColorLaser 4000 PCL5c";

class FormAssignStore : public ::testing::Test {
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
    std::string Size(DWORD slot) {
        const std::u16string field = sim::Utf16("_FORMSIZE_ALLOWED_0" + std::to_string(slot));
        WCHAR value[ui::kAllowedSymbolChars] = {};
        EXPECT_EQ(settings_->GetValue(nullptr, sim::W(field), value, sizeof value,
                                      common::kLayoutPrinterSettings),
                  S_OK);
        value[ui::kAllowedSymbolChars - 1] = L'\0';
        return sim::Utf8(value);
    }
    void AssignSizes(const SHORT (&sizes)[ui::kFormAssignSlots]) {
        ASSERT_EQ(
            settings_->SetValue(nullptr, L"_FORMSIZE_LIST", sizes, common::kLayoutPrinterSettings),
            S_OK);
    }

    UiPrinter printer_;
    common::IDrvSettings* settings_ = nullptr;
};

constexpr SHORT CustomMedium(WORD n) {
    return static_cast<SHORT>(0x8000 | n);
}

TEST_F(FormAssignStore, CustomMediaCountOnlyThoseTheDescriptionHolds) {
    LPCWSTR name = sim::W(printer_.name());
    // Wider than the model takes: not in the description, so not counted.
    ASSERT_TRUE(uiplugin::AddCustomMedium(name, L"Too wide", 400000, 200000));
    ASSERT_TRUE(uiplugin::AddCustomMedium(name, L"My Size 1", 150000, 200000));
    ASSERT_TRUE(uiplugin::AddCustomMedium(name, L"A-5 wide", 210000, 149000));
    const SHORT sizes[ui::kFormAssignSlots] = {CustomMedium(0), CustomMedium(1), CustomMedium(2),
                                               9};
    AssignSizes(sizes);
    ASSERT_EQ(uiplugin::StoreFormAssignSymbols(printer_.handle(), kModel, settings_), S_OK);
    EXPECT_EQ(Size(0), "_CUSTOM_MY20SIZE201_ALLOWED_01");
    EXPECT_EQ(Size(1), "_CUSTOM_A-520WIDE_ALLOWED_01");
    EXPECT_EQ(Size(2), "");
    EXPECT_EQ(Size(3), "_MEDIASIZE_A4_ALLOWED_01");
    // The sample printer has four sources.
    EXPECT_EQ(Size(4), "");
}

TEST_F(FormAssignStore, WithoutSettingsNothingIsStored) {
    EXPECT_EQ(uiplugin::StoreFormAssignSymbols(printer_.handle(), kModel, nullptr), E_INVALIDARG);
}

// A description whose printer settings have no media-type list.
UiPrinterSetup WithoutTypeList() {
    UiPrinterSetup setup;
    setup.lines = {{"    *FIELD: _FORMTYPE_LIST", "    *FIELD: _FORMTYPE_GONE"},
                   {"    *_FORMTYPE_LIST: 521", "    *_FORMTYPE_GONE: 521"}};
    return setup;
}

TEST(FormAssignStoreWithoutAList, NothingIsNamed) {
    UiPrinter printer(WithoutTypeList());
    common::IDrvSettings* settings = nullptr;
    ASSERT_EQ(common::CreateDrvSettings(common::kModePrinter, printer.handle(), &settings), S_OK);
    ui::FormAssignment assignment = {};
    assignment.sizes[0] = 9;
    EXPECT_EQ(ui::ReadFormAssignment(settings, &assignment), E_FAIL);
    EXPECT_EQ(assignment.sizes[0], 0);
    EXPECT_EQ(uiplugin::StoreFormAssignSymbols(printer.handle(), kModel, settings), E_FAIL);
    WCHAR value[ui::kAllowedSymbolChars] = {};
    EXPECT_EQ(settings->GetValue(nullptr, L"_FORMSIZE_ALLOWED_00", value, sizeof value,
                                 common::kLayoutPrinterSettings),
              S_OK);
    EXPECT_EQ(sim::Utf8(value), "");
    settings->Release();
}

} // namespace
} // namespace moltr::test
