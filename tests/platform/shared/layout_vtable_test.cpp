// The universal driver calls its plug-ins by vtable slot, so every plug-in interface must put its
// methods in the driver's order. Each mock method answers its own slot number; the tests call
// every slot through the raw vtable, with the argument types of the method expected there.
#include <prcomoem.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace {

template <typename T> T ZeroArg() {
    if constexpr (std::is_reference_v<T>) {
        static std::remove_cvref_t<T> zero{};
        return zero;
    } else {
        return T{};
    }
}

// Calls slot `slot` of the object's vtable as a method of the given member's type. On the host's
// ABI a vtable entry is a plain function taking the object first.
template <typename C, typename R, typename... A>
uint64_t CallSlot(R (STDMETHODCALLTYPE C::*)(A...), void* object, size_t slot) {
    using Entry = R(STDMETHODCALLTYPE*)(void*, A...);
    void** vtable = *static_cast<void***>(object);
    return static_cast<uint64_t>(reinterpret_cast<Entry>(vtable[slot])(object, ZeroArg<A>()...));
}

// Expects that slot n holds the n-th of the given methods.
template <typename... M> void ExpectSlots(void* object, M... methods) {
    size_t slot = 0;
    (
        [&] {
            EXPECT_EQ(CallSlot(methods, object, slot), slot) << "slot " << slot;
            ++slot;
        }(),
        ...);
}

#define MOCK_IUNKNOWN                                                                              \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override {                            \
        return 0;                                                                                  \
    }                                                                                              \
    ULONG STDMETHODCALLTYPE AddRef() override {                                                    \
        return 1;                                                                                  \
    }                                                                                              \
    ULONG STDMETHODCALLTYPE Release() override {                                                   \
        return 2;                                                                                  \
    }

struct MockUI final : IPrintOemUI2 {
    MOCK_IUNKNOWN
    STDMETHODIMP GetInfo(DWORD, PVOID, DWORD, PDWORD) override { return 3; }
    STDMETHODIMP DevMode(DWORD, POEMDMPARAM) override { return 4; }
    STDMETHODIMP PublishDriverInterface(IUnknown*) override { return 5; }
    STDMETHODIMP CommonUIProp(DWORD, POEMCUIPPARAM) override { return 6; }
    STDMETHODIMP DocumentPropertySheets(PPROPSHEETUI_INFO, LPARAM) override { return 7; }
    STDMETHODIMP DevicePropertySheets(PPROPSHEETUI_INFO, LPARAM) override { return 8; }
    STDMETHODIMP DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) override {
        return 9;
    }
    STDMETHODIMP DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD,
                                    DWORD*) override {
        return 10;
    }
    STDMETHODIMP UpgradePrinter(DWORD, PBYTE) override { return 11; }
    STDMETHODIMP PrinterEvent(PWSTR, INT, DWORD, LPARAM) override { return 12; }
    STDMETHODIMP DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override { return 13; }
    STDMETHODIMP QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*,
                                   FLONG*) override {
        return 14;
    }
    STDMETHODIMP FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override { return 15; }
    STDMETHODIMP UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override { return 16; }
    STDMETHODIMP QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) override { return 17; }
    STDMETHODIMP HideStandardUI(DWORD) override { return 18; }
    STDMETHODIMP DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID, PINT) override {
        return 19;
    }
};

struct MockTicketProvider final : IPrintOemPrintTicketProvider {
    MOCK_IUNKNOWN
    STDMETHODIMP GetSupportedVersions(HANDLE, INT*[], INT*) override { return 3; }
    STDMETHODIMP BindPrinter(HANDLE, INT, POEMPTOPTS, INT*, INT*, BSTR**) override { return 4; }
    STDMETHODIMP PublishPrintTicketHelper(IUnknown*) override { return 5; }
    STDMETHODIMP QueryDeviceDefaultNamespace(BSTR*) override { return 6; }
    STDMETHODIMP ConvertPrintTicketToDevMode(IXMLDOMDocument2*, ULONG, PDEVMODEW, ULONG,
                                             PVOID) override {
        return 7;
    }
    STDMETHODIMP ConvertDevModeToPrintTicket(ULONG, PDEVMODEW, ULONG, PVOID,
                                             IXMLDOMDocument2*) override {
        return 8;
    }
    STDMETHODIMP CompletePrintCapabilities(IXMLDOMDocument2*, IXMLDOMDocument2*) override {
        return 9;
    }
    STDMETHODIMP ExpandIntentOptions(IXMLDOMDocument2*) override { return 10; }
    STDMETHODIMP ValidatePrintTicket(IXMLDOMDocument2*) override { return 11; }
};

