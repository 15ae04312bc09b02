// DrvDeviceCapabilities with DC_PAPERS and DC_PAPERNAMES answered from the printer's GPD: the
// sizing protocol, the entries written, and the failures.
#include "src/unidrv/paper_capabilities.h"

#include "driver_printer.h"

#include <vector>

namespace {

constexpr char kLongName[] =
    "A paper size whose name is far longer than the sixty-three characters "
    "an entry holds";

class PaperCapabilities : public moltr::test::DriverPrinterTest {
protected:
    void Install(const std::string& gpd) { InstallPrinter(gpd); }

    DWORD Ask(WORD capability, void* output) {
        return DrvDeviceCapabilities(printer_, nullptr, capability, output, nullptr);
    }
};

const std::string kThreePapers = std::string("*Feature: PaperSize\n{\n"
                                             "    *Option: A4 { *Name: \"A4 210 x 297 mm\" }\n"
                                             "    *Option: LETTER { *OptionID: 1 }\n"
                                             "    *Option: BIG { *Name: \"") +
                                 kLongName + "\" }\n}\n";

TEST_F(PaperCapabilities, NullOutputAnswersTheCountAlone) {
    Install(kThreePapers);
    EXPECT_EQ(Ask(DC_PAPERS, nullptr), 3u);
    EXPECT_EQ(Ask(DC_PAPERNAMES, nullptr), 3u);
}

TEST_F(PaperCapabilities, PapersAreOneCodePerSizeInOptionOrder) {
    Install(kThreePapers);
    std::vector<WORD> codes(5, 0xBEEF);
    EXPECT_EQ(Ask(DC_PAPERS, codes.data() + 1), 3u);
    EXPECT_EQ(codes, (std::vector<WORD>{0xBEEF, DMPAPER_A4, DMPAPER_LETTER, DMPAPER_USER, 0xBEEF}));
}

TEST_F(PaperCapabilities, PaperNamesAreSixtyFourCharactersEachCutAndPadded) {
    Install(kThreePapers);
    std::vector<WCHAR> names(3 * 64 + 2, 0x7777);
    EXPECT_EQ(Ask(DC_PAPERNAMES, names.data() + 1), 3u);
    EXPECT_EQ(names.front(), 0x7777);
    EXPECT_EQ(names.back(), 0x7777);
    const WCHAR* first = names.data() + 1;
    EXPECT_EQ(moltr::sim::Utf8(first), "A4 210 x 297 mm");
    for (size_t i = 15; i < 64; ++i) {
        EXPECT_EQ(first[i], 0) << i;
    }
    EXPECT_EQ(moltr::sim::Utf8(first + 64), "LETTER");
    EXPECT_EQ(moltr::sim::Utf8(first + 128), std::string(kLongName).substr(0, 63));
}

TEST_F(PaperCapabilities, AModelWithoutPaperSizesHasNone) {
    Install("*ModelName: \"Plain\"\n");
    EXPECT_EQ(Ask(DC_PAPERS, nullptr), 0u);
}

TEST_F(PaperCapabilities, OtherCapabilitiesBadHandlesAndBadGpdsFail) {
    Install(kThreePapers);
    EXPECT_EQ(Ask(DC_BINS, nullptr), GDI_ERROR);
    EXPECT_EQ(DrvDeviceCapabilities(nullptr, nullptr, DC_PAPERS, nullptr, nullptr), GDI_ERROR);
    RemovePrinter();
    Install("*Feature: PaperSize\n{\n");
    SetLastError(0);
    EXPECT_EQ(Ask(DC_PAPERS, nullptr), GDI_ERROR);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
}

// Applications reach the driver through the spooler's DeviceCapabilitiesW by printer name.
TEST_F(PaperCapabilities, DeviceCapabilitiesAsksThePrintersDriver) {
    Install(kThreePapers);
    std::vector<WORD> codes(4, 0xBEEF);
    EXPECT_EQ(
        DeviceCapabilitiesW(moltr::sim::W(kPrinterName), nullptr, DC_PAPERS, nullptr, nullptr), 3);
    EXPECT_EQ(DeviceCapabilitiesW(moltr::sim::W(kPrinterName), nullptr, DC_PAPERS,
                                  reinterpret_cast<LPWSTR>(codes.data()), nullptr),
              3);
    EXPECT_EQ(codes, (std::vector<WORD>{DMPAPER_A4, DMPAPER_LETTER, DMPAPER_USER, 0xBEEF}));
    EXPECT_EQ(DeviceCapabilitiesW(moltr::sim::W(kPrinterName), nullptr, DC_BINS, nullptr, nullptr),
              -1);
    SetLastError(0);
    EXPECT_EQ(DeviceCapabilitiesW(moltr::sim::W(u"No Such Printer"), nullptr, DC_PAPERS, nullptr,
                                  nullptr),
              -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
}

} // namespace
