// Localised copies of dialog templates in both formats, built from templates laid out by hand.
#include <windows.h>

#include "common/dialog_localizer.h"
#include "common/dialog_template.h"
#include "sim/utf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace moltr::common {
namespace {

// A template as the resource compiler lays it out.
class TemplateBytes {
public:
    TemplateBytes& Word(WORD value) { return Bytes(&value, 2); }
    TemplateBytes& Dword(DWORD value) { return Bytes(&value, 4); }
    TemplateBytes& Text(const char* utf8) {
        std::u16string text = sim::Utf16(utf8);
        Bytes(text.data(), static_cast<DWORD>(text.size() * 2));
        return Word(0);
    }
    TemplateBytes& Ordinal(WORD id) { return Word(0xFFFF).Word(id); }
    TemplateBytes& Align() {
        while (bytes.size() % 4) {
            bytes.push_back(0);
        }
        return *this;
    }
    TemplateBytes& Bytes(const void* data, DWORD size) {
        auto* at = static_cast<const BYTE*>(data);
        bytes.insert(bytes.end(), at, at + size);
        return *this;
    }
    std::vector<BYTE> bytes;
};

constexpr DWORD kStyle = DS_SETFONT | WS_CHILD | WS_CAPTION;

// DLGTEMPLATE with a caption, a font and three items: a string title, an ordinal title (an
// icon) and a string title whose id has no string; the last carries creation data.
std::vector<BYTE> PlainTemplate() {
    TemplateBytes t;
    t.Dword(kStyle).Dword(WS_EX_CONTROLPARENT).Word(3).Word(0).Word(0).Word(200).Word(80);
    t.Word(0).Word(0).Text("Stored caption").Word(8).Text("MS Shell Dlg").Align();
    t.Dword(WS_CHILD | WS_VISIBLE).Dword(0).Word(7).Word(7).Word(80).Word(8).Word(101);
    t.Ordinal(0x82).Text("Stored label").Word(0).Align();
    t.Dword(WS_CHILD | SS_ICON).Dword(0).Word(170).Word(7).Word(20).Word(20).Word(102);
    t.Ordinal(0x82).Ordinal(7).Word(0).Align();
    t.Dword(WS_CHILD).Dword(0).Word(7).Word(30).Word(40).Word(12).Word(103);
    t.Text("MyClass").Text("Stored unnamed").Word(4).Dword(0x04030201);
    return t.bytes;
}

// The same dialog as DLGTEMPLATEEX, with 32-bit control ids and help ids.
std::vector<BYTE> ExtendedTemplate() {
    TemplateBytes t;
    t.Word(1).Word(0xFFFF).Dword(77).Dword(WS_EX_CONTROLPARENT).Dword(kStyle).Word(3);
    t.Word(0).Word(0).Word(200).Word(80);
    t.Word(0).Word(0).Text("Stored caption").Word(8).Word(400).Bytes("\0\1", 2);
    t.Text("MS Shell Dlg").Align();
    t.Dword(11).Dword(0).Dword(WS_CHILD | WS_VISIBLE).Word(7).Word(7).Word(80).Word(8).Dword(101);
    t.Ordinal(0x82).Text("Stored label").Word(0).Align();
    t.Dword(12).Dword(0).Dword(WS_CHILD | SS_ICON).Word(170).Word(7).Word(20).Word(20).Dword(102);
    t.Ordinal(0x82).Ordinal(7).Word(0).Align();
    t.Dword(13).Dword(0).Dword(WS_CHILD).Word(7).Word(30).Word(40).Word(12).Dword(103);
    t.Text("MyClass").Text("Stored unnamed").Word(4).Dword(0x04030201);
    return t.bytes;
}

class FixedTexts final : public TemplateTexts {
public:
    bool Load(UINT id, LPWSTR buffer, UINT size) override {
        asked.push_back(id);
        auto found = texts.find(id);
        if (found == texts.end() || found->second.size() >= size) {
            return false;
        }
        memcpy(buffer, found->second.c_str(), (found->second.size() + 1) * 2);
        return true;
    }
    std::map<UINT, std::u16string> texts = {{500, u"Localised caption"}, {101, u"Label"}};
    std::vector<UINT> asked;
};

std::string Text(const TemplateName& name) {
    WCHAR buffer[256];
    return CopyTemplateText(name, buffer, 256) ? sim::Utf8(buffer) : "<too long>";
}

// Keeps the bytes that the parsed names point into.
struct Parsed {
    std::vector<BYTE> bytes;
    DialogHeader header;
    std::vector<DialogItem> items;
};

bool Parse(std::vector<BYTE> bytes, Parsed* parsed) {
    parsed->bytes = std::move(bytes);
    DialogTemplateReader reader(parsed->bytes.data(), static_cast<DWORD>(parsed->bytes.size()));
    if (!reader.ReadHeader(&parsed->header)) {
        return false;
    }
    parsed->items.resize(parsed->header.count);
    for (DialogItem& item : parsed->items) {
        if (!reader.ReadItem(&item)) {
            return false;
        }
    }
    return true;
}

class TemplateFormats : public ::testing::TestWithParam<bool> {
protected:
    std::vector<BYTE> Source() const { return GetParam() ? ExtendedTemplate() : PlainTemplate(); }

    std::vector<BYTE> Localize(UINT textMode, bool mirror = false, DWORD capacity = 16384) {
        std::vector<BYTE> source = Source();
        std::vector<BYTE> buffer(capacity);
        DWORD used = LocalizeDialogTemplate(source.data(), static_cast<DWORD>(source.size()), 500,
                                            textMode, mirror, texts_, buffer.data(), capacity);
        buffer.resize(used);
        return buffer;
    }

