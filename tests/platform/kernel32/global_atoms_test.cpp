// Atom tables: GlobalAddAtomW, GlobalFindAtomW, GlobalDeleteAtom, GlobalGetAtomNameW and the local
// AddAtomW, FindAtomW, DeleteAtom and GetAtomNameW.
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

using moltr::sim::Utf8;

std::string GlobalName(ATOM atom, int size = 256) {
    WCHAR buffer[258];
    for (WCHAR& c : buffer) {
        c = u'@';
    }
    const UINT length = GlobalGetAtomNameW(atom, buffer, size);
    // Nothing is written past the buffer the caller gave.
    EXPECT_EQ(buffer[size], u'@');
    return Utf8(buffer, length);
}

TEST(GlobalAtoms, StringAtomsAreSharedIgnoringCaseAndCounted) {
    const ATOM atom = GlobalAddAtomW(L"MoltrCounted");
    ASSERT_GE(atom, MAXINTATOM);
    EXPECT_EQ(GlobalAddAtomW(L"MOLTRCOUNTED"), atom);
    EXPECT_EQ(GlobalFindAtomW(L"moltrcounted"), atom);
    EXPECT_EQ(GlobalName(atom), "MoltrCounted");
    // Two additions: the first deletion leaves it, the second removes it.
    EXPECT_EQ(GlobalDeleteAtom(atom), 0);
    EXPECT_EQ(GlobalFindAtomW(L"MoltrCounted"), atom);
    EXPECT_EQ(GlobalDeleteAtom(atom), 0);
    SetLastError(0);
    EXPECT_EQ(GlobalFindAtomW(L"MoltrCounted"), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    SetLastError(0);
    EXPECT_EQ(GlobalDeleteAtom(atom), atom);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalGetAtomNameW(atom, nullptr, 0), 0u);
}

TEST(GlobalAtoms, DistinctNamesGetDistinctAtoms) {
    const ATOM first = GlobalAddAtomW(L"MoltrFirst");
    const ATOM second = GlobalAddAtomW(L"MoltrSecond");
    EXPECT_NE(first, second);
    EXPECT_EQ(GlobalName(second), "MoltrSecond");
    GlobalDeleteAtom(first);
    // Deleting one leaves the other as it was.
    EXPECT_EQ(GlobalFindAtomW(L"MoltrSecond"), second);
    GlobalDeleteAtom(second);
}

TEST(GlobalAtoms, IntegerAtomsStandForThemselves) {
    EXPECT_EQ(GlobalAddAtomW(MAKEINTATOM(42)), 42);
    EXPECT_EQ(GlobalAddAtomW(L"#43"), 43);
    EXPECT_EQ(GlobalFindAtomW(L"#42"), 42);
    EXPECT_EQ(GlobalFindAtomW(MAKEINTATOM(0xBFFF)), 0xBFFF);
    EXPECT_EQ(GlobalName(42), "#42");
    EXPECT_EQ(GlobalName(0xBFFF), "#49151");
    // Deleting an integer atom does nothing and succeeds.
    EXPECT_EQ(GlobalDeleteAtom(42), 0);
    EXPECT_EQ(GlobalFindAtomW(MAKEINTATOM(42)), 42);
    // "#" with anything but digits after it is a string.
    const ATOM named = GlobalAddAtomW(L"#12a");
    EXPECT_GE(named, MAXINTATOM);
    EXPECT_EQ(GlobalName(named), "#12a");
    GlobalDeleteAtom(named);
}

TEST(GlobalAtoms, RefusesAtomsOutsideTheIntegerRangeAndOverlongNames) {
    const LPCWSTR refused[] = {MAKEINTATOM(0), MAKEINTATOM(MAXINTATOM), L"#0", L"#49152",
                               L"#99999999999"};
    for (LPCWSTR name : refused) {
        SetLastError(0);
        EXPECT_EQ(GlobalAddAtomW(name), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    const std::u16string longest(255, u'x');
    const ATOM atom = GlobalAddAtomW(moltr::sim::W(longest));
    EXPECT_GE(atom, MAXINTATOM);
    EXPECT_EQ(GlobalName(atom).size(), 255u);
    GlobalDeleteAtom(atom);
    const std::u16string tooLong(256, u'x');
    SetLastError(0);
    EXPECT_EQ(GlobalAddAtomW(moltr::sim::W(tooLong)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(GlobalAtoms, ShortBufferTakesWhatFitsBeforeItsNul) {
    const ATOM atom = GlobalAddAtomW(L"MoltrTruncated");
    EXPECT_EQ(GlobalName(atom, 6), "Moltr");
    EXPECT_EQ(GlobalName(atom, 1), "");
    EXPECT_EQ(GlobalName(1234, 3), "#1");
    GlobalDeleteAtom(atom);
}

TEST(LocalAtoms, AreATableOfTheirOwn) {
    const ATOM local = AddAtomW(L"MoltrLocal");
    ASSERT_GE(local, MAXINTATOM);
    EXPECT_EQ(FindAtomW(L"MOLTRLOCAL"), local);
    SetLastError(0);
    EXPECT_EQ(GlobalFindAtomW(L"MoltrLocal"), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    WCHAR name[32];
    EXPECT_EQ(GetAtomNameW(local, name, 32), 10u);
    EXPECT_EQ(Utf8(name), "MoltrLocal");
    EXPECT_EQ(AddAtomW(L"#7"), 7);
    EXPECT_EQ(DeleteAtom(local), 0);
    EXPECT_EQ(FindAtomW(L"MoltrLocal"), 0);
}

} // namespace
