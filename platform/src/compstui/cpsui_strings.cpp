// compstui's strings, in the English of its resources.
#include "src/compstui/cpsui_strings.h"

#include "sim/utf.h"

#include <iterator>

namespace moltr::platform::compstui {
namespace {

struct CpsuiText {
    UINT id;
    const char* text;
};

constexpr CpsuiText kStrings[] = {
    {IDS_CPSUI_SETUP, "Setup"},
    {IDS_CPSUI_MORE, "More"},
    {IDS_CPSUI_CHANGE, "Change"},
    {IDS_CPSUI_OPTION, "Option"},
    {IDS_CPSUI_OF, "of"},
    {IDS_CPSUI_RANGE_FROM, "Range from"},
    {IDS_CPSUI_TO, "to"},
    {IDS_CPSUI_COLON_SEP, ": "},
    {IDS_CPSUI_LEFT_ANGLE, "<"},
    {IDS_CPSUI_RIGHT_ANGLE, ">"},
    {IDS_CPSUI_SLASH_SEP, " / "},
    {IDS_CPSUI_PERCENT, "%"},
    {IDS_CPSUI_LBCB_NOSEL, "< No Selection >"},
    {IDS_CPSUI_PROPERTIES, "Properties"},
    {IDS_CPSUI_DEFAULTDOCUMENT, "Default Document"},
    {IDS_CPSUI_DOCUMENT, "Document"},
    {IDS_CPSUI_ADVANCEDOCUMENT, "Advanced Document"},
    {IDS_CPSUI_PRINTER, "Printer"},
    {IDS_CPSUI_AUTOSELECT, "Automatically Select"},
    {IDS_CPSUI_PAPER_OUTPUT, "Paper/Output"},
    {IDS_CPSUI_GRAPHIC, "Graphic"},
    {IDS_CPSUI_OPTIONS, "Options"},
    {IDS_CPSUI_ADVANCED, "Advanced"},
    {IDS_CPSUI_STDDOCPROPTAB, "Layout"},
    {IDS_CPSUI_STDDOCPROPTVTAB, "Advanced"},
    {IDS_CPSUI_DEVICEOPTIONS, "Device Options"},
    {IDS_CPSUI_FALSE, "False"},
    {IDS_CPSUI_TRUE, "True"},
    {IDS_CPSUI_NO, "No"},
    {IDS_CPSUI_YES, "Yes"},
    {IDS_CPSUI_OFF, "Off"},
    {IDS_CPSUI_ON, "On"},
    {IDS_CPSUI_DEFAULT, "Default"},
    {IDS_CPSUI_ERROR, "Error"},
    {IDS_CPSUI_NONE, "None"},
    {IDS_CPSUI_NOT, "Not"},
    {IDS_CPSUI_EXIST, "Exist"},
    {IDS_CPSUI_NOTINSTALLED, "Not Installed"},
    {IDS_CPSUI_ORIENTATION, "Orientation"},
    {IDS_CPSUI_SCALING, "Scaling"},
    {IDS_CPSUI_NUM_OF_COPIES, "Copies"},
    {IDS_CPSUI_SOURCE, "Paper Source"},
    {IDS_CPSUI_PRINTQUALITY, "Print Quality"},
    {IDS_CPSUI_RESOLUTION, "Resolution"},
    {IDS_CPSUI_COLOR_APPERANCE, "Color Appearance"},
    {IDS_CPSUI_DUPLEX, "Duplex"},
    {IDS_CPSUI_TTOPTION, "TrueType Font"},
    {IDS_CPSUI_FORMNAME, "Paper Size"},
    {IDS_CPSUI_ICM, "Image Color Management"},
    {IDS_CPSUI_ICMMETHOD, "ICM Method"},
    {IDS_CPSUI_ICMINTENT, "ICM Intent"},
    {IDS_CPSUI_MEDIA, "Media Type"},
    {IDS_CPSUI_DITHERING, "Dithering"},
    {IDS_CPSUI_PORTRAIT, "Portrait"},
    {IDS_CPSUI_LANDSCAPE, "Landscape"},
    {IDS_CPSUI_ROT_LAND, "Rotated Landscape"},
    {IDS_CPSUI_COLLATE, "Collate"},
    {IDS_CPSUI_COLLATED, "Collated"},
    {IDS_CPSUI_PRINTFLDSETTING, "Printer Folder Settings"},
    {IDS_CPSUI_DRAFT, "Draft"},
    {IDS_CPSUI_LOW, "Low"},
    {IDS_CPSUI_MEDIUM, "Medium"},
    {IDS_CPSUI_HIGH, "High"},
    {IDS_CPSUI_PRESENTATION, "Presentation"},
    {IDS_CPSUI_COLOR, "Color"},
    {IDS_CPSUI_GRAYSCALE, "Grayscale"},
    {IDS_CPSUI_MONOCHROME, "Monochrome"},
    {IDS_CPSUI_SIMPLEX, "None"},
    {IDS_CPSUI_HORIZONTAL, "Horizontal"},
    {IDS_CPSUI_VERTICAL, "Vertical"},
    {IDS_CPSUI_LONG_SIDE, "Flip on Long Edge"},
    {IDS_CPSUI_SHORT_SIDE, "Flip on Short Edge"},
    {IDS_CPSUI_TT_PRINTASGRAPHIC, "Print as Graphic"},
    {IDS_CPSUI_TT_DOWNLOADSOFT, "Download as Soft Font"},
    {IDS_CPSUI_TT_DOWNLOADVECT, "Download as Outline Font"},
    {IDS_CPSUI_TT_SUBDEV, "Substitute with Device Font"},
    {IDS_CPSUI_ICM_BLACKWHITE, "Black and White"},
    {IDS_CPSUI_ICM_NO, "No Image Color Management"},
    {IDS_CPSUI_ICM_YES, "Image Color Management"},
    {IDS_CPSUI_ICM_SATURATION, "Saturation"},
    {IDS_CPSUI_ICM_CONTRAST, "Contrast"},
    {IDS_CPSUI_ICM_COLORMETRIC, "Colorimetric"},
    {IDS_CPSUI_STANDARD, "Standard"},
    {IDS_CPSUI_GLOSSY, "Glossy"},
    {IDS_CPSUI_TRANSPARENCY, "Transparency"},
    {IDS_CPSUI_REGULAR, "Regular"},
    {IDS_CPSUI_BOND, "Bond"},
    {IDS_CPSUI_COARSE, "Coarse"},
    {IDS_CPSUI_FINE, "Fine"},
    {IDS_CPSUI_LINEART, "Line Art"},
    {IDS_CPSUI_ERRDIFFUSE, "Error Diffusion"},
    {IDS_CPSUI_HALFTONE, "Halftone"},
    {IDS_CPSUI_HTCLRADJ, "Halftone Color Adjustment"},
    {IDS_CPSUI_USE_HOST_HT, "Use Host Halftone"},
    {IDS_CPSUI_USE_DEVICE_HT, "Use Device Halftone"},
    {IDS_CPSUI_USE_PRINTER_HT, "Use Printer Halftone"},
    {IDS_CPSUI_OUTBINASSIGN, "Output Bin Assignment"},
    {IDS_CPSUI_WATERMARK, "Watermark"},
    {IDS_CPSUI_FORMTRAYASSIGN, "Form To Tray Assignment"},
    {IDS_CPSUI_UPPER_TRAY, "Upper Paper tray"},
    {IDS_CPSUI_ONLYONE, "Only One"},
    {IDS_CPSUI_LOWER_TRAY, "Lower Paper tray"},
    {IDS_CPSUI_MIDDLE_TRAY, "Middle Paper tray"},
    {IDS_CPSUI_MANUAL_TRAY, "Manual Paper Feed"},
    {IDS_CPSUI_ENVELOPE_TRAY, "Envelope Feeder"},
    {IDS_CPSUI_ENVMANUAL_TRAY, "Envelope Manual Feed"},
    {IDS_CPSUI_TRACTOR_TRAY, "Tractor Feeder"},
    {IDS_CPSUI_SMALLFMT_TRAY, "Small Format"},
    {IDS_CPSUI_LARGEFMT_TRAY, "Large Format"},
    {IDS_CPSUI_LARGECAP_TRAY, "Large Capacity"},
    {IDS_CPSUI_CASSETTE_TRAY, "Paper Cassette"},
    {IDS_CPSUI_DEFAULT_TRAY, "Default Tray"},
    {IDS_CPSUI_FORMSOURCE, "Form Source"},
    {IDS_CPSUI_MANUALFEED, "Manual Feed"},
    {IDS_CPSUI_PRINTERMEM_KB, "Printer Memory (KB)"},
    {IDS_CPSUI_PRINTERMEM_MB, "Printer Memory (MB)"},
    {IDS_CPSUI_PAGEPROTECT, "Page Protect"},
    {IDS_CPSUI_HALFTONE_SETUP, "Halftone Setup"},
    {IDS_CPSUI_INSTFONTCART, "Installed Font Cartridges"},
    {IDS_CPSUI_SLOT1, "Slot 1"},
    {IDS_CPSUI_SLOT2, "Slot 2"},
    {IDS_CPSUI_SLOT3, "Slot 3"},
    {IDS_CPSUI_SLOT4, "Slot 4"},
    {IDS_CPSUI_LEFT_SLOT, "Left Slot"},
    {IDS_CPSUI_RIGHT_SLOT, "Right Slot"},
    {IDS_CPSUI_STAPLER, "Stapler"},
    {IDS_CPSUI_STAPLER_ON, "Staple"},
    {IDS_CPSUI_STAPLER_OFF, "No Staple"},
    {IDS_CPSUI_STACKER, "Stacker"},
    {IDS_CPSUI_MAILBOX, "Mailbox"},
    {IDS_CPSUI_COPY, "Copy"},
    {IDS_CPSUI_COPIES, "Copies"},
    {IDS_CPSUI_TOTAL, "Total"},
    {IDS_CPSUI_MAKE, "Make"},
    {IDS_CPSUI_PRINT, "Print"},
    {IDS_CPSUI_FAX, "Fax"},
    {IDS_CPSUI_PLOT, "Plot"},
    {IDS_CPSUI_SLOW, "Slow"},
    {IDS_CPSUI_FAST, "Fast"},
    {IDS_CPSUI_ROTATED, "Rotated"},
    {IDS_CPSUI_RESET, "Reset"},
    {IDS_CPSUI_ALL, "All"},
    {IDS_CPSUI_DEVICE, "Device"},
    {IDS_CPSUI_SETTINGS, "Settings"},
    {IDS_CPSUI_REVERT, "Revert"},
    {IDS_CPSUI_CHANGES, "Changes"},
    {IDS_CPSUI_CHANGED, "Changed"},
    {IDS_CPSUI_WARNING, "Warning"},
    {IDS_CPSUI_ABOUT, "About"},
    {IDS_CPSUI_VERSION, "Version"},
    {IDS_CPSUI_NO_NAME, "(No Name)"},
    {IDS_CPSUI_SETTING, "Setting"},
    {IDS_CPSUI_DEVICE_SETTINGS, "Device Settings"},
    {IDS_CPSUI_STDDOCPROPTAB1, "Layout"},
    {IDS_CPSUI_STDDOCPROPTAB2, "Paper/Quality"},
    {IDS_CPSUI_PAGEORDER, "Page Order"},
    {IDS_CPSUI_FRONTTOBACK, "Front to Back"},
    {IDS_CPSUI_BACKTOFRONT, "Back to Front"},
    {IDS_CPSUI_QUALITY_SETTINGS, "Quality Settings"},
    {IDS_CPSUI_QUALITY_DRAFT, "Draft"},
    {IDS_CPSUI_QUALITY_BETTER, "Better"},
    {IDS_CPSUI_QUALITY_BEST, "Best"},
    {IDS_CPSUI_QUALITY_CUSTOM, "Custom"},
    {IDS_CPSUI_OUTPUTBIN, "Output Bin"},
    {IDS_CPSUI_NUP, "Pages per Sheet"},
    {IDS_CPSUI_NUP_NORMAL, "Normal"},
    {IDS_CPSUI_NUP_TWOUP, "2 Pages per Sheet"},
    {IDS_CPSUI_NUP_FOURUP, "4 Pages per Sheet"},
    {IDS_CPSUI_NUP_SIXUP, "6 Pages per Sheet"},
    {IDS_CPSUI_NUP_NINEUP, "9 Pages per Sheet"},
    {IDS_CPSUI_NUP_SIXTEENUP, "16 Pages per Sheet"},
    {IDS_CPSUI_SIDE1, "Side 1"},
    {IDS_CPSUI_SIDE2, "Side 2"},
    {IDS_CPSUI_BOOKLET, "Booklet"},
    {IDS_CPSUI_POSTER, "Poster"},
    {IDS_CPSUI_POSTER_2x2, "2x2"},
    {IDS_CPSUI_POSTER_3x3, "3x3"},
    {IDS_CPSUI_POSTER_4x4, "4x4"},
    {IDS_CPSUI_NUP_DIRECTION, "Page Order"},
    {IDS_CPSUI_RIGHT_THEN_DOWN, "Right, then Down"},
    {IDS_CPSUI_DOWN_THEN_RIGHT, "Down, then Right"},
    {IDS_CPSUI_LEFT_THEN_DOWN, "Left, then Down"},
    {IDS_CPSUI_DOWN_THEN_LEFT, "Down, then Left"},
    {IDS_CPSUI_MANUAL_DUPLEX, "Manual Duplex"},
    {IDS_CPSUI_MANUAL_DUPLEX_ON, "On"},
    {IDS_CPSUI_MANUAL_DUPLEX_OFF, "Off"},
    {IDS_CPSUI_ROT_PORT, "Rotated Portrait"},
    {IDS_CPSUI_STAPLE, "Staple"},
    {IDS_CPSUI_BOOKLET_EDGE, "Booklet Edge"},
    {IDS_CPSUI_BOOKLET_EDGE_LEFT, "Left"},
    {IDS_CPSUI_BOOKLET_EDGE_RIGHT, "Right"},
    {IDS_CPSUI_NUP_BORDER, "Print Page Borders"},
    {IDS_CPSUI_NUP_BORDERED, "Bordered"},
};

} // namespace

std::u16string CpsuiString(UINT id) {
    for (const CpsuiText& entry : kStrings) {
        if (entry.id == id) {
            return sim::Utf16(entry.text);
        }
    }
    return {};
}

std::u16string TextOf(HINSTANCE caller, LPCWSTR text) {
    if (!text) {
        return {};
    }
    if (!IS_INTRESOURCE(text)) {
        return std::u16string(sim::View(text));
    }
    const auto id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text));
    if (id >= IDS_CPSUI_STRID_FIRST && id <= IDS_CPSUI_STRID_LAST) {
        return CpsuiString(id);
    }
    const WCHAR* resource = nullptr;
    // A buffer size of 0 gives the resource's own read-only text.
    const int length = LoadStringW(caller, id, reinterpret_cast<LPWSTR>(&resource), 0);
    return length > 0 && resource ? std::u16string(reinterpret_cast<const char16_t*>(resource),
                                                   static_cast<size_t>(length))
                                  : std::u16string();
}

} // namespace moltr::platform::compstui
