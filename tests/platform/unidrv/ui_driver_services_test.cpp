// The universal driver's services to its UI plug-in (IPrintOemDriverUI) answered from a GPD and a
// devmode: DrvGetDriverSetting's sizing protocol, the driver object every call must carry, and
// the checks of the other two methods.
#include "src/unidrv/ui_driver_services.h"

#include <gtest/gtest.h>
#include <string>
#include "src/unidrv/gpd_reader.h"

namespace {

using moltr::unidrv::UiDriverServices;

moltr::unidrv::GpdModel Model() {
    moltr::unidrv::GpdReadResult read = moltr::unidrv::ReadGpdText(
        "*Feature: Orientation\n{\n    *DefaultOption: PORTRAIT\n"
        "    *Option: PORTRAIT { }\n    *Option: LANDSCAPE_CC270 { }\n}\n"
        "*Feature: Halftone\n{\n    *DefaultOption: HT_PATSIZE_AUTO\n"
        "    *Option: HT_PATSIZE_AUTO { }\n}\n",
        "TEST.GPD", nullptr);
    EXPECT_TRUE(read.ok) << read.error.message;
    return read.model;
}

class UiDriverServicesTest : public ::testing::Test {
protected:
    UiDriverServicesTest() : model_(Model()), services_(new UiDriverServices(model_)) {}
    ~UiDriverServicesTest() override { services_->Release(); }

    moltr::unidrv::GpdModel model_;
    UiDriverServices* services_;
};

TEST_F(UiDriverServicesTest, AFeatureAnswersTheSelectedOptionsKeyword) {
    char output[32];
    DWORD needed = 0, returned = 0;
    ASSERT_EQ(services_->DrvGetDriverSetting(services_->uiObject(), "Halftone", output,
                                             sizeof output, &needed, &returned),
              S_OK);
    EXPECT_EQ(std::string(output), "HT_PATSIZE_AUTO");
    EXPECT_EQ(needed, 16u);
    EXPECT_EQ(returned, 1u);
    // The devmode the driver works on chooses the option.
    DEVMODEW devmode = {};
    devmode.dmSize = sizeof devmode;
    devmode.dmFields = DM_ORIENTATION;
    devmode.dmOrientation = DMORIENT_LANDSCAPE;
    services_->SetDevMode(&devmode);
    ASSERT_EQ(services_->DrvGetDriverSetting(services_->uiObject(), "Orientation", output,
                                             sizeof output, &needed, &returned),
              S_OK);
    EXPECT_EQ(std::string(output), "LANDSCAPE_CC270");
}

TEST_F(UiDriverServicesTest, ABufferTooSmallAnswersTheSizeNeeded) {
    char output[8] = "xxxxxxx";
    DWORD needed = 0, returned = 7;
    SetLastError(0);
    EXPECT_EQ(services_->DrvGetDriverSetting(services_->uiObject(), "Halftone", output,
                                             sizeof output, &needed, &returned),
              E_FAIL);
    EXPECT_EQ(needed, 16u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(output), "xxxxxxx");
    EXPECT_EQ(services_->DrvGetDriverSetting(services_->uiObject(), "Halftone", nullptr, 0, &needed,
                                             &returned),
              E_FAIL);
    EXPECT_EQ(needed, 16u);
}

TEST_F(UiDriverServicesTest, CallsWithoutTheDriversObjectOrAKnownFeatureFail) {
    char output[32];
    DWORD needed = 0, returned = 0;
    OEMUIOBJ other = {sizeof(OEMUIOBJ), nullptr};
    EXPECT_EQ(services_->DrvGetDriverSetting(&other, "Halftone", output, sizeof output, &needed,
                                             &returned),
              E_FAIL);
    EXPECT_EQ(services_->DrvGetDriverSetting(services_->uiObject(), "Staple", output, sizeof output,
                                             &needed, &returned),
              E_FAIL);
    // The OEMGDS_ constants are values, not keywords; this driver keeps none of them.
    EXPECT_EQ(services_->DrvGetDriverSetting(services_->uiObject(), reinterpret_cast<PCSTR>(1),
                                             output, sizeof output, &needed, &returned),
              E_NOTIMPL);
}

TEST_F(UiDriverServicesTest, RegistryAndItemUpdatesAreCheckedAgainstTheGpd) {
    EXPECT_EQ(services_->DrvUpgradeRegistrySetting(nullptr, "Orientation", "PORTRAIT"), S_OK);
    EXPECT_EQ(services_->DrvUpgradeRegistrySetting(nullptr, "Orientation", "SIDEWAYS"), E_FAIL);
    EXPECT_EQ(services_->DrvUpgradeRegistrySetting(nullptr, "Staple", "PORTRAIT"), E_FAIL);
    OPTITEM item = {};
    EXPECT_EQ(services_->DrvUpdateUISetting(services_->uiObject(), &item, 0, OEMCUIP_DOCPROP),
              S_OK);
    EXPECT_EQ(services_->DrvUpdateUISetting(services_->uiObject(), &item, 0, 3), E_FAIL);
    EXPECT_EQ(services_->DrvUpdateUISetting(services_->uiObject(), nullptr, 0, OEMCUIP_PRNPROP),
              E_FAIL);
}

TEST_F(UiDriverServicesTest, QueryInterfaceAnswersTheDriverUiInterfaceOnly) {
    void* object = nullptr;
    ASSERT_EQ(services_->QueryInterface(IID_IPrintOemDriverUI, &object), S_OK);
    EXPECT_EQ(object, static_cast<void*>(static_cast<IPrintOemDriverUI*>(services_)));
    services_->Release();
    EXPECT_EQ(services_->QueryInterface(IID_IPrintOemDriverUni, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}

} // namespace
