#pragma once
// Marks for the tests that the Windows build runs: what only the simulation promises, and where
// Wine is known to answer otherwise than Windows. Each mark skips the test with its one-line
// reason.
#include "windows_run.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace moltr::test {

// Wine's ntdll exports its version; Windows's does not.
inline bool UnderWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

inline bool OnWindows() {
#ifdef _WIN32
    return true;
#else
    return false;
#endif
}

inline bool WithMingw() {
#ifdef __MINGW32__
    return true;
#else
    return false;
#endif
}

} // namespace moltr::test

// Behaviour that Windows leaves undefined and the simulation guards against.
#define MOLTR_SIMULATION_ONLY(reason)                                                              \
    if (moltr::test::OnWindows())                                                                  \
    GTEST_SKIP() << "simulation only: " reason

// Behaviour in which mingw-w64's strsafe.h, which formats through msvcrt, differs from the SDK's
// over the Universal C runtime.
#define MOLTR_NOT_WITH_MINGW(reason)                                                               \
    if (moltr::test::WithMingw())                                                                  \
    GTEST_SKIP() << "mingw-w64 differs: " reason

// Behaviour in which Wine is known to differ from Windows.
#define MOLTR_NOT_UNDER_WINE(reason)                                                               \
    if (moltr::test::UnderWine())                                                                  \
    GTEST_SKIP() << "Wine differs: " reason
