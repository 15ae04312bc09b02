// What the compile-time layout checks cannot see: interface ids against their registry form, the
// address arithmetic of the SDK's helper macros, and flag families that must not overlap.
#include <commctrl.h>
#include <compstui.h>
#include <prcomoem.h>
#include <winddiui.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

std::string RegistryForm(const GUID& id) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1],
                  id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

TEST(LayoutIds, InterfaceIdsMatchTheirPublishedRegistryForm) {
    EXPECT_EQ(RegistryForm(IID_IPrintOemCommon), "{7F42285E-91D5-11D1-8820-00C04FB961EC}");
    EXPECT_EQ(RegistryForm(IID_IPrintOemUI), "{C6A7A9D0-774C-11D1-947F-00A0C90640B8}");
    EXPECT_EQ(RegistryForm(IID_IPrintOemUI2), "{292515F9-B54B-489B-9275-BAB56821395E}");
    EXPECT_EQ(RegistryForm(IID_IPrintOemDriverUI), "{92B05D50-78BC-11D1-9480-00A0C90640B8}");
    EXPECT_EQ(RegistryForm(IID_IPrintOemUni), "{D67EBBF0-78BF-11D1-9480-00A0C90640B8}");
    EXPECT_EQ(RegistryForm(IID_IPrintOemUni2), "{B91220AC-15CC-4E7A-A21E-9591F34D6F6C}");
    EXPECT_EQ(RegistryForm(IID_IPrintOemDriverUni), "{D67EBBF1-78BF-11D1-9480-00A0C90640B8}");
    EXPECT_EQ(RegistryForm(IID_IPrintCoreHelper), "{A89EC53E-3905-49C6-9C1A-C0A88117FDB6}");
    EXPECT_EQ(RegistryForm(IID_IPrintCoreHelperUni), "{7E8E51D6-E5EE-4426-817B-958B9444EB79}");
    EXPECT_EQ(RegistryForm(IID_IPrintCoreHelperPS), "{C2C14F6F-95D3-4D63-96CF-6BD9E6C907C2}");
}

TEST(LayoutIds, EveryPluginInterfaceHasItsOwnId) {
    const GUID* ids[] = {
        &IID_IPrintOemCommon,   &IID_IPrintOemUI,         &IID_IPrintOemUI2,
        &IID_IPrintOemDriverUI, &IID_IPrintOemUni,        &IID_IPrintOemUni2,
        &IID_IPrintOemUni3,     &IID_IPrintOemDriverUni,  &IID_IPrintOemPrintTicketProvider,
        &IID_IPrintCoreHelper,  &IID_IPrintCoreHelperUni, &IID_IPrintCoreHelperPS,
        &IID_IUnknown,          &IID_IClassFactory};
    for (const GUID* a : ids) {
        for (const GUID* b : ids) {
            if (a != b) {
                EXPECT_FALSE(IsEqualIID(*a, *b)) << RegistryForm(*a);
            }
        }
    }
}

TEST(LayoutPages, ShorterPageFormsEndBeforeTheirFirstMissingField) {
    EXPECT_EQ(PROPSHEETPAGEW_V1_SIZE, 72u);
    EXPECT_EQ(PROPSHEETPAGEW_V2_SIZE, 88u);
    EXPECT_EQ(PROPSHEETPAGEW_V1_SIZE, offsetof(PROPSHEETPAGEW, pszHeaderTitle));
    EXPECT_EQ(PROPSHEETPAGEW_V2_SIZE, offsetof(PROPSHEETPAGEW, hActCtx));
}

TEST(LayoutPages, PageInfoIsFoundRightAfterThePageDescriptionItsSizeSays) {
    // compstui passes the page's own copy of PROPSHEETPAGEW, with its PSPINFO appended after
    // dwSize bytes, whichever form the caller used.
    for (DWORD size :
         {static_cast<DWORD>(sizeof(PROPSHEETPAGEW)), static_cast<DWORD>(PROPSHEETPAGEW_V1_SIZE)}) {
        alignas(8) BYTE block[sizeof(PROPSHEETPAGEW) + sizeof(PSPINFO)] = {};
        reinterpret_cast<PROPSHEETPAGEW*>(block)->dwSize = size;
        auto* appended = reinterpret_cast<PSPINFO*>(block + size);
        appended->cbSize = sizeof(PSPINFO);
        LPARAM lParam = reinterpret_cast<LPARAM>(block);
        EXPECT_EQ(PPSPINFO_FROM_WM_INITDIALOG_LPARAM(lParam), appended) << "page size " << size;
    }
}

