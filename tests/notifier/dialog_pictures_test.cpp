// The dialog's pictures from the notifier's language module, drawn as its dialog procedure draws
// them: centred in the control's rectangle, the picture's background colour left out so that what
// lay beneath shows through.
#include <gtest/gtest.h>
#include <string>
#include "common/resources.h"
#include "notifier/dialog_pictures.h"
#include "platform/kernel32/module_test_files.h"
#include "sim/machine.h"
#include "sim/utf.h"

namespace moltr::test {
namespace {

constexpr char kModulePath[] = "C:\\Program Files\\MOLTR\\MOLTRMDN.DLL";
// What lies beneath the pictures: a colour that none of them uses.
constexpr COLORREF kBeneath = RGB(10, 200, 250);
constexpr LONG kWidth = 120;
constexpr LONG kHeight = 80;
// The pictures are 64 by 48 pixels.
constexpr RECT kPicture = {(kWidth - 64) / 2, (kHeight - 48) / 2, (kWidth + 64) / 2,
                           (kHeight + 48) / 2};

class Pictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyToMachine(BuiltModule("MOLTRMDN.DLL"), kModulePath));
        std::u16string path = sim::Utf16(kModulePath);
        ASSERT_EQ(S_OK, common::CreateModuleResources(&resources_, sim::W(path)));
        screen_ = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateCompatibleBitmap(screen_, kWidth, kHeight);
        previous_ = SelectObject(dc_, bitmap_);
        const RECT all = {0, 0, kWidth, kHeight};
        HBRUSH brush = CreateSolidBrush(kBeneath);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    void TearDown() override {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        ReleaseDC(nullptr, screen_);
        if (resources_ != nullptr) {
            resources_->Release();
        }
    }

    size_t Count(COLORREF colour, const RECT& area) const {
        size_t count = 0;
        for (LONG y = area.top; y < area.bottom; ++y) {
            for (LONG x = area.left; x < area.right; ++x) {
                count += GetPixel(dc_, x, y) == colour;
            }
        }
        return count;
    }

    sim::TestMachine machine_;
    common::IDrvResources* resources_ = nullptr;
    HDC screen_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

TEST_F(Pictures, EachPictureIsDrawnCentredWithItsBackgroundTransparent) {
    for (UINT control : {20100u, 20150u, 20200u}) {
        notifier::DialogPictures pictures(*resources_);
        ASSERT_TRUE(pictures.Draw(control, dc_, {0, 0, kWidth, kHeight})) << control;
        const RECT all = {0, 0, kWidth, kHeight};
        EXPECT_EQ(Count(notifier::kPictureBackground, all), 0u) << control;
        // Outside the picture nothing changed; inside it, its drawing covers some pixels and its
        // background lets what lay beneath show through elsewhere.
        const size_t area = size_t{64} * 48;
        const size_t beneathInside = Count(kBeneath, kPicture);
        EXPECT_EQ(Count(kBeneath, all) - beneathInside, size_t{kWidth * kHeight} - area);
        EXPECT_GT(beneathInside, 0u) << control;
        EXPECT_LT(beneathInside, area) << control;
    }
}

TEST_F(Pictures, OtherControlsAreNotDrawn) {
    notifier::DialogPictures pictures(*resources_);
    EXPECT_FALSE(pictures.Draw(20101, dc_, {0, 0, kWidth, kHeight}));
    EXPECT_EQ(Count(kBeneath, {0, 0, kWidth, kHeight}), size_t{kWidth * kHeight});
}

} // namespace
} // namespace moltr::test
