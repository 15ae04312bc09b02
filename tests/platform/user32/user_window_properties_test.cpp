// Window properties (SetPropW, GetPropW, RemovePropW, EnumPropsExW) and subclassing through
// SetWindowLongPtrW(GWLP_WNDPROC) and CallWindowProcW.
#include "sim/utf.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using moltr::sim::Utf8;

HWND Popup() {
    return CreateWindowExW(0, L"#32770", L"Dialog", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                           ThisModuleHandle(), nullptr);
}

HANDLE Data(ULONG_PTR value) {
    return reinterpret_cast<HANDLE>(value);
}

HWND Bogus() {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF1234));
}

class Properties : public ::testing::Test {
protected:
    void SetUp() override { window_ = Popup(); }
    void TearDown() override {
        if (IsWindow(window_)) {
            DestroyWindow(window_);
        }
    }
    HWND window_ = nullptr;
};

TEST_F(Properties, FoundByNameInAnyCaseAndByTheNamesAtom) {
    ASSERT_TRUE(SetPropW(window_, L"MoltrLink", Data(0x1234)));
    EXPECT_EQ(GetPropW(window_, L"MOLTRLINK"), Data(0x1234));
    const ATOM atom = GlobalFindAtomW(L"MoltrLink");
    ASSERT_NE(atom, 0);
    EXPECT_EQ(GetPropW(window_, MAKEINTATOM(atom)), Data(0x1234));
    // Setting it again replaces the value, and removing it gives the value back once.
    EXPECT_TRUE(SetPropW(window_, L"moltrlink", Data(0x5678)));
    EXPECT_EQ(RemovePropW(window_, L"MoltrLink"), Data(0x5678));
    EXPECT_EQ(GetPropW(window_, L"MoltrLink"), nullptr);
    EXPECT_EQ(RemovePropW(window_, L"MoltrLink"), nullptr);
}

TEST_F(Properties, EachWindowHasItsOwnList) {
    HWND other = Popup();
    SetPropW(window_, L"MoltrOwn", Data(1));
    SetPropW(other, L"MoltrOwn", Data(2));
    EXPECT_EQ(GetPropW(window_, L"MoltrOwn"), Data(1));
    EXPECT_EQ(GetPropW(other, L"MoltrOwn"), Data(2));
    DestroyWindow(other);
    EXPECT_EQ(GetPropW(window_, L"MoltrOwn"), Data(1));
    RemovePropW(window_, L"MoltrOwn");
}

TEST_F(Properties, ANamedEntryHoldsItsAtomUntilRemovedOrDestroyed) {
    SetPropW(window_, L"MoltrHeld", Data(1));
    SetPropW(window_, L"MoltrHeld", Data(2));
    EXPECT_NE(GlobalFindAtomW(L"MoltrHeld"), 0);
    RemovePropW(window_, L"MoltrHeld");
    // Set twice, the entry still held only one reference.
    EXPECT_EQ(GlobalFindAtomW(L"MoltrHeld"), 0);
    SetPropW(window_, L"MoltrLeft", Data(3));
    DestroyWindow(window_);
    EXPECT_EQ(GlobalFindAtomW(L"MoltrLeft"), 0);
}

TEST_F(Properties, AnAtomNameTakesNoReference) {
    const ATOM atom = GlobalAddAtomW(L"MoltrByAtom");
    EXPECT_TRUE(SetPropW(window_, MAKEINTATOM(atom), Data(9)));
    EXPECT_EQ(GetPropW(window_, L"moltrbyatom"), Data(9));
    EXPECT_EQ(RemovePropW(window_, MAKEINTATOM(atom)), Data(9));
    EXPECT_EQ(GlobalFindAtomW(L"MoltrByAtom"), atom);
    GlobalDeleteAtom(atom);
}

