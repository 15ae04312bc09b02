// The machine's locale as the locale calls report it, and which locales it knows.
#include <gtest/gtest.h>
#include <windows.h>
#include "sim/machine.h"

namespace {

TEST(Languages, EveryLocaleCallFollowsTheMachinesLocale) {
    moltr::sim::TestMachine machine;
    EXPECT_EQ(GetSystemDefaultLCID(), 1033u);
    moltr::sim::MachineConfig config = moltr::sim::CurrentConfig();
    config.systemLocale = 2057; // English (United Kingdom)
    ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    EXPECT_EQ(GetSystemDefaultLCID(), 2057u);
    EXPECT_EQ(GetUserDefaultLCID(), 2057u);
    EXPECT_EQ(GetThreadLocale(), 2057u);
    EXPECT_EQ(GetSystemDefaultLangID(), 2057u);
    EXPECT_EQ(GetUserDefaultLangID(), 2057u);
    // The UI languages are the machine's own settings, apart from the locale.
    EXPECT_EQ(GetUserDefaultUILanguage(), 1033u);
    EXPECT_EQ(GetSystemDefaultUILanguage(), 1033u);
}

TEST(Languages, OnlyKnownLocalesAreValid) {
    for (LCID locale : {1031u, 1032u, 1033u, 1045u, 1049u, 2057u, 3082u}) {
        EXPECT_TRUE(IsValidLocale(locale, LCID_SUPPORTED)) << locale;
        EXPECT_TRUE(IsValidLocale(locale, LCID_INSTALLED)) << locale;
    }
    // Japanese and Turkish need pages the machine lacks; a sort order the machine lacks; no
    // locale at all.
    for (LCID locale : {1041u, 1055u, 0x10407u, 0u, 9999u}) {
        EXPECT_FALSE(IsValidLocale(locale, LCID_SUPPORTED)) << locale;
        EXPECT_FALSE(IsValidLocale(locale, LCID_INSTALLED)) << locale;
    }
}

} // namespace