TEST(LayoutPages, InsertPositionsAreHandlesDistinctFromIndices) {
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(HINSPSUIPAGE_INDEX(3)), 3u);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(HINSPSUIPAGE_FIRST), 0xFFFFFFFEu);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(HINSPSUIPAGE_LAST), 0xFFFFFFFFu);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(CPSUI_PDLGPAGE_TREEVIEWONLY), 4u);
}

TEST(LayoutItems, HideBitsOfStandardItemsAreOnePerDevmodeItem) {
    EXPECT_EQ(MAKE_DMPUB_HIDEBIT(DMPUB_ORIENTATION), 0x1u);
    EXPECT_EQ(MAKE_DMPUB_HIDEBIT(DMPUB_DUPLEX), 0x40u);
    EXPECT_EQ(MAKE_DMPUB_HIDEBIT(DMPUB_BOOKLET_EDGE), 0x100000u);
    const DWORD hidden = MAKE_DMPUB_HIDEBIT(DMPUB_COLOR) | MAKE_DMPUB_HIDEBIT(DMPUB_NUP);
    EXPECT_TRUE(IS_DMPUB_HIDDEN(hidden, DMPUB_NUP));
    EXPECT_TRUE(IS_DMPUB_HIDDEN(hidden, DMPUB_COLOR));
    EXPECT_FALSE(IS_DMPUB_HIDDEN(hidden, DMPUB_DUPLEX));
    EXPECT_FALSE(IS_DMPUB_HIDDEN(hidden, DMPUB_PAGEORDER));
}

TEST(LayoutItems, ControlTypesKeepTheirNumbersAsDescriptionsUseThem) {
    EXPECT_EQ(TVOT_2STATES, 0);
    EXPECT_EQ(TVOT_UDARROW, 2);
    EXPECT_EQ(TVOT_EDITBOX, 7);
    EXPECT_EQ(TVOT_CHKBOX, 9);
    EXPECT_EQ(TVOT_NSTATES_EX, 10);
    EXPECT_EQ(TVOT_NONE, 11);
    EXPECT_EQ(OPTIF_CHANGED | OPTIF_CHANGEONCE, 0x18);
    EXPECT_EQ(PROPSHEETUI_INFO_VERSION, 0x0100);
    EXPECT_EQ(CPSUICB_REASON_APPLYNOW, 6);
}

// Each flag of a family must be one bit of its own, or tests of one flag would see another.
void ExpectDistinctBits(std::initializer_list<unsigned long long> flags) {
    unsigned long long seen = 0;
    for (unsigned long long flag : flags) {
        EXPECT_EQ(flag & (flag - 1), 0u) << std::hex << flag << " is not a single bit";
        EXPECT_EQ(seen & flag, 0u) << std::hex << flag << " is used twice";
        seen |= flag;
    }
}

TEST(LayoutFlags, DevmodeFieldBitsAreDistinct) {
    ExpectDistinctBits({DM_ORIENTATION,
                        DM_PAPERSIZE,
                        DM_PAPERLENGTH,
                        DM_PAPERWIDTH,
                        DM_SCALE,
                        DM_POSITION,
                        DM_NUP,
                        DM_DISPLAYORIENTATION,
                        DM_COPIES,
                        DM_DEFAULTSOURCE,
                        DM_PRINTQUALITY,
                        DM_COLOR,
                        DM_DUPLEX,
                        DM_YRESOLUTION,
                        DM_TTOPTION,
                        DM_COLLATE,
                        DM_FORMNAME,
                        DM_LOGPIXELS,
                        DM_BITSPERPEL,
                        DM_PELSWIDTH,
                        DM_PELSHEIGHT,
                        DM_DISPLAYFLAGS,
                        DM_DISPLAYFREQUENCY,
                        DM_ICMMETHOD,
                        DM_ICMINTENT,
                        DM_MEDIATYPE,
                        DM_DITHERTYPE,
                        DM_PANNINGWIDTH,
                        DM_PANNINGHEIGHT,
                        DM_DISPLAYFIXEDOUTPUT});
    EXPECT_EQ(DM_TTOPTION, 0x4000);
    EXPECT_EQ(DM_DUPLEX, 0x1000);
}

