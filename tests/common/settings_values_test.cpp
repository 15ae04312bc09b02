// Value access by field name in either layout: what is read and written where, and that nothing
// outside the block is touched whatever size the caller passes.
#include <cstring>
#include "settings_printer.h"

namespace moltr::test {
namespace {

using common::kLayoutDevMode;
using common::kLayoutOwnMode;
using common::kLayoutPrinterSettings;

class Values : public ::testing::Test {
protected:
    Values() : settings_(printer_.Create(common::kModeDocument)) {
        DWORD size = 0;
        settings_->GetDevModeSize(&size);
        // Guard bytes on both sides catch any access outside the private devmode.
        buffer_.assign(size + 2 * kGuard, kGuardByte);
        settings_->GetDefaultDevMode(&size, devmode());
        size_ = size;
    }

    BYTE* devmode() { return buffer_.data() + kGuard; }
    bool GuardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i) {
            if (buffer_[i] != kGuardByte || buffer_[kGuard + size_ + i] != kGuardByte) {
                return false;
            }
        }
        return true;
    }

    static constexpr size_t kGuard = 64;
    static constexpr BYTE kGuardByte = 0xA5;
    sim::TestMachine machine_;
    SettingsPrinter printer_;
    SettingsPtr settings_;
    std::vector<BYTE> buffer_;
    DWORD size_ = 0;
};

TEST_F(Values, GetValueReadsTheFieldAtItsOffsetLessTag) {
    COLORREF colour = 0;
    ASSERT_EQ(S_OK, settings_->GetValue(devmode(), L"_WMK_COLOR", &colour, 4, kLayoutDevMode));
    EXPECT_EQ(RGB(1, 2, 3), colour);
    std::memcpy(devmode() + 288, "\x10\x20\x30\x00", 4);
    ASSERT_EQ(S_OK, settings_->GetValue(devmode(), L"_WMK_COLOR", &colour, 4, kLayoutOwnMode));
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), colour);
    // Exactly the requested size, also across the next field.
    BYTE two[2] = {};
    ASSERT_EQ(S_OK, settings_->GetValue(devmode(), L"_WMK_COLOR", two, 2, kLayoutDevMode));
    EXPECT_EQ(0x10, two[0]);
    EXPECT_EQ(0x20, two[1]);
    BYTE six[6] = {};
    ASSERT_EQ(S_OK, settings_->GetValue(devmode(), L"_WMK_SHADE", six, 6, kLayoutDevMode));
    EXPECT_EQ(0, std::memcmp(six, devmode() + 292, 6));
}

TEST_F(Values, FieldsAfterTheBuiltInOnesFollowTheDescription) {
    BYTE value = 0;
    ASSERT_EQ(S_OK, settings_->GetValue(devmode(), L"_MEDIAOUTPUT", &value, 1, kLayoutDevMode));
    EXPECT_EQ(1, value);
    EXPECT_EQ(devmode() + 393 + 1,
              settings_->GetValuePointer(devmode(), L"_MEDIAOUTPUT", kLayoutDevMode));
}

TEST_F(Values, ArgumentsAndMissingFields) {
    DWORD value = 0;
    EXPECT_EQ(E_INVALIDARG, settings_->GetValue(devmode(), nullptr, &value, 4, kLayoutDevMode));
    EXPECT_EQ(E_INVALIDARG, settings_->GetValue(devmode(), L"_SIZE", nullptr, 4, kLayoutDevMode));
    EXPECT_EQ(E_INVALIDARG, settings_->GetValue(devmode(), L"_SIZE", &value, 0, kLayoutDevMode));
    EXPECT_EQ(E_FAIL, settings_->GetValue(devmode(), L"_NOSUCH", &value, 4, kLayoutDevMode));
    EXPECT_EQ(E_FAIL, settings_->GetValue(devmode(), L"_SIZE", &value, 4, 3));
    // The TAG in front of the data is no field of the block.
    EXPECT_EQ(E_FAIL, settings_->GetValue(devmode(), L"TAG", &value, 4, kLayoutDevMode));
    // A field of the other layout is not found in this one.
    EXPECT_EQ(E_FAIL, settings_->GetValue(devmode(), L"_RAMDISK", &value, 1, kLayoutDevMode));
    EXPECT_EQ(E_FAIL, settings_->SetValue(devmode(), L"_NOSUCH", &value, kLayoutDevMode));
    EXPECT_EQ(E_INVALIDARG, settings_->SetValue(devmode(), L"_SIZE", nullptr, kLayoutDevMode));
    EXPECT_TRUE(GuardsIntact());
}

TEST_F(Values, OwnPrinterSettingsOnlyWithTheirSelectorInDocumentMode) {
    DWORD duplex = 0;
    EXPECT_EQ(E_INVALIDARG,
              settings_->GetValue(nullptr, L"_DUPLEXTYPE", &duplex, 4, kLayoutDevMode));
    EXPECT_EQ(E_INVALIDARG,
              settings_->GetValue(nullptr, L"_DUPLEXTYPE", &duplex, 4, kLayoutOwnMode));
    ASSERT_EQ(S_OK,
              settings_->GetValue(nullptr, L"_DUPLEXTYPE", &duplex, 4, kLayoutPrinterSettings));
    EXPECT_EQ(1u, duplex);
    DWORD manual = 2;
    ASSERT_EQ(S_OK, settings_->SetValue(nullptr, L"_DUPLEXTYPE", &manual, kLayoutPrinterSettings));
    ASSERT_EQ(S_OK,
              settings_->GetValue(nullptr, L"_DUPLEXTYPE", &duplex, 4, kLayoutPrinterSettings));
    EXPECT_EQ(2u, duplex);
    EXPECT_EQ(E_INVALIDARG, settings_->SetValue(nullptr, L"_DUPLEXTYPE", &manual, kLayoutOwnMode));
}