struct MockUni final : IPrintOemUni3 {
    MOCK_IUNKNOWN
    STDMETHODIMP GetInfo(DWORD, PVOID, DWORD, PDWORD) override { return 3; }
    STDMETHODIMP DevMode(DWORD, POEMDMPARAM) override { return 4; }
    STDMETHODIMP EnableDriver(DWORD, DWORD, PDRVENABLEDATA) override { return 5; }
    STDMETHODIMP DisableDriver() override { return 6; }
    STDMETHODIMP EnablePDEV(PDEVOBJ, PWSTR, ULONG, HSURF*, ULONG, GDIINFO*, ULONG, DEVINFO*,
                            DRVENABLEDATA*, PDEVOEM*) override {
        return 7;
    }
    STDMETHODIMP DisablePDEV(PDEVOBJ) override { return 8; }
    STDMETHODIMP ResetPDEV(PDEVOBJ, PDEVOBJ) override { return 9; }
    STDMETHODIMP PublishDriverInterface(IUnknown*) override { return 10; }
    STDMETHODIMP GetImplementedMethod(PSTR) override { return 11; }
    STDMETHODIMP DriverDMS(PVOID, PVOID, DWORD, PDWORD) override { return 12; }
    STDMETHODIMP CommandCallback(PDEVOBJ, DWORD, DWORD, PDWORD, INT*) override { return 13; }
    STDMETHODIMP ImageProcessing(PDEVOBJ, PBYTE, PBITMAPINFOHEADER, PBYTE, DWORD, PIPPARAMS,
                                 PBYTE*) override {
        return 14;
    }
    STDMETHODIMP FilterGraphics(PDEVOBJ, PBYTE, DWORD) override { return 15; }
    STDMETHODIMP Compression(PDEVOBJ, PBYTE, PBYTE, DWORD, DWORD, INT*) override { return 16; }
    STDMETHODIMP HalftonePattern(PDEVOBJ, PBYTE, DWORD, DWORD, DWORD, DWORD, PBYTE,
                                 DWORD) override {
        return 17;
    }
    STDMETHODIMP MemoryUsage(PDEVOBJ, POEMMEMORYUSAGE) override { return 18; }
    STDMETHODIMP TTYGetInfo(PDEVOBJ, DWORD, PVOID, DWORD, DWORD*) override { return 19; }
    STDMETHODIMP DownloadFontHeader(PDEVOBJ, PUNIFONTOBJ, DWORD*) override { return 20; }
    STDMETHODIMP DownloadCharGlyph(PDEVOBJ, PUNIFONTOBJ, HGLYPH, PDWORD, DWORD*) override {
        return 21;
    }
    STDMETHODIMP TTDownloadMethod(PDEVOBJ, PUNIFONTOBJ, DWORD*) override { return 22; }
    STDMETHODIMP OutputCharStr(PDEVOBJ, PUNIFONTOBJ, DWORD, DWORD, PVOID) override { return 23; }
    STDMETHODIMP SendFontCmd(PDEVOBJ, PUNIFONTOBJ, PFINVOCATION) override { return 24; }
    STDMETHODIMP TextOutAsBitmap(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*,
                                 BRUSHOBJ*, POINTL*, MIX) override {
        return 25;
    }
    STDMETHODIMP WritePrinter(PDEVOBJ, PVOID, DWORD, PDWORD) override { return 26; }
    STDMETHODIMP GetPDEVAdjustment(PDEVOBJ, DWORD, PVOID, DWORD, BOOL*) override { return 27; }
    STDMETHODIMP DownloadPattern(PDEVOBJ, PBYTE, DWORD, DWORD) override { return 28; }
};

