// DeviceCapabilitiesW on a printer of the family: the plug-in answers the paper extents from its
// paper-limit table as POINTS in tenths of a millimetre and names the first bin; the driver
// answers the paper lists from the GPD.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <vector>
#include "uiplugin/ui_module.h"
#include "uiplugin/ui_printer.h"

namespace moltr::test {
namespace {

constexpr size_t kBinNameChars = 24;

struct Extent {
    int x;
    int y;
};

Extent Answer(std::u16string& device, WORD capability) {
    int result = DeviceCapabilitiesW(sim::W(device), nullptr, capability, nullptr, nullptr);
    EXPECT_NE(result, -1);
    return {static_cast<SHORT>(result & 0xFFFF), static_cast<SHORT>((result >> 16) & 0xFFFF)};
}

std::string Entry(const std::vector<WCHAR>& names, size_t index) {
    return sim::Utf8(names.data() + index * kBinNameChars);
}

TEST(DeviceCapabilities, ExtentsOfAFamilyModelComeFromItsRow) {
    UiPrinterSetup setup;
    setup.name = u"MOLTR ColorLaser 1100 PCL5c"; // the first model of the table
    UiPrinter printer(setup);
    Extent minimum = Answer(printer.name(), DC_MINEXTENT);
    EXPECT_EQ(minimum.x, 980);  // 98000 um wide at least
    EXPECT_EQ(minimum.y, 1480); // 148000 um long at least
    Extent maximum = Answer(printer.name(), DC_MAXEXTENT);
    EXPECT_EQ(maximum.x, 2160);
    EXPECT_EQ(maximum.y, 2970);
}

TEST(DeviceCapabilities, AnyOtherDeviceGetsThePlainFallBackRow) {
    UiPrinter printer;
    Extent minimum = Answer(printer.name(), DC_MINEXTENT);
    EXPECT_EQ(minimum.x, 762);
    EXPECT_EQ(minimum.y, 1270);
    Extent maximum = Answer(printer.name(), DC_MAXEXTENT);
    EXPECT_EQ(maximum.x, 2160);
    EXPECT_EQ(maximum.y, 3556);
}

TEST(DeviceCapabilities, TheFirstBinIsNamedByThePlugin) {
    UiPrinter printer;
    int count = DeviceCapabilitiesW(sim::W(printer.name()), nullptr, DC_BINNAMES, nullptr, nullptr);
    ASSERT_EQ(count, 7);
    std::vector<WCHAR> names(count * kBinNameChars, 0xCDCD);
    ASSERT_EQ(
        DeviceCapabilitiesW(sim::W(printer.name()), nullptr, DC_BINNAMES, names.data(), nullptr),
        7);
    // With more than one bin the first one selects automatically.
    EXPECT_EQ(Entry(names, 0), "Automatically Select");
    EXPECT_EQ(Entry(names, 1), "MANUAL");
}

// The plug-in called as the driver calls it, with the driver's own count of bins as dwOld.
TEST(DeviceCapabilities, ThePluginNamesASingleBinThePrintersDefaultAndWritesNothingForNone) {
    UiPrinter printer;
    UiModule module;
    IPrintOemUI2* plugin = module.CreatePlugin();
    ASSERT_NE(plugin, nullptr);
    std::vector<WCHAR> names(2 * kBinNameChars, 0xCDCD);
    DWORD result = 1;
    ASSERT_EQ(plugin->DeviceCapabilities(nullptr, printer.handle(), sim::W(printer.name()),
                                         DC_BINNAMES, names.data(), nullptr, nullptr, 1, &result),
              S_OK);
    EXPECT_EQ(result, 1u);
    EXPECT_EQ(Entry(names, 0), "Printer Default");
    // Only the first slot is the plug-in's.
    EXPECT_EQ(names[kBinNameChars], 0xCDCD);
    // An application that sized its buffer for no bins finds it untouched.
    std::vector<WCHAR> sentinel(kBinNameChars, 0xCDCD);
    result = 0;
    EXPECT_EQ(plugin->DeviceCapabilities(nullptr, printer.handle(), sim::W(printer.name()),
                                         DC_BINNAMES, sentinel.data(), nullptr, nullptr, 0,
                                         &result),
              E_NOTIMPL);
    for (WCHAR c : sentinel) {
        ASSERT_EQ(c, 0xCDCD);
    }
    EXPECT_EQ(result, 0u);
    // Capabilities the plug-in does not answer are left to the driver.
    EXPECT_EQ(plugin->DeviceCapabilities(nullptr, printer.handle(), sim::W(printer.name()),
                                         DC_PAPERS, nullptr, nullptr, nullptr, 20, &result),
              E_NOTIMPL);
    plugin->Release();
}

TEST(DeviceCapabilities, ThePaperListsStayTheDrivers) {
    UiPrinter printer;
    int count = DeviceCapabilitiesW(sim::W(printer.name()), nullptr, DC_PAPERS, nullptr, nullptr);
    ASSERT_GT(count, 0);
    std::vector<WORD> papers(count);
    ASSERT_EQ(DeviceCapabilitiesW(sim::W(printer.name()), nullptr, DC_PAPERS,
                                  reinterpret_cast<LPWSTR>(papers.data()), nullptr),
              count);
    EXPECT_EQ(papers[0], DMPAPER_LETTER);
}

} // namespace
} // namespace moltr::test
