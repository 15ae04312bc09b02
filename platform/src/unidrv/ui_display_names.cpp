#include "src/unidrv/ui_display_names.h"

#include <compstui.h>
#include <winspool.h>
#include <vector>
#include "sim/utf.h"

namespace moltr::unidrv {
namespace {

struct StandardName {
    const char* macro;
    const char16_t* text;
};

// The standard display names the driver's own resources hold, by their value macros.
constexpr StandardName kStandardNames[] = {
    {"=ORIENTATION_DISPLAY", u"Orientation"},
    {"=PORTRAIT_DISPLAY", u"Portrait"},
    {"=LANDSCAPE_DISPLAY", u"Landscape"},
    {"=PAPER_SOURCE_DISPLAY", u"Paper Source"},
    {"=AUTO_DISPLAY", u"Automatically Select"},
    {"=MANUAL_FEED_DISPLAY", u"Manual Feed"},
    {"=RESOLUTION_DISPLAY", u"Resolution"},
    {"=PAPER_SIZE_DISPLAY", u"Paper Size"},
    {"=MEDIA_TYPE_DISPLAY", u"Media Type"},
    {"=TWO_SIDED_PRINTING_DISPLAY", u"Two Sided Printing"},
    {"=NONE_DISPLAY", u"None"},
    {"=FLIP_ON_LONG_EDGE_DISPLAY", u"Flip on Long Edge"},
    {"=FLIP_ON_SHORT_EDGE_DISPLAY", u"Flip on Short Edge"},
    {"=COLLATE_DISPLAY", u"Collate"},
    {"=ON_DISPLAY", u"On"},
    {"=OFF_DISPLAY", u"Off"},
    {"=COLOR_PRINTING_MODE_DISPLAY", u"Color Printing Mode"},
    {"=MONO_DISPLAY", u"Monochrome"},
    {"=24BPP_DISPLAY", u"24 bpp"},
};

// The path among `printer`'s dependent files whose file name is `name`, ignoring case.
std::u16string DependentFile(HANDLE printer, const std::u16string& name) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(printer, nullptr, 3, info.data(), needed, &needed)) {
        return {};
    }
    const WCHAR* file = reinterpret_cast<const DRIVER_INFO_3W*>(info.data())->pDependentFiles;
    for (; file && *file; file += lstrlenW(file) + 1) {
        std::u16string_view path = sim::View(file);
        size_t slash = path.find_last_of(u"\\/");
        std::u16string base(path.substr(slash == path.npos ? 0 : slash + 1));
        if (lstrcmpiW(sim::W(base), sim::W(name)) == 0) {
            return std::u16string(path);
        }
    }
    return {};
}

} // namespace

DisplayNames::DisplayNames(HANDLE printer, const GpdModel& model) {
    const GpdAttribute* dll = FindAttribute(model.global, "*ResourceDLL");
    std::string name;
    if (!dll || !ParseGpdQuoted(dll->value, &name)) {
        return;
    }
    std::u16string path = DependentFile(printer, sim::Utf16(name));
    if (!path.empty()) {
        resources_ = LoadLibraryExW(sim::W(path), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
}

DisplayNames::~DisplayNames() {
    if (resources_) {
        FreeLibrary(resources_);
    }
}

std::u16string DisplayNames::Of(const GpdBody& body, std::string_view keyword) const {
    std::string text;
    const GpdAttribute* name = FindAttribute(body, "*Name");
    if (name && ParseGpdQuoted(name->value, &text)) {
        return sim::Utf16(text);
    }
    const GpdAttribute* id = FindAttribute(body, "*rcNameID");
    if (id) {
        for (const StandardName& standard : kStandardNames) {
            if (id->value == standard.macro) {
                return standard.text;
            }
        }
        long long number = 0;
        WCHAR loaded[MAX_RES_STR_CHARS] = {};
        if (resources_ && ParseGpdInteger(id->value, &number) && number > 0 && number <= 0xFFFF &&
            LoadStringW(resources_, static_cast<UINT>(number), loaded, MAX_RES_STR_CHARS) > 0) {
            return std::u16string(sim::View(loaded));
        }
    }
    return sim::Utf16(keyword);
}

} // namespace moltr::unidrv