struct MockDriverUI final : IPrintOemDriverUI {
    MOCK_IUNKNOWN
    STDMETHODIMP DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return 3;
    }
    STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return 4; }
    STDMETHODIMP DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override { return 5; }
};

struct MockDriverUni final : IPrintOemDriverUni {
    MOCK_IUNKNOWN
    STDMETHODIMP DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return 3;
    }
    STDMETHODIMP DrvWriteSpoolBuf(PDEVOBJ, PVOID, DWORD, DWORD*) override { return 4; }
    STDMETHODIMP DrvXMoveTo(PDEVOBJ, INT, DWORD, INT*) override { return 5; }
    STDMETHODIMP DrvYMoveTo(PDEVOBJ, INT, DWORD, INT*) override { return 6; }
    STDMETHODIMP DrvGetStandardVariable(PDEVOBJ, DWORD, PVOID, DWORD, PDWORD) override { return 7; }
    STDMETHODIMP DrvGetGPDData(PDEVOBJ, DWORD, PVOID, PVOID, DWORD, PDWORD) override { return 8; }
    STDMETHODIMP DrvUniTextOut(SURFOBJ*, STROBJ*, FONTOBJ*, CLIPOBJ*, RECTL*, RECTL*, BRUSHOBJ*,
                               BRUSHOBJ*, POINTL*, MIX) override {
        return 9;
    }
    STDMETHODIMP DrvWriteAbortBuf(PDEVOBJ, PVOID, DWORD, DWORD) override { return 10; }
};

#define MOCK_CORE_HELPER                                                                           \
    MOCK_IUNKNOWN                                                                                  \
    STDMETHODIMP SetOptions(PDEVMODEW, DWORD, BOOL, const PRINT_FEATURE_OPTION*, DWORD, DWORD*,    \
                            DWORD*) override {                                                     \
        return 3;                                                                                  \
    }                                                                                              \
    STDMETHODIMP EnumConstrainedOptions(PDEVMODEW, DWORD, PCSTR, PCSTR**, DWORD*) override {       \
        return 4;                                                                                  \
    }                                                                                              \
    STDMETHODIMP WhyConstrained(PDEVMODEW, DWORD, PCSTR, PCSTR, const PRINT_FEATURE_OPTION**,      \
                                DWORD*) override {                                                 \
        return 5;                                                                                  \
    }                                                                                              \
    STDMETHODIMP GetOption(PDEVMODEW, DWORD, PCSTR, PCSTR*) override {                             \
        return 6;                                                                                  \
    }                                                                                              \
    STDMETHODIMP EnumFeatures(PCSTR**, DWORD*) override {                                          \
        return 7;                                                                                  \
    }                                                                                              \
    STDMETHODIMP EnumOptions(PCSTR, PCSTR**, DWORD*) override {                                    \
        return 8;                                                                                  \
    }                                                                                              \
    STDMETHODIMP GetFontSubstitution(PCWSTR, PCWSTR*) override {                                   \
        return 9;                                                                                  \
    }                                                                                              \
    STDMETHODIMP SetFontSubstitution(PCWSTR, PCWSTR) override {                                    \
        return 10;                                                                                 \
    }                                                                                              \
    STDMETHODIMP CreateInstanceOfMSXMLObject(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)          \
        override {                                                                                 \
        return 11;                                                                                 \
    }

struct MockCoreHelperUni final : IPrintCoreHelperUni {
    MOCK_CORE_HELPER
    STDMETHODIMP CreateGDLSnapshot(PDEVMODEW, DWORD, DWORD, IStream**) override { return 12; }
    STDMETHODIMP CreateDefaultGDLSnapshot(DWORD, IStream**) override { return 13; }
};

