// FindResourceExW and FindResourceW on this program's own resources (resource_lookup.rc): each
// resource's data names the language the loader chose.
#include "resource_lookup_found.h"
#include "sim/machine.h"
#include "this_module.h"
#include "windows_run.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

using namespace resource_lookup;
using moltr::sim::TestMachine;

TEST(ResourceLookupSpecificLanguage, TakesTheExactLanguageFirst) {
    TestMachine machine;
    EXPECT_EQ(FoundData(100, kGerman), "de-DE");
    EXPECT_EQ(FoundData(100, kSwissGerman), "de-CH");
}

TEST(ResourceLookupSpecificLanguage, FallsBackToThePrimaryLanguageThenNeutral) {
    TestMachine machine;
    EXPECT_EQ(FoundData(100, kAustrianGerman), "de");
    EXPECT_EQ(FoundData(101, kAustrianGerman), "neutral");
    EXPECT_EQ(FoundData(101, kFrench), "neutral");
}

TEST(ResourceLookupNames, MatchStringsIgnoringCase) {
    TestMachine machine;
    EXPECT_EQ(Found(L"preview", L"watermark", LANG_NEUTRAL), "named");
    EXPECT_EQ(Found(L"PREVIEW", L"WaterMark", LANG_NEUTRAL), "named");
}

TEST(ResourceLookupNames, TakeNumberSignDigitsAsOrdinals) {
    TestMachine machine;
    EXPECT_EQ(Found(L"Preview", L"#123", LANG_NEUTRAL), "ordinal");
    EXPECT_EQ(Found(L"Preview", MAKEINTRESOURCEW(123), LANG_NEUTRAL), "ordinal");
    EXPECT_EQ(Found(L"#10", MAKEINTRESOURCEW(200), kFrench), "fr-FR");
    EXPECT_EQ(Found(L"Preview", L"123", LANG_NEUTRAL), kNameNotFound);
    EXPECT_EQ(Found(L"Preview", L"#", LANG_NEUTRAL), kNameNotFound);
    EXPECT_EQ(FindResourceExW(ThisModuleHandle(), L"Preview", L"#70000", LANG_NEUTRAL), nullptr);
    EXPECT_EQ(Found(L"Preview", L"#12x", LANG_NEUTRAL), kNameNotFound);
}

TEST(ResourceLookupNames, NameAnOrdinalTooLargeNotFound) {
    MOLTR_SIMULATION_ONLY("Windows documents no error for an ordinal above 65535");
    TestMachine machine;
    EXPECT_EQ(Found(L"Preview", L"#70000", LANG_NEUTRAL), kNameNotFound);
}

TEST(ResourceLookupErrors, TellTypeNameAndLanguageApart) {
    TestMachine machine;
    EXPECT_EQ(FoundData(999, LANG_NEUTRAL), kNameNotFound);
    EXPECT_EQ(Found(RT_DIALOG, MAKEINTRESOURCEW(100), LANG_NEUTRAL), kTypeNotFound);
    EXPECT_EQ(Found(L"Unknown", L"Watermark", LANG_NEUTRAL), kTypeNotFound);
    EXPECT_EQ(Found(L"", L"Watermark", LANG_NEUTRAL), kTypeNotFound);
    EXPECT_EQ(Found(L"Preview", nullptr, LANG_NEUTRAL), kNameNotFound);
    EXPECT_EQ(FoundData(102, kEnglishUs), kLangNotFound);
}

TEST(ResourceLookupModules, NullMeansTheExecutable) {
    TestMachine machine;
    EXPECT_EQ(Found(RT_RCDATA, MAKEINTRESOURCEW(101), LANG_NEUTRAL, nullptr), "neutral");
    HRSRC own = FindResourceExW(ThisModuleHandle(), RT_RCDATA, MAKEINTRESOURCEW(101), LANG_NEUTRAL);
    EXPECT_EQ(FindResourceExW(nullptr, RT_RCDATA, MAKEINTRESOURCEW(101), LANG_NEUTRAL), own);
}

TEST(ResourceLookupModules, AnUnknownHandleFindsNothing) {
    MOLTR_SIMULATION_ONLY("Windows documents no answer to a handle that is no module");
    TestMachine machine;
    int local = 0;
    EXPECT_EQ(
        Found(RT_RCDATA, MAKEINTRESOURCEW(101), LANG_NEUTRAL, reinterpret_cast<HMODULE>(&local)),
        "error " + std::to_string(ERROR_MOD_NOT_FOUND));
}

TEST(ResourceData, IsTheResourceInPlace) {
    TestMachine machine;
    HRSRC resource = FindResourceExW(nullptr, RT_RCDATA, L"Empty", LANG_NEUTRAL);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, resource), 0u);
    HRSRC named = FindResourceExW(nullptr, L"Preview", L"Watermark", LANG_NEUTRAL);
    HGLOBAL data = LoadResource(nullptr, named);
    EXPECT_EQ(LockResource(data), data);
    EXPECT_EQ(LoadResource(nullptr, named), data);
    EXPECT_EQ(SizeofResource(nullptr, named), 6u);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(data) % 4, 0u);
    EXPECT_FALSE(FreeResource(data));
}

TEST(ResourceData, FindsNothingWithoutAHandle) {
    TestMachine machine;
    EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
}

TEST(ResourceData, RefusesHandlesThatAreNoResources) {
    MOLTR_SIMULATION_ONLY("Windows documents no check of the resource handle it is given");
    TestMachine machine;
    int local = 0;
    HRSRC bogus = reinterpret_cast<HRSRC>(&local);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadResource(nullptr, bogus), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

} // namespace
