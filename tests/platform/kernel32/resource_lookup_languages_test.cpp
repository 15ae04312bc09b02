// FindResourceExW and FindResourceW under the UI languages of the simulated machine's
// configuration, on this program's resources (resource_lookup_languages.rc).
#include "resource_lookup_found.h"
#include "sim/machine.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using namespace resource_lookup;
using moltr::sim::MachineConfig;
using moltr::sim::TestMachine;

MachineConfig UiLanguages(LANGID user, LANGID system) {
    MachineConfig config;
    config.userUiLanguage = user;
    config.systemUiLanguage = system;
    return config;
}

TEST(ResourceLookupSpecificLanguage, NeverTakesAnotherLanguage) {
    TestMachine machine(UiLanguages(kGerman, kGerman));
    EXPECT_EQ(FoundData(102, kFrench), kLangNotFound);
    EXPECT_EQ(FoundData(200, kItalian), kLangNotFound);
}

TEST(ResourceLookupNeutralLanguage, TakesTheNeutralResourceFirst) {
    TestMachine machine(UiLanguages(kGerman, kGerman));
    EXPECT_EQ(FoundData(100, LANG_NEUTRAL), "neutral");
}

TEST(ResourceLookupNeutralLanguage, ThenTheUserUiLanguage) {
    TestMachine machine(UiLanguages(kGerman, kFrench));
    EXPECT_EQ(FoundData(200, LANG_NEUTRAL), "de-DE");
}

TEST(ResourceLookupNeutralLanguage, ThenTheSystemUiLanguage) {
    TestMachine machine(UiLanguages(kItalian, kFrench));
    EXPECT_EQ(FoundData(200, LANG_NEUTRAL), "fr-FR");
}

TEST(ResourceLookupNeutralLanguage, ThenEnglishUnitedStatesThenPrimaryEnglish) {
    TestMachine machine(UiLanguages(kItalian, kItalian));
    EXPECT_EQ(FoundData(200, LANG_NEUTRAL), "en-US");
    EXPECT_EQ(FoundData(201, LANG_NEUTRAL), "en");
}

TEST(ResourceLookupNeutralLanguage, ThenTheFirstLanguagePresent) {
    TestMachine machine(UiLanguages(kGerman, kGerman));
    // Languages are kept sorted by id, as in an image's resource directory: 0x040C before 0x0410.
    EXPECT_EQ(FoundData(202, LANG_NEUTRAL), "fr-FR");
}

TEST(ResourceLookupNeutralLanguage, FindResourceWUsesIt) {
    TestMachine machine(UiLanguages(kItalian, kFrench));
    HRSRC resource = FindResourceW(ThisModuleHandle(), MAKEINTRESOURCEW(200), RT_RCDATA);
    ASSERT_NE(resource, nullptr);
    EXPECT_STREQ(static_cast<const char*>(LoadResource(ThisModuleHandle(), resource)), "fr-FR");
}

} // namespace
