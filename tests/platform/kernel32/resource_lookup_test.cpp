// FindResourceExW and FindResourceW on this program's own resources (resource_lookup.rc): each
// resource's data names the language the loader chose.
#include "sim/machine.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

using moltr::sim::MachineConfig;
using moltr::sim::TestMachine;

constexpr LANGID kGerman = 0x0407;
constexpr LANGID kSwissGerman = 0x0807;
constexpr LANGID kAustrianGerman = 0x0C07;
constexpr LANGID kFrench = 0x040C;
constexpr LANGID kItalian = 0x0410;
constexpr LANGID kEnglishUs = 0x0409;

MachineConfig UiLanguages(LANGID user, LANGID system) {
    MachineConfig config;
    config.userUiLanguage = user;
    config.systemUiLanguage = system;
    return config;
}

// The language tag stored in the resource found, or the error code as text.
std::string Found(LPCWSTR type, LPCWSTR name, WORD language, HMODULE module = ThisModuleHandle()) {
    SetLastError(ERROR_SUCCESS);
    HRSRC resource = FindResourceExW(module, type, name, language);
    if (!resource) {
        return "error " + std::to_string(GetLastError());
    }
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    return data ? std::string(data, SizeofResource(module, resource) - 1) : "no data";
}

std::string FoundData(int id, WORD language) {
    return Found(RT_RCDATA, MAKEINTRESOURCEW(id), language);
}

const std::string kTypeNotFound = "error " + std::to_string(ERROR_RESOURCE_TYPE_NOT_FOUND);
const std::string kNameNotFound = "error " + std::to_string(ERROR_RESOURCE_NAME_NOT_FOUND);
const std::string kLangNotFound = "error " + std::to_string(ERROR_RESOURCE_LANG_NOT_FOUND);

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
    EXPECT_EQ(Found(L"Preview", L"#70000", LANG_NEUTRAL), kNameNotFound);
    EXPECT_EQ(Found(L"Preview", L"#12x", LANG_NEUTRAL), kNameNotFound);
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

TEST(ResourceData, RefusesHandlesThatAreNoResources) {
    TestMachine machine;
    int local = 0;
    HRSRC bogus = reinterpret_cast<HRSRC>(&local);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadResource(nullptr, bogus), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
}

} // namespace
