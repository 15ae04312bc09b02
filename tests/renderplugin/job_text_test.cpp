// The texts that the job header takes from the job into quoted PJL and EJL values.
#include <gtest/gtest.h>
#include "renderplugin/job_text.h"
#include "sim/utf.h"

namespace moltr::render {
namespace {

std::string Quoted(LPCWSTR source, DWORD limit = kJobTextRoom) {
    WCHAR value[kJobTextRoom];
    QuotedValue(source, limit, value);
    return sim::Utf8(value);
}

TEST(QuotedJobText, OrdinaryNamesAreWrittenUnchanged) {
    EXPECT_EQ(Quoted(L"Quarterly report.docx"), "Quarterly report.docx");
    EXPECT_EQ(Quoted(L"\x00c4rger & M\x00fcller"), "\xc3\x84rger & M\xc3\xbcller");
    EXPECT_EQ(Quoted(nullptr), "");
}

TEST(QuotedJobText, QuotesControlsAndEscapesBecomeBlanks) {
    // A name that would otherwise close the value and start a PJL command of its own.
    EXPECT_EQ(Quoted(L"a\"\n@PJL SET RET=OFF\x001b%-12345X"), "a  @PJL SET RET=OFF %-12345X");
    EXPECT_EQ(Quoted(L"tab\there\x007f"), "tab here ");
}

TEST(QuotedJobText, IsCutToItsLimit) {
    EXPECT_EQ(Quoted(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 16), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(Quoted(L"12345678", 4), "1234");
    std::u16string longName(400, u'x');
    EXPECT_EQ(Quoted(sim::W(longName)).size(), kJobTextRoom - 1);
}

TEST(QuotedJobText, TheApplicationPartEndsBeforeTheFirstHyphen) {
    EXPECT_EQ(ApplicationPartLength(L"Editor - notes.txt"), 7u); // "Editor " with its blank
    EXPECT_EQ(ApplicationPartLength(L"notes.txt"), 0u);
    EXPECT_EQ(ApplicationPartLength(L"-notes - Editor"), 0u);
    EXPECT_EQ(ApplicationPartLength(L"a-b-c"), 1u);
}

TEST(SubmissionTimeZone, PlusAheadOfUtcMinusAtAndBehindIt) {
    struct Case {
        LONG bias;
        const char* sign;
        int hours;
    };
    const Case cases[] = {
        {-540, "+", 9}, {0, "-", 0}, {300, "-", 5}, {-330, "+", 5}, {-30, "-", 0}};
    for (const Case& c : cases) {
        ZoneOffset offset = SubmissionZone(c.bias);
        EXPECT_EQ(sim::Utf8(offset.sign), c.sign) << c.bias;
        EXPECT_EQ(offset.hours, c.hours) << c.bias;
    }
}

} // namespace
} // namespace moltr::render
