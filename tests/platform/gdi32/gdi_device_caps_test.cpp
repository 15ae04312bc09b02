// GetDeviceCaps' colour format: the screen's depth in one plane, answered by memory DCs too
// whatever bitmap they hold; depths the screen cannot have are refused.
#include <gtest/gtest.h>
#include <windows.h>
#include "sim/display.h"

namespace {

using moltr::sim::CurrentDisplay;
using moltr::sim::DisplayConfig;
using moltr::sim::SetDisplay;

class ScreenDepth : public ::testing::Test {
protected:
    void TearDown() override { SetDisplay(saved_); }
    DisplayConfig saved_ = CurrentDisplay();
};

TEST_F(ScreenDepth, TheScreenHas32BitsInOnePlane) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, PLANES), 1);
    ReleaseDC(nullptr, screen);
}

TEST_F(ScreenDepth, AMemoryDcAnswersForTheScreenNotItsBitmap) {
    ASSERT_TRUE(SetDisplay({96, 96, 8}));
    HDC memory = CreateCompatibleDC(nullptr);
    // It holds the 1 by 1 monochrome bitmap.
    EXPECT_EQ(GetDeviceCaps(memory, BITSPIXEL), 8);
    DeleteDC(memory);
}

TEST_F(ScreenDepth, OtherDepthsAreRefused) {
    EXPECT_FALSE(SetDisplay({96, 96, 12}));
    EXPECT_FALSE(SetDisplay({96, 96, 0}));
    EXPECT_EQ(CurrentDisplay().bitsPixel, saved_.bitsPixel);
}

} // namespace
