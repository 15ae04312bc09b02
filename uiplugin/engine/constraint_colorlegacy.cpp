#include "uiplugin/engine/constraint_colorlegacy.h"

namespace moltr::ui {

namespace {

constexpr DWORD kColor = 6;
constexpr DWORD kColorMode = 4053;
constexpr DWORD kColorMatching = 10;
constexpr DWORD kColorMatchingItems[] = {4100, kColorMatching, 11};
constexpr DWORD kFirstAdjustment = 4252;
constexpr DWORD kAdjustments[kColorAdjustmentCount] = {
    kFirstAdjustment, 4302, 4352, 4402, 4452, 4502, 4552, 4602, 4652};

// The colour modes beside those with fixed adjustments: the user's adjustments, or colour
// matching.
constexpr LONG_PTR kModeAdjusted = 9;
constexpr LONG_PTR kModeMatched = 10;
// Colour matching switched on when nothing was kept.
constexpr LONG_PTR kColorMatchingOn = 1;

} // namespace

struct VORTAOptItemConstraintCOLORLEGACY::Preset {
    LONG_PTR mode;
    LONG_PTR values[kColorAdjustmentCount];
};

namespace {

using Preset = VORTAOptItemConstraintCOLORLEGACY::Preset;

constexpr Preset kPresets[] = {
    {2, {2, 1, 18, 0, 0, 0, 0, 0, 0}},
    {5, {4, 2, 18, 0, 0, 0, 0, 0, 0}},
};

const Preset* PresetOf(LONG_PTR mode) {
    for (const Preset& preset : kPresets) {
        if (preset.mode == mode) {
            return &preset;
        }
    }
    return nullptr;
}

void Remove(VORTAOptItemHandler& item) {
    item.SetState(kStateRemoved);
}

void Show(VORTAOptItemHandler& item) {
    item.SetState(kStateShown);
}

void Close(VORTAOptItemHandler& item) {
    item.Disable(kDisabledControl);
}

void Open(VORTAOptItemHandler& item) {
    item.Enable(kDisabledControl);
}

constexpr DWORD kMonochromeNoteKind = 0x4000;
constexpr UINT kMonochromeNote = 33418;

} // namespace

VORTAOptItemConstraintCOLORLEGACY::VORTAOptItemConstraintCOLORLEGACY(
    VORTAOptItemHandlerFactory* factory)
    : VORTAOptItemConstraint(factory) {
    Subscribe(kColor, true);
    Subscribe(kColorMode, true);
}

// The monochrome rule also follows a change of mode, so that a mode chosen while printing in
// monochrome does not open its items.
LONG VORTAOptItemConstraintCOLORLEGACY::Evaluate(DWORD itemId, DWORD value, DWORD) {
    VORTAOptItemHandler* mode = Lookup(kColorMode);
    if (mode == nullptr) {
        return kNotifyAccept;
    }
    const bool attached = IsEvent(itemId, value, kEventAttached);
    const bool userChange = !attached && value != kEventRestored;
    if (attached || itemId == kColorMode) {
        FollowMode(mode->GetValue(nullptr), userChange);
    }
    if (attached || itemId == kColorMode || itemId == kColor) {
        FollowColor(mode->GetValue(nullptr));
    }
    return kNotifyAccept;
}

void VORTAOptItemConstraintCOLORLEGACY::FollowMode(LONG_PTR mode, bool userChange) {
    if (const Preset* preset = PresetOf(mode)) {
        ApplyPreset(*preset);
    } else if (mode == kModeAdjusted) {
        OpenAdjustments(userChange);
    } else if (mode == kModeMatched) {
        OpenColorMatching(userChange);
    }
}

// What the user had set is kept once, as a preset takes the items over; a second preset, or the
// page attached again, finds them taken already.
void VORTAOptItemConstraintCOLORLEGACY::ApplyPreset(const Preset& preset) {
    ForEachItem(kColorMatchingItems, Remove);
    VORTAOptItemHandler* first = Lookup(kFirstAdjustment);
    if (first != nullptr && first->IsEnabled(0, kAllEnableBits)) {
        ForEachItem(kAdjustments, Close);
    }
    if (!presetHeld_) {
        KeepAdjustments();
        presetHeld_ = true;
    }
    for (DWORD i = 0; i < kColorAdjustmentCount; ++i) {
        if (VORTAOptItemHandler* item = Lookup(kAdjustments[i])) {
            item->SetSelectionByValue(preset.values[i], this);
        }
    }
    ShowAdjustmentsIfRemoved(first);
}

// Colour matching is off in this mode; what it was is kept for the matching mode, unless it was
// off already (the page may be attached more than once).
void VORTAOptItemConstraintCOLORLEGACY::OpenAdjustments(bool restoreValues) {
    if (VORTAOptItemHandler* matching = Lookup(kColorMatching)) {
        const LONG_PTR current = matching->GetValue(nullptr);
        lastColorMatching_ = current != 0 ? current : lastColorMatching_;
        matching->SetSelectionByValue(0, this);
    }
    ForEachItem(kColorMatchingItems, Remove);
    for (DWORD i = 0; i < kColorAdjustmentCount && restoreValues; ++i) {
        VORTAOptItemHandler* item = Lookup(kAdjustments[i]);
        if (item != nullptr && hasKept_[i]) {
            item->SetSelectionByValue(kept_[i], this);
        }
    }
    presetHeld_ = false;
    VORTAOptItemHandler* first = Lookup(kFirstAdjustment);
    if (first != nullptr && !first->IsEnabled(0, kAllEnableBits)) {
        ForEachItem(kAdjustments, Open);
    }
    ShowAdjustmentsIfRemoved(first);
}

void VORTAOptItemConstraintCOLORLEGACY::OpenColorMatching(bool restoreValue) {
    VORTAOptItemHandler* matching = Lookup(kColorMatching);
    if (matching != nullptr && restoreValue) {
        matching->SetSelectionByValue(
            lastColorMatching_ != 0 ? lastColorMatching_ : kColorMatchingOn, this);
    }
    if (!presetHeld_) {
        KeepAdjustments();
    }
    ForEachItem(kColorMatchingItems, Show);
    ForEachItem(kAdjustments, Remove);
}

void VORTAOptItemConstraintCOLORLEGACY::ShowAdjustmentsIfRemoved(VORTAOptItemHandler* first) {
    if (first != nullptr && first->GetState() == kStateRemoved) {
        ForEachItem(kAdjustments, Show);
    }
}

// Monochrome closes the items the mode leaves to the user; colour opens them again.
void VORTAOptItemConstraintCOLORLEGACY::FollowColor(LONG_PTR mode) {
    VORTAOptItemHandler* color = Lookup(kColor);
    VORTAOptItemHandler* modeItem = Lookup(kColorMode);
    if (color == nullptr || modeItem == nullptr) {
        return;
    }
    if (color->GetValue(nullptr) != 0) {
        modeItem->SetBubble(0, 0, 0);
        if (mode == kModeAdjusted) {
            ForEachItem(kAdjustments, Open);
        } else if (mode == kModeMatched) {
            ForEachItem(kColorMatchingItems, Open);
        }
        return;
    }
    modeItem->SetBubble(kMonochromeNoteKind, kMonochromeNote, kCaptionNote);
    if (mode == kModeMatched) {
        ForEachItem(kColorMatchingItems, Close);
    } else {
        ForEachItem(kAdjustments, Close);
    }
}

void VORTAOptItemConstraintCOLORLEGACY::KeepAdjustments() {
    for (DWORD i = 0; i < kColorAdjustmentCount; ++i) {
        VORTAOptItemHandler* item = Lookup(kAdjustments[i]);
        hasKept_[i] = item != nullptr;
        kept_[i] = item != nullptr ? item->GetValue(nullptr) : 0;
    }
}

} // namespace moltr::ui