struct MockCoreHelperPS final : IPrintCoreHelperPS {
    MOCK_CORE_HELPER
    STDMETHODIMP GetBaseAttribute(PCSTR, DWORD*, PBYTE*, DWORD*) override { return 12; }
    STDMETHODIMP GetFeatureAttribute(PCSTR, PCSTR, DWORD*, PBYTE*, DWORD*) override { return 13; }
    STDMETHODIMP GetOptionAttribute(PCSTR, PCSTR, PCSTR, DWORD*, PBYTE*, DWORD*) override {
        return 14;
    }
};

TEST(LayoutVtable, UserInterfacePluginHasTwentySlotsInTheDriversOrder) {
    MockUI mock;
    IPrintOemUI2* ui = &mock;
    using I = IPrintOemUI2;
    ExpectSlots(ui, &I::QueryInterface, &I::AddRef, &I::Release, &I::GetInfo, &I::DevMode,
                &I::PublishDriverInterface, &I::CommonUIProp, &I::DocumentPropertySheets,
                &I::DevicePropertySheets, &I::DevQueryPrintEx, &I::DeviceCapabilities,
                &I::UpgradePrinter, &I::PrinterEvent, &I::DriverEvent, &I::QueryColorProfile,
                &I::FontInstallerDlgProc, &I::UpdateExternalFonts, &I::QueryJobAttributes,
                &I::HideStandardUI, &I::DocumentEvent);
}

TEST(LayoutVtable, OlderUserInterfaceHostsSeeTheSameFirstSeventeenSlots) {
    MockUI mock;
    // A host that knows only IPrintOemUI uses the same object through the base interface.
    IPrintOemUI* ui = &mock;
    using I = IPrintOemUI;
    EXPECT_EQ(static_cast<void*>(ui), static_cast<void*>(static_cast<IPrintOemUI2*>(&mock)));
    ExpectSlots(ui, &I::QueryInterface, &I::AddRef, &I::Release, &I::GetInfo, &I::DevMode,
                &I::PublishDriverInterface, &I::CommonUIProp, &I::DocumentPropertySheets,
                &I::DevicePropertySheets, &I::DevQueryPrintEx, &I::DeviceCapabilities,
                &I::UpgradePrinter, &I::PrinterEvent, &I::DriverEvent, &I::QueryColorProfile,
                &I::FontInstallerDlgProc, &I::UpdateExternalFonts);
}

TEST(LayoutVtable, PrintTicketProviderHasTwelveSlotsInTheDriversOrder) {
    MockTicketProvider mock;
    IPrintOemPrintTicketProvider* provider = &mock;
    using I = IPrintOemPrintTicketProvider;
    ExpectSlots(provider, &I::QueryInterface, &I::AddRef, &I::Release, &I::GetSupportedVersions,
                &I::BindPrinter, &I::PublishPrintTicketHelper, &I::QueryDeviceDefaultNamespace,
                &I::ConvertPrintTicketToDevMode, &I::ConvertDevModeToPrintTicket,
                &I::CompletePrintCapabilities, &I::ExpandIntentOptions, &I::ValidatePrintTicket);
}

TEST(LayoutVtable, RenderPluginPutsEngineAndUniMethodsAfterTheCommonOnes) {
    MockUni mock;
    IPrintOemUni3* uni = &mock;
    using I = IPrintOemUni3;
    ExpectSlots(uni, &I::QueryInterface, &I::AddRef, &I::Release, &I::GetInfo, &I::DevMode,
                &I::EnableDriver, &I::DisableDriver, &I::EnablePDEV, &I::DisablePDEV, &I::ResetPDEV,
                &I::PublishDriverInterface, &I::GetImplementedMethod, &I::DriverDMS,
                &I::CommandCallback, &I::ImageProcessing, &I::FilterGraphics, &I::Compression,
                &I::HalftonePattern, &I::MemoryUsage, &I::TTYGetInfo, &I::DownloadFontHeader,
                &I::DownloadCharGlyph, &I::TTDownloadMethod, &I::OutputCharStr, &I::SendFontCmd,
                &I::TextOutAsBitmap, &I::WritePrinter, &I::GetPDEVAdjustment, &I::DownloadPattern);
}