TEST_F(Properties, RefusedForNoWindowAndNoName) {
    SetLastError(0);
    EXPECT_FALSE(SetPropW(Bogus(), L"MoltrNone", Data(1)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(GetPropW(Bogus(), L"MoltrNone"), nullptr);
    EXPECT_EQ(RemovePropW(Bogus(), L"MoltrNone"), nullptr);
    EXPECT_FALSE(SetPropW(window_, MAKEINTATOM(0), Data(1)));
    EXPECT_FALSE(SetPropW(window_, L"", Data(1)));
    // An unknown name is no entry and leaves the caller's error alone.
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetPropW(window_, L"MoltrNeverAdded"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

struct Seen {
    std::vector<std::pair<std::string, HANDLE>> entries;
    int stopAfter = 100;
};

BOOL CALLBACK Collect(HWND, LPWSTR name, HANDLE data, ULONG_PTR parameter) {
    auto* seen = reinterpret_cast<Seen*>(parameter);
    seen->entries.emplace_back(IS_INTRESOURCE(name)
                                   ? "atom " + std::to_string(reinterpret_cast<ULONG_PTR>(name))
                                   : Utf8(name),
                               data);
    return static_cast<int>(seen->entries.size()) < seen->stopAfter;
}

TEST_F(Properties, EnumerationNamesEntriesAsTheyWereSet) {
    Seen none;
    EXPECT_EQ(EnumPropsExW(window_, Collect, reinterpret_cast<LPARAM>(&none)), -1);
    EXPECT_TRUE(none.entries.empty());
    SetPropW(window_, L"MoltrNamed", Data(1));
    SetPropW(window_, MAKEINTATOM(77), Data(2));
    Seen all;
    EXPECT_EQ(EnumPropsExW(window_, Collect, reinterpret_cast<LPARAM>(&all)), TRUE);
    ASSERT_EQ(all.entries.size(), 2u);
    EXPECT_TRUE((all.entries[0] == std::pair<std::string, HANDLE>("MoltrNamed", Data(1)) &&
                 all.entries[1] == std::pair<std::string, HANDLE>("atom 77", Data(2))) ||
                (all.entries[1] == std::pair<std::string, HANDLE>("MoltrNamed", Data(1)) &&
                 all.entries[0] == std::pair<std::string, HANDLE>("atom 77", Data(2))));
    // The callback's FALSE ends the enumeration and is its result.
    Seen first;
    first.stopAfter = 1;
    EXPECT_EQ(EnumPropsExW(window_, Collect, reinterpret_cast<LPARAM>(&first)), FALSE);
    EXPECT_EQ(first.entries.size(), 1u);
    RemovePropW(window_, L"MoltrNamed");
    RemovePropW(window_, MAKEINTATOM(77));
}

// A subclass that counts the messages it sees and hands them on.
WNDPROC g_previous = nullptr;
std::vector<UINT> g_subclassed;
LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_subclassed.push_back(message);
    if (message == WM_GETTEXTLENGTH) {
        return 99; // the subclass answers this one itself
    }
    return CallWindowProcW(g_previous, window, message, wParam, lParam);
}

TEST_F(Properties, SubclassingReplacesTheProcedureAndReturnsThePreviousOne) {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
    ASSERT_NE(original, nullptr);
    g_subclassed.clear();
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
    EXPECT_EQ(g_previous, original);
    EXPECT_EQ(GetWindowLongPtrW(window_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(Subclass));
    // Passed on, the text reaches the window; answered by the subclass, the original is skipped.
    EXPECT_TRUE(SetWindowTextW(window_, L"Renamed"));
    EXPECT_EQ(GetWindowTextLengthW(window_), 99);
    const std::vector<UINT> seen{WM_SETTEXT, WM_GETTEXTLENGTH};
    EXPECT_EQ(g_subclassed, seen);
    EXPECT_EQ(CallWindowProcW(original, window_, WM_GETTEXTLENGTH, 0, 0), 7);
    EXPECT_EQ(CallWindowProcW(nullptr, window_, WM_GETTEXTLENGTH, 0, 0), 0);
    // Restoring the original ends the subclass.
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    EXPECT_EQ(GetWindowTextLengthW(window_), 7);
    EXPECT_EQ(g_subclassed.size(), 2u);
}

TEST_F(Properties, TheProcedureIsAPointerOnlyValue) {
    SetLastError(0);
    EXPECT_EQ(GetWindowLongW(window_, GWLP_WNDPROC), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

} // namespace
