// InitCommonControlsEx: the classes of the groups asked for exist afterwards, as global classes
// found from any module, and a description of the wrong size is refused.
#include "sim/machine.h"
#include "sim/utf.h"
#include "sim/windows_admin.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

TEST(CommonControls, TheGroupsClassesAreRegistered) {
    moltr::sim::TestMachine machine;
    INITCOMMONCONTROLSEX groups{sizeof groups,
                                ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&groups));
    EXPECT_TRUE(InitCommonControlsEx(&groups)); // again: no failure
    // Each answers as the control does (the system's placeholders answer 0 to everything),
    // from a window made for any module.
    struct Probe {
        const WCHAR* name;
        UINT message;
        LRESULT answer;
    };
    const Probe probes[] = {{WC_TABCONTROLW, TCM_GETCURSEL, -1},
                            {TRACKBAR_CLASSW, TBM_GETRANGEMAX, 100},
                            {UPDOWN_CLASSW, UDM_GETRANGE, MAKELONG(0, 100)}};
    auto anyModule = reinterpret_cast<HINSTANCE>(0x400000);
    for (const Probe& probe : probes) {
        HWND window = CreateWindowExW(0, probe.name, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      anyModule, nullptr);
        ASSERT_NE(window, nullptr) << moltr::sim::Utf8(probe.name);
        EXPECT_EQ(moltr::sim::WindowClassName(window), moltr::sim::View(probe.name));
        EXPECT_EQ(SendMessageW(window, probe.message, 0, 0), probe.answer)
            << moltr::sim::Utf8(probe.name);
        DestroyWindow(window);
    }
}

TEST(CommonControls, AWrongSizeIsRefused) {
    moltr::sim::TestMachine machine;
    INITCOMMONCONTROLSEX groups{sizeof groups + 1, ICC_TAB_CLASSES};
    EXPECT_FALSE(InitCommonControlsEx(&groups));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

} // namespace
