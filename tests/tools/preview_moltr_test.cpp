// `moltr preview`: the page preview of a printer's devmode written as a PNG of the size asked for,
// following the --set changes, with one-line errors and status 2 for bad input.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "moltr_run.h"
#include "png_picture.h"
#include "sim/machine.h"

namespace moltr::test {
namespace {

constexpr COLORREF kPageNumberBlue = RGB(0, 0, 255);

class MoltrPreview : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Moltr("printer add Sample").status, 0); }
    std::string File(const std::string& name) const { return machine_.root() + "/" + name; }
    // The preview with the given arguments after the printer's name, read back.
    std::optional<Picture> Preview(const std::string& name, const std::string& arguments = "") {
        const MoltrRun run = Moltr("preview Sample -o " + File(name) + " " + arguments);
        EXPECT_EQ(run.status, 0) << arguments;
        return ReadPng(File(name));
    }
    sim::TestMachine machine_;
};

// The pixels that differ between two pictures of one size.
size_t Changed(const Picture& a, const Picture& b) {
    size_t changed = 0;
    for (size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); i += 3) {
        changed +=
            a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]
                ? 1
                : 0;
    }
    return changed;
}

TEST_F(MoltrPreview, TheDefaultPictureIs400By400AndTheOutputNamesIt) {
    const MoltrRun run = Moltr("preview Sample -o " + File("one.png"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, File("one.png") + ": 400 x 400\n");
    const std::optional<Picture> picture = ReadPng(File("one.png"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 400u);
    EXPECT_EQ(picture->height, 400u);
    // The control's face around a white sheet; the first page's letter E in red.
    EXPECT_EQ(picture->At(1, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(picture->At(200, 40), RGB(255, 255, 255));
    EXPECT_GT(picture->PixelsOf(RGB(255, 0, 0)), 100u);
}

TEST_F(MoltrPreview, TheSizeIsTheControls) {
    const std::optional<Picture> picture = Preview("wide.png", "--size 300x200");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 300u);
    EXPECT_EQ(picture->height, 200u);
}

TEST_F(MoltrPreview, SetChangesTheLayoutAndTheWatermark) {
    const std::optional<Picture> plain = Preview("plain.png");
    const std::optional<Picture> fourUp = Preview("four.png", "--set _NUP_PAGES=2");
    const std::optional<Picture> marked = Preview("marked.png", "--set _WMK_ENABLED=1");
    ASSERT_TRUE(plain && fourUp && marked);
    // Four page numbers in blue beside the pie's blue slice.
    EXPECT_GT(fourUp->PixelsOf(kPageNumberBlue), plain->PixelsOf(kPageNumberBlue) / 4 + 4 * 100);
    EXPECT_GT(Changed(*plain, *marked), 200u);
    // A landscape sheet is wider and lower: the face shows above it, the sheet beside.
    const std::optional<Picture> turned = Preview("turned.png", "--set dmOrientation=2");
    ASSERT_TRUE(turned);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_NE(plain->At(200, 40), face);
    EXPECT_EQ(turned->At(200, 40), face);
    EXPECT_EQ(plain->At(40, 200), face);
    EXPECT_NE(turned->At(40, 200), face);
}

TEST_F(MoltrPreview, BadInputIsOneLineAndStatusTwo) {
    const char* bad[] = {
        "preview Nobody -o x.png",
        "preview Sample",
        "preview Sample -o x.png --size 0x10",
        "preview Sample -o x.png --size 10x5000",
        "preview Sample -o x.png --size ax",
        "preview Sample -o x.png --set _NO_SUCH_FIELD=1",
        "preview Sample -o x.png --bogus",
        "preview Sample -o /no/such/folder/x.png",
    };
    for (const char* arguments : bad) {
        EXPECT_EQ(Moltr(arguments).status, 2) << arguments;
        const std::string error = Moltr(std::string(arguments) + " 2>&1 | cat").output;
        EXPECT_EQ(error.rfind("moltr: ", 0), 0u) << arguments << ": " << error;
        EXPECT_EQ(error.find('\n'), error.size() - 1) << arguments << ": " << error;
    }
}

TEST_F(MoltrPreview, HelpDescribesTheCommand) {
    const MoltrRun run = Moltr("preview --help");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.rfind("usage: moltr preview PRINTER", 0), 0u);
}

} // namespace
} // namespace moltr::test