TEST(ValuesPrinterMode, OwnModeIsThePrinterSettings) {
    sim::TestMachine machine;
    SettingsPrinter printer;
    SettingsPtr settings(printer.Create(common::kModePrinter));
    ASSERT_NE(nullptr, settings);
    DWORD size = 0;
    ASSERT_EQ(S_OK, settings->GetValue(nullptr, L"_SIZE", &size, 4, kLayoutOwnMode));
    EXPECT_EQ(120u + 7 + 6 + 32, size);
    WORD forms[3] = {};
    ASSERT_EQ(S_OK, settings->GetValue(nullptr, L"_FORMLIST", forms, 6, kLayoutOwnMode));
    EXPECT_EQ(9, forms[0]);
    EXPECT_EQ(0, forms[1]);
}

TEST_F(Values, SetValueWritesTheFieldsFullSizeOnly) {
    const WCHAR text[64] = L"Secret";
    ASSERT_EQ(S_OK, settings_->SetValue(devmode(), L"_WMK_TEXT", text, kLayoutDevMode));
    EXPECT_EQ(0, std::memcmp(devmode() + 29, text, sizeof text));
    BYTE angle = 0x77;
    devmode()[157] = 0x77;
    BYTE before = devmode()[28];
    WORD degree = 90;
    ASSERT_EQ(S_OK, settings_->SetValue(devmode(), L"_WMK_DEGREE", &degree, kLayoutDevMode));
    EXPECT_EQ(angle, devmode()[157]);
    EXPECT_EQ(90, devmode()[158]);
    EXPECT_EQ(0, devmode()[159]);
    EXPECT_EQ(before, devmode()[28]);
    EXPECT_TRUE(GuardsIntact());
}

TEST_F(Values, LargeSizesStopAtTheEndOfTheBlock) {
    // The last field is a 32-byte text; a request of 4096 bytes reads only up to the block's end
    // and clears the rest of the destination.
    std::vector<BYTE> large(4096, 0xCC);
    ASSERT_EQ(S_OK, settings_->GetValue(devmode(), L"_JR_JOBNAME", large.data(),
                                        static_cast<DWORD>(large.size()), kLayoutDevMode));
    EXPECT_EQ(std::vector<BYTE>(large.begin() + 32, large.end()),
              std::vector<BYTE>(large.size() - 32, 0));
    ASSERT_EQ(S_OK, settings_->GetValue(devmode(), L"_SIZE", large.data(),
                                        static_cast<DWORD>(large.size()), kLayoutDevMode));
    EXPECT_EQ(0, std::memcmp(large.data(), devmode(), size_));
    EXPECT_EQ(0, large[size_]);
    // The same for the object's own printer settings.
    ASSERT_EQ(S_OK, settings_->GetValue(nullptr, L"_ALLOWED", large.data(),
                                        static_cast<DWORD>(large.size()), kLayoutPrinterSettings));
    EXPECT_EQ(0, large[32]);
    std::vector<BYTE> source(4096, 0x11);
    ASSERT_EQ(S_OK, settings_->SetValue(devmode(), L"_JR_JOBNAME", source.data(), kLayoutDevMode));
    EXPECT_TRUE(GuardsIntact());
}

TEST_F(Values, PointerIntoTheBlockOrAScratchValue) {
    EXPECT_EQ(devmode() + 288,
              settings_->GetValuePointer(devmode(), L"_WMK_COLOR", kLayoutDevMode));
    void* scratch = settings_->GetValuePointer(devmode(), L"_NOSUCH", kLayoutDevMode);
    ASSERT_NE(nullptr, scratch);
    EXPECT_EQ(scratch, settings_->GetValuePointer(nullptr, L"_WMK_COLOR", kLayoutDevMode));
    EXPECT_EQ(scratch, settings_->GetValuePointer(devmode(), nullptr, kLayoutDevMode));
    // Callers write through it without checking; the next miss reads as zero again.
    std::memset(scratch, 0xFF, 256);
    DWORD value = 1;
    std::memcpy(&value, settings_->GetValuePointer(devmode(), L"_NOSUCH", kLayoutDevMode), 4);
    EXPECT_EQ(0u, value);
    void* duplex = settings_->GetValuePointer(nullptr, L"_DUPLEXTYPE", kLayoutPrinterSettings);
    EXPECT_NE(scratch, duplex);
    std::memcpy(&value, duplex, 4);
    EXPECT_EQ(1u, value);
}

TEST_F(Values, EachObjectHasItsOwnScratchValue) {
    SettingsPtr other(printer_.Create(common::kModeDocument));
    ASSERT_TRUE(other);
    auto* mine = static_cast<BYTE*>(settings_->GetValuePointer(devmode(), L"_NOSUCH", 0));
    auto* theirs = static_cast<BYTE*>(other->GetValuePointer(devmode(), L"_NOSUCH", 0));
    EXPECT_NE(mine, theirs);
    // A value written through one object's result is not what the other's caller reads.
    mine[0] = 0x5A;
    EXPECT_EQ(0x5A, mine[0]);
    EXPECT_NE(0x5A, theirs[0]);
}

} // namespace
} // namespace moltr::test