TEST(LayoutVtable, EveryRenderInterfaceLevelSharesTheObjectAndItsPrefix) {
    MockUni mock;
    void* level3 = static_cast<IPrintOemUni3*>(&mock);
    EXPECT_EQ(static_cast<void*>(static_cast<IPrintOemUni2*>(&mock)), level3);
    EXPECT_EQ(static_cast<void*>(static_cast<IPrintOemUni*>(&mock)), level3);
    EXPECT_EQ(static_cast<void*>(static_cast<IPrintOemEngine*>(&mock)), level3);
    EXPECT_EQ(static_cast<void*>(static_cast<IPrintOemCommon*>(&mock)), level3);
    EXPECT_EQ(static_cast<void*>(static_cast<IUnknown*>(&mock)), level3);
    using I = IPrintOemUni;
    ExpectSlots(static_cast<I*>(&mock), &I::QueryInterface, &I::AddRef, &I::Release, &I::GetInfo,
                &I::DevMode, &I::EnableDriver, &I::DisableDriver, &I::EnablePDEV, &I::DisablePDEV,
                &I::ResetPDEV, &I::PublishDriverInterface, &I::GetImplementedMethod, &I::DriverDMS,
                &I::CommandCallback, &I::ImageProcessing, &I::FilterGraphics, &I::Compression,
                &I::HalftonePattern, &I::MemoryUsage, &I::TTYGetInfo, &I::DownloadFontHeader,
                &I::DownloadCharGlyph, &I::TTDownloadMethod, &I::OutputCharStr, &I::SendFontCmd,
                &I::TextOutAsBitmap);
}

TEST(LayoutVtable, DriverServiceInterfacesKeepTheirPublishedOrder) {
    MockDriverUI ui;
    using U = IPrintOemDriverUI;
    ExpectSlots(static_cast<U*>(&ui), &U::QueryInterface, &U::AddRef, &U::Release,
                &U::DrvGetDriverSetting, &U::DrvUpgradeRegistrySetting, &U::DrvUpdateUISetting);

    MockDriverUni uni;
    using R = IPrintOemDriverUni;
    ExpectSlots(static_cast<R*>(&uni), &R::QueryInterface, &R::AddRef, &R::Release,
                &R::DrvGetDriverSetting, &R::DrvWriteSpoolBuf, &R::DrvXMoveTo, &R::DrvYMoveTo,
                &R::DrvGetStandardVariable, &R::DrvGetGPDData, &R::DrvUniTextOut,
                &R::DrvWriteAbortBuf);
}

TEST(LayoutVtable, CoreHelpersExtendTheCommonHelperAfterItsNineMethods) {
    MockCoreHelperUni uni;
    using U = IPrintCoreHelperUni;
    ExpectSlots(static_cast<U*>(&uni), &U::QueryInterface, &U::AddRef, &U::Release, &U::SetOptions,
                &U::EnumConstrainedOptions, &U::WhyConstrained, &U::GetOption, &U::EnumFeatures,
                &U::EnumOptions, &U::GetFontSubstitution, &U::SetFontSubstitution,
                &U::CreateInstanceOfMSXMLObject, &U::CreateGDLSnapshot,
                &U::CreateDefaultGDLSnapshot);

    MockCoreHelperPS ps;
    using P = IPrintCoreHelperPS;
    ExpectSlots(static_cast<P*>(&ps), &P::QueryInterface, &P::AddRef, &P::Release, &P::SetOptions,
                &P::EnumConstrainedOptions, &P::WhyConstrained, &P::GetOption, &P::EnumFeatures,
                &P::EnumOptions, &P::GetFontSubstitution, &P::SetFontSubstitution,
                &P::CreateInstanceOfMSXMLObject, &P::GetBaseAttribute, &P::GetFeatureAttribute,
                &P::GetOptionAttribute);
}

} // namespace
