// EnumFontFamiliesW: the screen's TrueType families under the names applications know, one face
// per family without a name and every face of a named family, and the callback's answers.
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace {

using moltr::sim::Utf8;

struct Seen {
    std::string face;
    std::string style;
    LONG weight;
    BYTE italic;
    BYTE charSet;
    DWORD type;
    DWORD ntmFlags;
    LONG height;
};

int CALLBACK Collect(const LOGFONTW* font, const TEXTMETRICW* metric, DWORD type, LPARAM param) {
    const auto* described = reinterpret_cast<const ENUMLOGFONTW*>(font);
    const auto* truetype = reinterpret_cast<const NEWTEXTMETRICW*>(metric);
    reinterpret_cast<std::vector<Seen>*>(param)->push_back(
        {Utf8(font->lfFaceName), Utf8(described->elfStyle), font->lfWeight, font->lfItalic,
         font->lfCharSet, type, truetype->ntmFlags, font->lfHeight});
    return 1;
}

int CALLBACK StopAtSecond(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM param) {
    return ++*reinterpret_cast<int*>(param) < 2 ? 1 : 0;
}

class FontFamilies : public ::testing::Test {
protected:
    void TearDown() override { DeleteDC(dc_); }
    std::vector<Seen> Enumerate(LPCWSTR family) {
        std::vector<Seen> seen;
        EXPECT_EQ(EnumFontFamiliesW(dc_, family, Collect, reinterpret_cast<LPARAM>(&seen)), 1);
        return seen;
    }
    HDC dc_ = CreateCompatibleDC(nullptr);
};

TEST_F(FontFamilies, EveryTrueTypeFamilyOnceUnderItsWindowsName) {
    std::vector<Seen> seen = Enumerate(nullptr);
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[0].face, "Arial");
    EXPECT_EQ(seen[1].face, "Times New Roman");
    EXPECT_EQ(seen[2].face, "Courier New");
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_NE(seen[i].face, "Helvetica");
        EXPECT_EQ(seen[i].type, static_cast<DWORD>(TRUETYPE_FONTTYPE)) << seen[i].face;
        EXPECT_EQ(seen[i].charSet, ANSI_CHARSET) << seen[i].face;
        EXPECT_GT(seen[i].height, 0) << seen[i].face;
        for (size_t j = 0; j < i; ++j) {
            EXPECT_NE(seen[i].face, seen[j].face);
        }
    }
    // A family without a Windows twin keeps its own name, and draws as itself.
    bool dejaVu = false;
    for (const Seen& face : seen) {
        dejaVu |= face.face == "DejaVu Serif";
    }
    EXPECT_TRUE(dejaVu);
}

TEST_F(FontFamilies, ANamedFamilyGivesEachOfItsFaces) {
    std::vector<Seen> seen = Enumerate(L"arial");
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].style, "Regular");
    EXPECT_EQ(seen[0].weight, FW_NORMAL);
    EXPECT_EQ(seen[0].ntmFlags, static_cast<DWORD>(NTM_REGULAR));
    EXPECT_EQ(seen[1].style, "Bold");
    EXPECT_EQ(seen[1].weight, FW_BOLD);
    EXPECT_EQ(seen[2].style, "Italic");
    EXPECT_EQ(seen[2].italic, 1);
    EXPECT_EQ(seen[3].style, "Bold Italic");
    EXPECT_EQ(seen[3].ntmFlags, static_cast<DWORD>(NTM_BOLD | NTM_ITALIC));
    EXPECT_TRUE(Enumerate(L"No Such Family").empty());
}

TEST_F(FontFamilies, TheCallbacksZeroEndsTheEnumerationAndIsTheAnswer) {
    int calls = 0;
    EXPECT_EQ(EnumFontFamiliesW(dc_, nullptr, StopAtSecond, reinterpret_cast<LPARAM>(&calls)), 0);
    EXPECT_EQ(calls, 2);
    SetLastError(0);
    EXPECT_EQ(EnumFontFamiliesW(nullptr, nullptr, StopAtSecond, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// Text drawn in an enumerated family that is no Windows face uses that family, not the fallback.
TEST_F(FontFamilies, AnEnumeratedFamilyDrawsAsItself) {
    auto width = [&](const char16_t* face) {
        LOGFONTW font{};
        font.lfHeight = -40;
        std::u16string name(face);
        std::copy(name.begin(), name.end(), reinterpret_cast<char16_t*>(font.lfFaceName));
        HGDIOBJ old = SelectObject(dc_, CreateFontIndirectW(&font));
        SIZE size{};
        GetTextExtentPoint32W(dc_, L"Wimbledon", 9, &size);
        DeleteObject(SelectObject(dc_, old));
        return size.cx;
    };
    EXPECT_NE(width(u"DejaVu Sans Mono"), width(u"DejaVu Sans"));
}

} // namespace
