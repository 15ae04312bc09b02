#include "uiplugin/engine/paper_handlers.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include "uiplugin/engine/opt_item_handler_factory.h"

namespace moltr::ui {

namespace {

constexpr DWORD kPaperItem = 1203;
constexpr DWORD kOrientationItem = 1;
constexpr DWORD kAngleItem = 19250;
constexpr LONG kAlongDiagonal = 0;
constexpr LONG kHorizontal = 1;

// Sizes of the papers the sample printers offer, in tenths of a millimetre.
struct PaperSize {
    short dmPaper;
    LONG width;
    LONG length;
};
constexpr PaperSize kPaperSizes[] = {
    {DMPAPER_LETTER, 2159, 2794},    {DMPAPER_TABLOID, 2794, 4318}, {DMPAPER_LEGAL, 2159, 3556},
    {DMPAPER_EXECUTIVE, 1842, 2667}, {DMPAPER_A3, 2970, 4200},      {DMPAPER_A4, 2100, 2970},
    {DMPAPER_A5, 1480, 2100},        {DMPAPER_B4, 2570, 3640},      {DMPAPER_B5, 1820, 2570},
};

} // namespace

LONG DiagonalAngle(short dmPaper, bool landscape) {
    for (const PaperSize& paper : kPaperSizes) {
        if (paper.dmPaper == dmPaper) {
            const double width = landscape ? paper.length : paper.width;
            const double length = landscape ? paper.width : paper.length;
            return static_cast<LONG>(std::atan(length / width) * 180.0 / 3.14159265358979323846);
        }
    }
    return 0;
}

// The host frees its items before the plug-in's handlers, so the item is not touched here.
VORTAOptItemHandlerPAPERSIZE::~VORTAOptItemHandlerPAPERSIZE() {
    if (options_ != nullptr) {
        HeapFree(Heap(), 0, options_);
        HeapFree(Heap(), 0, names_);
    }
}

void VORTAOptItemHandlerPAPERSIZE::AppendCustomMedia(
    const std::vector<uiplugin::CustomSizeEntry>& media) {
    POPTTYPE type = Item() != nullptr ? Item()->pOptType : nullptr;
    const DWORD appended =
        static_cast<DWORD>(std::min<size_t>(media.size(), uiplugin::kCustomSizeListMedia));
    const DWORD count = type != nullptr ? type->Count + appended : 0;
    if (type == nullptr || appended == 0 || options_ != nullptr || count > 0xFFFF) {
        return;
    }
    auto* options =
        static_cast<POPTPARAM>(HeapAlloc(Heap(), HEAP_ZERO_MEMORY, count * sizeof(OPTPARAM)));
    auto* names = static_cast<Name*>(HeapAlloc(Heap(), HEAP_ZERO_MEMORY, appended * sizeof(Name)));
    if (options == nullptr || names == nullptr) {
        HeapFree(Heap(), 0, options);
        HeapFree(Heap(), 0, names);
        return;
    }
    if (type->Count != 0 && type->pOptParam != nullptr) {
        std::memcpy(options, type->pOptParam, type->Count * sizeof(OPTPARAM));
    }
    for (DWORD n = 0; n < appended; ++n) {
        OPTPARAM& option = options[type->Count + n];
        lstrcpynW(names[n], media[n].name, static_cast<int>(std::size(names[n])));
        option.cbSize = sizeof(OPTPARAM);
        option.pData = names[n];
        option.lParam = kCustomPaper + static_cast<LPARAM>(n);
        paperIndices_[n] = media[n].paperIndex;
    }
    described_ = type->pOptParam;
    describedCount_ = type->Count;
    options_ = options;
    names_ = names;
    appended_ = appended;
    type->pOptParam = options;
    type->Count = static_cast<WORD>(count);
}

LONG_PTR VORTAOptItemHandlerPAPERSIZE::GetValue(BOOL* isText) {
    const LONG_PTR value = VORTAOptItemHandlerCombobox::GetValue(isText);
    return lost_ ? 0 : value;
}

void VORTAOptItemHandlerPAPERSIZE::LoadState(LPCWSTR text, BOOL* complete) {
    BOOL restored = TRUE;
    lost_ = false;
    VORTAOptItemHandlerCombobox::LoadState(text, &restored);
    lost_ = !restored;
    if (!restored && complete != nullptr) {
        *complete = FALSE;
    }
}

void VORTAOptItemHandlerPAPERSIZE::Commit(BOOL isCancel) {
    const POEMCUIPPARAM param = Factory()->Environment().param;
    LONG_PTR paper = GetValue(nullptr);
    if (paper >= kCustomPaper) {
        const auto n = static_cast<DWORD>(paper & ~kCustomPaper);
        paper = n < appended_ ? paperIndices_[n] : 0;
    }
    if (isCancel || param == nullptr || param->pPublicDM == nullptr || paper == 0) {
        return;
    }
    param->pPublicDM->dmPaperSize = static_cast<short>(paper);
}

void VORTAOptItemHandlerSCALEDOCONSIZE::Commit(BOOL isCancel) {
    if (!isCancel) {
        StoreSetting(L"_SCALEDOCON_SIZE", static_cast<DWORD>(GetValue(nullptr)), false);
    }
}

LONG VORTAOptItemHandlerWMANGLE::Evaluate(DWORD, DWORD, DWORD) {
    Apply();
    return kNotifyAccept;
}

LONG VORTAOptItemHandlerWMANGLE::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LONG old = VORTAOptItemHandler3States::SetSelection(index, source);
    Apply();
    return old;
}

// Values 2 and 3 are the stored forms of the horizontal and the typed angle.
void VORTAOptItemHandlerWMANGLE::SetSelectionByValue(LONG_PTR value, VORTAOptItemNotify* source) {
    if (value == 2 || value == 3) {
        SetSelection(static_cast<LONG>(value - 1), source);
        return;
    }
    VORTAOptItemHandler3States::SetSelectionByValue(value, source);
}

void VORTAOptItemHandlerWMANGLE::Apply() {
    VORTAOptItemHandler* angle = Factory()->Find(kAngleItem);
    const LONG selection = GetSelection(0);
    if (angle == nullptr || (selection != kAlongDiagonal && selection != kHorizontal)) {
        return;
    }
    LONG degrees = 0;
    if (selection == kAlongDiagonal) {
        VORTAOptItemHandler* paper = Factory()->Find(kPaperItem);
        VORTAOptItemHandler* orientation = Factory()->Find(kOrientationItem);
        const bool landscape = orientation != nullptr && orientation->GetValue(nullptr) != 0;
        degrees = paper != nullptr
                      ? DiagonalAngle(static_cast<short>(paper->GetValue(nullptr)), landscape)
                      : 0;
    }
    angle->SetSelectionByValue(degrees, this);
}

} // namespace moltr::ui
