#include "moltr/driver_layout.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include "moltr/private_devmode.h"
#include "renderplugin/nup_layout.h"
#include "renderplugin/settings_view.h"

namespace moltr::tool {
namespace {

// The driver's private part as the universal driver keeps it: its size and signature "UDRV",
// its version, then its pages per sheet and its layout flags.
constexpr DWORD kDriverSignature = 'U' | ('D' << 8) | ('R' << 16) | ('V' << 24);
constexpr size_t kDriverPartSize = 16;
constexpr size_t kPagesPerSheetAt = 12;
constexpr size_t kFlagsAt = 14;
constexpr WORD kPageBorders = 0x0001;
constexpr WORD kBooklet = 0x0002;
constexpr WORD kProcessorCopies = 0x0004;

struct Layout {
    WORD pagesPerSheet = 1;
    WORD flags = 0;
};

// What one of the plug-in's per-job settings chooses in the driver's layout.
struct LayoutRule {
    const WCHAR* setting;
    void (*apply)(DWORD value, Layout& layout);
};

constexpr LayoutRule kRules[] = {
    {L"_NUP_PAGES",
     [](DWORD value, Layout& layout) {
         layout.pagesPerSheet = static_cast<WORD>(render::NupCount(value));
     }},
    {L"_NUP_BORDER",
     [](DWORD value, Layout& layout) { layout.flags |= value != 0 ? kPageBorders : 0; }},
    {L"_BOOKLET", [](DWORD value, Layout& layout) { layout.flags |= value != 1 ? kBooklet : 0; }},
};

struct Release {
    void operator()(common::IDrvSettings* settings) const { settings->Release(); }
};
using SettingsPtr = std::unique_ptr<common::IDrvSettings, Release>;

} // namespace

std::string MatchDriverLayout(const NamedPrinter& printer, std::vector<BYTE>& devmode) {
    DEVMODEW head = {};
    if (devmode.size() < offsetof(DEVMODEW, dmFields)) {
        return "the printer's devmode is too short";
    }
    std::memcpy(&head, devmode.data(), std::min(devmode.size(), sizeof head));
    const size_t driver = head.dmSize;
    DWORD signature = 0;
    if (head.dmDriverExtra < kDriverPartSize || driver + kDriverPartSize > devmode.size()) {
        return {};
    }
    std::memcpy(&signature, devmode.data() + driver + sizeof(DWORD), sizeof signature);
    if (signature != kDriverSignature) {
        return {};
    }
    std::string error;
    SettingsPtr settings(printer.Settings(common::kModeDocument, error));
    DWORD size = 0;
    if (!settings || FAILED(settings->GetDevModeSize(&size))) {
        return error.empty() ? "the printer has no private devmode" : error;
    }
    std::optional<size_t> block = FindPrivateDevMode(devmode, size);
    if (!block) {
        return {};
    }
    const render::SettingsView view(settings.get(), devmode.data() + *block);
    Layout layout;
    for (const LayoutRule& rule : kRules) {
        rule.apply(view.Job(rule.setting), layout);
    }
    if (head.dmDuplex != DMDUP_SIMPLEX && render::PrintsManualDuplex(view)) {
        layout.flags |= kProcessorCopies;
    }
    std::memcpy(devmode.data() + driver + kPagesPerSheetAt, &layout.pagesPerSheet,
                sizeof layout.pagesPerSheet);
    std::memcpy(devmode.data() + driver + kFlagsAt, &layout.flags, sizeof layout.flags);
    return {};
}

} // namespace moltr::tool
