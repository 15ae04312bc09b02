// The devmode applications get from DocumentPropertiesW on a printer of the family: the public
// defaults with the plug-in's paper size and TrueType option, the driver's private part and the
// plug-in's part, and the merge of an application's changes through the plug-in.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "common/drv_settings.h"
#include "src/unidrv/driver_devmode.h"
#include "uiplugin/ui_printer.h"

namespace moltr::test {
namespace {

// The public part, the driver's 16-byte part (size, "UDRV", version, reserved), then the
// plug-in's part.
constexpr size_t kPluginOffset = sizeof(DEVMODEW) + 16;

class DocumentDevModeTest : public ::testing::Test {
protected:
    std::vector<BYTE> Defaults() {
        LONG size = DocumentPropertiesW(nullptr, printer_.handle(), sim::W(printer_.name()),
                                        nullptr, nullptr, 0);
        EXPECT_GT(size, static_cast<LONG>(kPluginOffset));
        std::vector<BYTE> devmode(size > 0 ? static_cast<size_t>(size) : 0, 0xCD);
        EXPECT_EQ(DocumentPropertiesW(nullptr, printer_.handle(), sim::W(printer_.name()),
                                      Public(devmode), nullptr, DM_OUT_BUFFER),
                  IDOK);
        return devmode;
    }
    std::vector<BYTE> Merged(std::vector<BYTE>& input) {
        std::vector<BYTE> output(input.size(), 0xCD);
        EXPECT_EQ(DocumentPropertiesW(nullptr, printer_.handle(), sim::W(printer_.name()),
                                      Public(output), Public(input), DM_IN_BUFFER | DM_OUT_BUFFER),
                  IDOK);
        return output;
    }
    static DEVMODEW* Public(std::vector<BYTE>& devmode) {
        return reinterpret_cast<DEVMODEW*>(devmode.data());
    }
    template <typename Value> Value Private(std::vector<BYTE>& devmode, const WCHAR* name) {
        Value value{};
        common::IDrvSettings* settings = nullptr;
        EXPECT_EQ(common::CreateDrvSettings(common::kModeDocument, printer_.handle(), &settings),
                  S_OK);
        if (settings != nullptr) {
            EXPECT_EQ(settings->GetValue(devmode.data() + kPluginOffset, name, &value, sizeof value,
                                         common::kLayoutDevMode),
                      S_OK);
            settings->Release();
        }
        return value;
    }

    UiPrinter printer_;
};

TEST_F(DocumentDevModeTest, TheDefaultsCarryThePluginsPartBehindTheDriversOwn) {
    std::vector<BYTE> devmode = Defaults();
    const DEVMODEW* header = Public(devmode);
    EXPECT_EQ(header->dmSize, sizeof(DEVMODEW));
    EXPECT_EQ(header->dmSize + header->dmDriverExtra, devmode.size());
    EXPECT_EQ(std::memcmp(devmode.data() + sizeof(DEVMODEW) + 4, "UDRV", 4), 0);
    DWORD size = 0;
    std::memcpy(&size, devmode.data() + kPluginOffset, sizeof size);
    EXPECT_EQ(size, devmode.size() - kPluginOffset);
    EXPECT_EQ(std::memcmp(devmode.data() + kPluginOffset + 4, "MOLT", 4), 0);
    // The renderer, which receives this devmode with the job, finds the same part.
    DWORD found = 0;
    EXPECT_EQ(unidrv::PluginPart(*header, &found), devmode.data() + kPluginOffset);
    EXPECT_EQ(found, size);
    EXPECT_EQ(sim::Utf8(header->dmDeviceName), sim::Utf8(printer_.name()));
}

TEST_F(DocumentDevModeTest, ThePluginSetsTheLocalesPaperAndDownloadsTrueType) {
    // The machine's system locale is 1033: Letter.
    std::vector<BYTE> devmode = Defaults();
    const DEVMODEW* header = Public(devmode);
    EXPECT_EQ(header->dmPaperSize, DMPAPER_LETTER);
    EXPECT_EQ(header->dmTTOption, DMTT_DOWNLOAD);
    EXPECT_NE(header->dmFields & DM_TTOPTION, 0u);
    EXPECT_NE(header->dmFields & DM_PAPERSIZE, 0u);
    sim::MachineConfig config = sim::CurrentConfig();
    config.systemLocale = 1031;
    ASSERT_TRUE(sim::UpdateConfig(config));
    std::vector<BYTE> german = Defaults();
    EXPECT_EQ(Public(german)->dmPaperSize, DMPAPER_A4);
}

TEST_F(DocumentDevModeTest, AMergeTakesOnlyTheFieldsTheInputFlags) {
    std::vector<BYTE> input = Defaults();
    DEVMODEW* header = Public(input);
    header->dmFields = DM_COPIES;
    header->dmCopies = 3;
    header->dmOrientation = DMORIENT_LANDSCAPE; // not flagged: the default stays
    std::vector<BYTE> output = Merged(input);
    EXPECT_EQ(Public(output)->dmCopies, 3);
    EXPECT_EQ(Public(output)->dmOrientation, DMORIENT_PORTRAIT);
}

TEST_F(DocumentDevModeTest, ThePluginsPartOfTheInputIsMergedAndAForeignOneIgnored) {
    std::vector<BYTE> input = Defaults();
    BYTE pageOrder = Private<BYTE>(input, L"_PAGEORDER");
    BYTE changed = pageOrder == 0 ? 1 : 0;
    common::IDrvSettings* settings = nullptr;
    ASSERT_EQ(common::CreateDrvSettings(common::kModeDocument, printer_.handle(), &settings), S_OK);
    ASSERT_EQ(settings->SetValue(input.data() + kPluginOffset, L"_PAGEORDER", &changed,
                                 common::kLayoutDevMode),
              S_OK);
    settings->Release();
    std::vector<BYTE> output = Merged(input);
    EXPECT_EQ(Private<BYTE>(output, L"_PAGEORDER"), changed);
    // Another plug-in's part (another signature) leaves the defaults.
    std::memcpy(input.data() + kPluginOffset + 4, "XXXX", 4);
    output = Merged(input);
    EXPECT_EQ(Private<BYTE>(output, L"_PAGEORDER"), pageOrder);
}

TEST_F(DocumentDevModeTest, BadCallsAnswerMinusOne) {
    SetLastError(0);
    EXPECT_EQ(
        DocumentPropertiesW(nullptr, printer_.handle(), nullptr, nullptr, nullptr, DM_OUT_BUFFER),
        -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    std::u16string missing = u"No Such Printer";
    EXPECT_EQ(DocumentPropertiesW(nullptr, nullptr, sim::W(missing), nullptr, nullptr, 0), -1);
    // A header too short to hold dmFields is refused, not read beyond.
    std::vector<BYTE> output = Defaults();
    std::vector<BYTE> shortInput(offsetof(DEVMODEW, dmFields), 0);
    Public(shortInput)->dmSize = static_cast<WORD>(shortInput.size());
    EXPECT_EQ(DocumentPropertiesW(nullptr, printer_.handle(), nullptr, Public(output),
                                  Public(shortInput), DM_IN_BUFFER | DM_OUT_BUFFER),
              -1);
}

TEST_F(DocumentDevModeTest, WithoutAHandleTheDeviceNameIsOpened) {
    LONG size = DocumentPropertiesW(nullptr, nullptr, sim::W(printer_.name()), nullptr, nullptr, 0);
    EXPECT_EQ(size, static_cast<LONG>(Defaults().size()));
}

} // namespace
} // namespace moltr::test
