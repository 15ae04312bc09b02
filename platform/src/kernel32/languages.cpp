// The UI languages and locales of the simulated machine. The user's locale is the system locale.
#include "sim/machine.h"

#include <algorithm>
#include <iterator>

namespace {

// The locales the machine has: those whose ANSI code page (in the comment) is one the machine can
// convert (text_code_page_tables.cpp), so that a machine set to a locale and its page agrees.
constexpr LCID kKnownLocales[] = {
    1026, // 1251 Bulgarian
    1029, // 1250 Czech
    1030, // 1252 Danish
    1031, // 1252 German (Germany)
    1032, // 1253 Greek
    1033, // 1252 English (United States)
    1034, // 1252 Spanish (traditional sort)
    1035, // 1252 Finnish
    1036, // 1252 French (France)
    1038, // 1250 Hungarian
    1039, // 1252 Icelandic
    1040, // 1252 Italian (Italy)
    1043, // 1252 Dutch (Netherlands)
    1044, // 1252 Norwegian (Bokmal)
    1045, // 1250 Polish
    1046, // 1252 Portuguese (Brazil)
    1048, // 1250 Romanian
    1049, // 1251 Russian
    1050, // 1250 Croatian
    1051, // 1250 Slovak
    1053, // 1252 Swedish
    1058, // 1251 Ukrainian
    1060, // 1250 Slovenian
    2055, // 1252 German (Switzerland)
    2057, // 1252 English (United Kingdom)
    2058, // 1252 Spanish (Mexico)
    2060, // 1252 French (Belgium)
    2067, // 1252 Dutch (Belgium)
    2070, // 1252 Portuguese (Portugal)
    3079, // 1252 German (Austria)
    3081, // 1252 English (Australia)
    3082, // 1252 Spanish (Spain)
    3084, // 1252 French (Canada)
    4105, // 1252 English (Canada)
    4108, // 1252 French (Switzerland)
};

} // namespace

extern "C" {

// Every locale the machine has is installed as well as supported, so either question has one
// answer.
BOOL WINAPI IsValidLocale(LCID Locale, DWORD) {
    return std::find(std::begin(kKnownLocales), std::end(kKnownLocales), Locale) !=
                   std::end(kKnownLocales)
               ? TRUE
               : FALSE;
}

LANGID WINAPI GetUserDefaultUILanguage() {
    return moltr::sim::CurrentConfig().userUiLanguage;
}

LANGID WINAPI GetSystemDefaultUILanguage() {
    return moltr::sim::CurrentConfig().systemUiLanguage;
}

LCID WINAPI GetSystemDefaultLCID() {
    return moltr::sim::CurrentConfig().systemLocale;
}

LCID WINAPI GetUserDefaultLCID() {
    return GetSystemDefaultLCID();
}

LCID WINAPI GetThreadLocale() {
    return GetUserDefaultLCID();
}

LANGID WINAPI GetSystemDefaultLangID() {
    return LANGIDFROMLCID(GetSystemDefaultLCID());
}

LANGID WINAPI GetUserDefaultLangID() {
    return LANGIDFROMLCID(GetUserDefaultLCID());
}
}
