// The UI languages and locales of the simulated machine. The user's locale is the system locale.
#include "sim/machine.h"

extern "C" {

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
