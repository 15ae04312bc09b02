// Reading dialog templates through CreateDialogIndirectParamW: the signature word alone tells the
// extended format from the standard one, whatever version an extended template gives.
#include "sim/machine.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <vector>

namespace {

// A template's bytes, each part appended as the format lays it out.
class TemplateBytes {
public:
    template <class T> TemplateBytes& Put(T value) {
        const auto* bytes = reinterpret_cast<const BYTE*>(&value);
        data_.insert(data_.end(), bytes, bytes + sizeof value);
        return *this;
    }
    TemplateBytes& Align() {
        while (data_.size() % 4) {
            data_.push_back(0);
        }
        return *this;
    }
    // DWORD-aligned, as CreateDialogIndirectParamW wants its template.
    const DLGTEMPLATE* get() {
        words_.assign((data_.size() + 3) / 4, 0);
        std::memcpy(words_.data(), data_.data(), data_.size());
        return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
    }

private:
    std::vector<BYTE> data_;
    std::vector<DWORD> words_;
};

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// An extended template of `version` with one button whose id needs all 32 bits of its field.
TemplateBytes Extended(WORD version) {
    TemplateBytes bytes;
    bytes.Put<WORD>(version).Put<WORD>(0xFFFF).Put<DWORD>(0).Put<DWORD>(0).Put<DWORD>(WS_POPUP);
    bytes.Put<WORD>(1).Put<short>(0).Put<short>(0).Put<short>(100).Put<short>(50);
    bytes.Put<WORD>(0).Put<WORD>(0).Put<WORD>(0); // no menu, the dialog class, no caption
    bytes.Align().Put<DWORD>(0).Put<DWORD>(0).Put<DWORD>(WS_CHILD | WS_VISIBLE);
    bytes.Put<short>(5).Put<short>(5).Put<short>(40).Put<short>(14).Put<DWORD>(0x10041);
    bytes.Put<WORD>(0xFFFF).Put<WORD>(0x0080).Put<WORD>(u'O').Put<WORD>(u'K').Put<WORD>(0);
    bytes.Put<WORD>(0); // no creation data
    return bytes;
}

TEST(DialogTemplates, TheSignatureAloneMarksTheExtendedFormat) {
    moltr::sim::TestMachine machine;
    for (WORD version : {1, 2, 0xBBAF}) {
        TemplateBytes bytes = Extended(version);
        HWND dialog = CreateDialogIndirectParamW(nullptr, bytes.get(), nullptr, Quiet, 0);
        ASSERT_NE(dialog, nullptr) << version;
        HWND button = GetDlgItem(dialog, 0x10041);
        EXPECT_NE(button, nullptr) << version;
        EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD, 0) << version;
        DestroyWindow(dialog);
    }
}

TEST(DialogTemplates, AStandardTemplateKeepsItsStyleInTheFirstWords) {
    moltr::sim::TestMachine machine;
    TemplateBytes bytes;
    bytes.Put<DWORD>(WS_POPUP | DS_MODALFRAME).Put<DWORD>(0).Put<WORD>(1);
    bytes.Put<short>(0).Put<short>(0).Put<short>(100).Put<short>(50);
    bytes.Put<WORD>(0).Put<WORD>(0).Put<WORD>(0);
    bytes.Align().Put<DWORD>(WS_CHILD | WS_VISIBLE).Put<DWORD>(0);
    bytes.Put<short>(5).Put<short>(5).Put<short>(40).Put<short>(14).Put<WORD>(7);
    bytes.Put<WORD>(0xFFFF).Put<WORD>(0x0082).Put<WORD>(0).Put<WORD>(0);
    HWND dialog = CreateDialogIndirectParamW(nullptr, bytes.get(), nullptr, Quiet, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(GetWindowLongW(dialog, GWL_STYLE) & DS_MODALFRAME);
    EXPECT_NE(GetDlgItem(dialog, 7), nullptr);
    DestroyWindow(dialog);
}

} // namespace
