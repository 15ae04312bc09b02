// DocumentPropertiesW for a printer whose driver names no UI plug-in: the universal driver's own
// devmode (the GPD's defaults, then the driver's private part), the merge of flagged fields,
// the sizing protocol and the failures. The plug-in's part is tested with MOLTRUIP itself.
#include "src/unidrv/driver_devmode.h"

#include "driver_printer.h"

#include <cstring>
#include <vector>

namespace {

const std::string kPapers = "*Feature: PaperSize\n{\n    *DefaultOption: LETTER\n"
                            "    *Option: A4 { *Name: \"A4\" }\n"
                            "    *Option: LETTER { *OptionID: 1 }\n}\n";

class UiDocumentDevMode : public moltr::test::DriverPrinterTest {
protected:
    void SetUp() override { InstallPrinter(kPapers); }

    LONG Call(DEVMODEW* output, DEVMODEW* input, DWORD mode) {
        return DocumentPropertiesW(nullptr, printer_, nullptr, output, input, mode);
    }
    std::vector<BYTE> Defaults() {
        std::vector<BYTE> devmode(static_cast<size_t>(Call(nullptr, nullptr, 0)), 0xEE);
        EXPECT_EQ(Call(reinterpret_cast<DEVMODEW*>(devmode.data()), nullptr, DM_OUT_BUFFER), IDOK);
        return devmode;
    }
};

TEST_F(UiDocumentDevMode, ModeZeroAnswersTheSizeOfPublicPartAndDriverPart) {
    EXPECT_EQ(Call(nullptr, nullptr, 0), static_cast<LONG>(sizeof(DEVMODEW) + 16));
}

TEST_F(UiDocumentDevMode, TheDefaultsComeFromTheGpdWithTheDriversPartBehind) {
    std::vector<BYTE> bytes = Defaults();
    const auto* devmode = reinterpret_cast<const DEVMODEW*>(bytes.data());
    EXPECT_EQ(devmode->dmSpecVersion, DM_SPECVERSION);
    EXPECT_EQ(devmode->dmSize, sizeof(DEVMODEW));
    EXPECT_EQ(devmode->dmDriverExtra, 16);
    EXPECT_EQ(devmode->dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(devmode->dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(devmode->dmCopies, 1);
    EXPECT_EQ(devmode->dmDuplex, DMDUP_SIMPLEX);
    EXPECT_EQ(devmode->dmFields & (DM_PAPERSIZE | DM_ORIENTATION | DM_COPIES | DM_DUPLEX),
              static_cast<DWORD>(DM_PAPERSIZE | DM_ORIENTATION | DM_COPIES | DM_DUPLEX));
    EXPECT_EQ(devmode->dmDefaultSource, DMBIN_FORMSOURCE);
    EXPECT_EQ(std::memcmp(bytes.data() + sizeof(DEVMODEW), "\x10\0\0\0UDRV\x01\0\0\0\0\0\0\0", 16),
              0);
}

TEST_F(UiDocumentDevMode, AMergeTakesTheFlaggedFieldsThatLieInsideTheInput) {
    std::vector<BYTE> input = Defaults();
    auto* in = reinterpret_cast<DEVMODEW*>(input.data());
    in->dmFields = DM_PAPERSIZE | DM_COLLATE;
    in->dmPaperSize = DMPAPER_A4;
    in->dmCollate = DMCOLLATE_TRUE;
    in->dmCopies = 9; // not flagged
    std::vector<BYTE> output(input.size(), 0);
    ASSERT_EQ(Call(reinterpret_cast<DEVMODEW*>(output.data()), in, DM_IN_BUFFER | DM_OUT_BUFFER),
              IDOK);
    const auto* out = reinterpret_cast<const DEVMODEW*>(output.data());
    EXPECT_EQ(out->dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(out->dmCollate, DMCOLLATE_TRUE);
    EXPECT_EQ(out->dmCopies, 1);
    EXPECT_NE(out->dmFields & DM_COLLATE, 0u);
    // An older devmode ending before dmCollate keeps the default, flagged or not.
    in->dmSize = static_cast<WORD>(offsetof(DEVMODEW, dmCollate));
    in->dmDriverExtra = 0;
    ASSERT_EQ(Call(reinterpret_cast<DEVMODEW*>(output.data()), in, DM_IN_BUFFER | DM_OUT_BUFFER),
              IDOK);
    EXPECT_EQ(out->dmCollate, DMCOLLATE_FALSE);
    EXPECT_EQ(out->dmPaperSize, DMPAPER_A4);
}

TEST_F(UiDocumentDevMode, WithoutOutputBufferModeTheInputIsOnlySized) {
    std::vector<BYTE> input = Defaults();
    EXPECT_EQ(Call(nullptr, reinterpret_cast<DEVMODEW*>(input.data()), DM_IN_BUFFER),
              static_cast<LONG>(sizeof(DEVMODEW) + 16));
}

TEST_F(UiDocumentDevMode, FailuresAnswerMinusOneWithTheirError) {
    SetLastError(0);
    EXPECT_EQ(Call(nullptr, nullptr, DM_OUT_BUFFER), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(DocumentPropertiesW(nullptr, nullptr, nullptr, nullptr, nullptr, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    std::u16string missing = u"No Such Printer";
    EXPECT_EQ(DocumentPropertiesW(nullptr, nullptr, moltr::sim::W(missing), nullptr, nullptr, 0),
              -1);
}

TEST(DriverDevModeLayout, ThePluginsPartIsFoundOnlyWhereItsClaimsHold) {
    const BYTE plugin[16] = {16, 0, 0, 0, 'M', 'O', 'L', 'T'};
    DEVMODEW head = {};
    std::vector<BYTE> bytes = moltr::unidrv::ComposeDevmode(head, plugin, sizeof plugin);
    auto* devmode = reinterpret_cast<DEVMODEW*>(bytes.data());
    BYTE* part = bytes.data() + moltr::unidrv::kPluginPartOffset;
    ASSERT_EQ(devmode->dmDriverExtra, 16 + 16);
    const DWORD signature = 'M' | ('O' << 8) | ('L' << 16) | ('T' << 24);
    DWORD found = 0;
    EXPECT_EQ(moltr::unidrv::PluginPart(devmode, signature, &found), part);
    EXPECT_EQ(found, 16u);
    EXPECT_EQ(moltr::unidrv::PluginPart(devmode, signature + 1, &found), nullptr);
    // A part claiming more than the driver-extra bytes hold is no part.
    part[0] = 17;
    EXPECT_EQ(moltr::unidrv::PluginPart(devmode, signature, &found), nullptr);
    EXPECT_EQ(moltr::unidrv::PluginPart(*devmode, &found), nullptr);
    part[0] = 16;
    bytes[sizeof(DEVMODEW) + 4] = 'X';
    EXPECT_EQ(moltr::unidrv::PluginPart(devmode, signature, &found), nullptr);
    EXPECT_EQ(moltr::unidrv::PluginPart(nullptr, signature, &found), nullptr);
}

} // namespace