TEST(LayoutFlags, OptionItemAndParameterFlagsAreDistinct) {
    ExpectDistinctBits({OPTIF_COLLAPSE, OPTIF_HIDE, OPTIF_CALLBACK, OPTIF_CHANGED, OPTIF_CHANGEONCE,
                        OPTIF_DISABLED, OPTIF_ECB_CHECKED, OPTIF_EXT_HIDE, OPTIF_EXT_DISABLED,
                        OPTIF_SEL_AS_HICON, OPTIF_EXT_IS_EXTPUSH, OPTIF_NO_GROUPBOX_NAME,
                        OPTIF_OVERLAY_WARNING_ICON, OPTIF_OVERLAY_STOP_ICON, OPTIF_OVERLAY_NO_ICON,
                        OPTIF_INITIAL_TVITEM, OPTIF_HAS_POIEXT});
    ExpectDistinctBits({OPTPF_HIDE, OPTPF_DISABLED, OPTPF_ICONID_AS_HICON,
                        OPTPF_OVERLAY_WARNING_ICON, OPTPF_OVERLAY_STOP_ICON, OPTPF_OVERLAY_NO_ICON,
                        OPTPF_USE_HDLGTEMPLATE});
    EXPECT_EQ(OPTIF_MASK, 0x1ffff);
}

TEST(LayoutFlags, PageFlagsAreDistinct) {
    ExpectDistinctBits({PSP_DLGINDIRECT, PSP_USEHICON, PSP_USEICONID, PSP_USETITLE, PSP_RTLREADING,
                        PSP_HASHELP, PSP_USEREFPARENT, PSP_USECALLBACK, PSP_PREMATURE,
                        PSP_HIDEHEADER, PSP_USEHEADERTITLE, PSP_USEHEADERSUBTITLE,
                        PSP_USEFUSIONCONTEXT});
}

TEST(LayoutMessages, NotificationCodesCountDownFromTheirFamilysFirst) {
    EXPECT_EQ(PSN_SETACTIVE, 0u - 200u);
    EXPECT_EQ(PSN_HELP, 0u - 205u);
    EXPECT_EQ(TCN_SELCHANGE, 0u - 551u);
    EXPECT_EQ(UDN_DELTAPOS, 0u - 722u);
    EXPECT_EQ(PSM_HWNDTOINDEX, WM_USER + 129);
    EXPECT_EQ(PSM_INDEXTOHWND, WM_USER + 130);
    EXPECT_EQ(TCM_GETITEMRECT, 0x1300u + 10);
}

TEST(LayoutMessages, PackedParametersKeepTheirSigns) {
    const LPARAM point = MAKELPARAM(-5, -7);
    EXPECT_EQ(GET_X_LPARAM(point), -5);
    EXPECT_EQ(GET_Y_LPARAM(point), -7);
    EXPECT_EQ(LOWORD(MAKEWPARAM(0x1234, 0xABCD)), 0x1234);
    EXPECT_EQ(HIWORD(MAKEWPARAM(0x1234, 0xABCD)), 0xABCD);
}

TEST(LayoutMessages, DocumentEventCodesSplitIntoEventAndFlags) {
    const int code = DOCUMENTEVENT_STARTDOCPRE | DOCUMENTEVENT_SPOOLED;
    EXPECT_EQ(DOCUMENTEVENT_EVENT(code), DOCUMENTEVENT_STARTDOCPRE);
    EXPECT_EQ(DOCUMENTEVENT_FLAGS(code), 1);
    EXPECT_EQ(PRINTER_EVENT_INITIALIZE, 3);
}

TEST(LayoutDdi, FunctionIndicesOfTheHookedCallsAreThoseOfTheTable) {
    EXPECT_EQ(INDEX_DrvRealizeBrush, 12);
    EXPECT_EQ(INDEX_DrvBitBlt, 18);
    EXPECT_EQ(INDEX_DrvTextOut, 23);
    EXPECT_EQ(INDEX_DrvEscape, 24);
    EXPECT_EQ(INDEX_DrvLineTo, 31);
    EXPECT_EQ(INDEX_DrvStartDoc, 35);
    EXPECT_EQ(INDEX_DrvGetGlyphMode, 37);
    EXPECT_EQ(INDEX_DrvStartBanding, 57);
    EXPECT_EQ(INDEX_DrvNextBand, 58);
    EXPECT_EQ(INDEX_DrvIcmCheckBitmapBits, 66);
    EXPECT_EQ(INDEX_DrvGradientFill, 68);
    EXPECT_EQ(INDEX_DrvAlphaBlend, 71);
    EXPECT_EQ(INDEX_DrvTransparentBlt, 74);
    EXPECT_EQ(HGLYPH_INVALID, 0xFFFFFFFFu);
    EXPECT_EQ(DDI_DRIVER_VERSION_NT5, 0x30000);
}

} // namespace