    FixedTexts texts_;
};

TEST_P(TemplateFormats, ReaderSeesEveryField) {
    Parsed parsed;
    ASSERT_TRUE(Parse(Source(), &parsed));
    EXPECT_EQ(parsed.header.extended, GetParam());
    EXPECT_EQ(parsed.header.style, kStyle);
    EXPECT_EQ(parsed.header.exStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
    EXPECT_EQ(parsed.header.cx, 200);
    EXPECT_EQ(Text(parsed.header.caption), "Stored caption");
    EXPECT_EQ(Text(parsed.header.face), "MS Shell Dlg");
    EXPECT_EQ(parsed.header.pointSize, 8);
    EXPECT_EQ(parsed.header.charSet, GetParam() ? 1 : 0);
    ASSERT_EQ(parsed.items.size(), 3u);
    EXPECT_EQ(parsed.items[0].id, 101u);
    EXPECT_TRUE(parsed.items[0].windowClass.ordinal);
    EXPECT_EQ(parsed.items[0].windowClass.id, 0x82);
    EXPECT_TRUE(parsed.items[1].title.ordinal);
    EXPECT_EQ(parsed.items[1].title.id, 7);
    EXPECT_EQ(Text(parsed.items[2].windowClass), "MyClass");
    EXPECT_EQ(parsed.items[2].dataSize, 4);
    EXPECT_EQ(parsed.items[2].helpId, GetParam() ? 13u : 0u);
}

TEST_P(TemplateFormats, TextModeZeroCopiesTheTemplateByteForByte) {
    EXPECT_EQ(Localize(kTemplateTextsStored), Source());
    EXPECT_TRUE(texts_.asked.empty());
}

TEST_P(TemplateFormats, TextModeOneTakesStringsByDialogAndControlIds) {
    Parsed parsed;
    ASSERT_TRUE(Parse(Localize(kTemplateTextsLoaded), &parsed));
    EXPECT_EQ(Text(parsed.header.caption), "Localised caption");
    EXPECT_EQ(Text(parsed.items[0].title), "Label");
    // An ordinal title is no text; an id without a string gets an empty one.
    EXPECT_TRUE(parsed.items[1].title.ordinal);
    EXPECT_EQ(parsed.items[1].title.id, 7);
    EXPECT_EQ(Text(parsed.items[2].title), "");
    EXPECT_EQ(texts_.asked, (std::vector<UINT>{500, 101, 103}));
    // Everything else as stored.
    EXPECT_EQ(Text(parsed.header.face), "MS Shell Dlg");
    EXPECT_EQ(Text(parsed.items[2].windowClass), "MyClass");
    ASSERT_EQ(parsed.items[2].dataSize, 4);
    EXPECT_EQ(memcmp(parsed.items[2].data, "\1\2\3\4", 4), 0);
    EXPECT_EQ(parsed.items[2].y, 30);
}

TEST_P(TemplateFormats, CaptionWithoutStringBecomesEmpty) {
    texts_.texts.erase(500);
    Parsed parsed;
    ASSERT_TRUE(Parse(Localize(kTemplateTextsLoaded), &parsed));
    EXPECT_EQ(Text(parsed.header.caption), "");
}

TEST_P(TemplateFormats, OtherTextModesEmptyEveryTextButOrdinals) {
    Parsed parsed;
    ASSERT_TRUE(Parse(Localize(2), &parsed));
    EXPECT_EQ(Text(parsed.header.caption), "");
    EXPECT_EQ(Text(parsed.items[0].title), "");
    EXPECT_TRUE(parsed.items[1].title.ordinal);
    EXPECT_TRUE(texts_.asked.empty());
}

TEST_P(TemplateFormats, MirroringOnlyChangesTheExtendedFormat) {
    Parsed parsed;
    ASSERT_TRUE(Parse(Localize(kTemplateTextsStored, true), &parsed));
    DWORD expected = WS_EX_CONTROLPARENT | (GetParam() ? WS_EX_LAYOUTRTL : 0);
    EXPECT_EQ(parsed.header.exStyle, expected);
    for (const DialogItem& item : parsed.items) {
        EXPECT_EQ(item.exStyle, 0u);
    }
}

TEST_P(TemplateFormats, CopyThatDoesNotFitIsRefused) {
    DWORD size = static_cast<DWORD>(Source().size());
    EXPECT_EQ(Localize(kTemplateTextsStored, false, size).size(), size);
    EXPECT_TRUE(Localize(kTemplateTextsStored, false, size - 1).empty());
}

TEST_P(TemplateFormats, EveryTruncationOfTheSourceIsRefusedWithoutReadingPastIt) {
    std::vector<BYTE> source = Source();
    for (size_t size = 0; size < source.size(); ++size) {
        // A copy of exactly `size` bytes on the heap, so that a read past it is caught.
        std::vector<BYTE> cut(source.begin(), source.begin() + size);
        std::vector<BYTE> buffer(16384);
        EXPECT_EQ(LocalizeDialogTemplate(cut.data(), static_cast<DWORD>(size), 500, 1, false,
                                         texts_, buffer.data(), 16384),
                  0u)
            << size;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, TemplateFormats, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Extended" : "Plain"; });

TEST(TemplateText, TextThatDoesNotFitTheBufferIsRefused) {
    std::u16string text = u"abc";
    TemplateName name;
    name.text = reinterpret_cast<const BYTE*>(text.data());
    name.length = 3;
    WCHAR buffer[4];
    EXPECT_TRUE(CopyTemplateText(name, buffer, 4));
    EXPECT_EQ(sim::Utf8(buffer), "abc");
    EXPECT_FALSE(CopyTemplateText(name, buffer, 3));
}

} // namespace
} // namespace moltr::common
