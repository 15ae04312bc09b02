#pragma once
// VORTAOptItemConstraintCOLORLEGACY: the colour page of the older models. The colour mode decides
// which of the screening, colour-matching and nine adjustment items stand on the page and what the
// adjustments hold; monochrome printing closes the items of the mode.
#include <windows.h>
#include "uiplugin/engine/opt_item_constraint.h"

namespace moltr::ui {

inline constexpr DWORD kColorAdjustmentCount = 9;

class VORTAOptItemConstraintCOLORLEGACY : public VORTAOptItemConstraint {
public:
    // A colour mode whose adjustments take fixed values.
    struct Preset;

    explicit VORTAOptItemConstraintCOLORLEGACY(VORTAOptItemHandlerFactory* factory);
    LONG Evaluate(DWORD itemId, DWORD value, DWORD flags) override;

private:
    // `userChange`: the user chose the mode, rather than the page opening on it or a quick
    // setting bringing it back.
    void FollowMode(LONG_PTR mode, bool userChange);
    // The adjustments take a mode's fixed values.
    void ApplyPreset(const Preset& preset);
    // The adjustments are the user's again.
    void OpenAdjustments(bool restoreValues);
    // Colour matching replaces the adjustments.
    void OpenColorMatching(bool restoreValue);
    void ShowAdjustmentsIfRemoved(VORTAOptItemHandler* first);
    void FollowColor(LONG_PTR mode);
    void KeepAdjustments();

    LONG_PTR kept_[kColorAdjustmentCount] = {};
    bool hasKept_[kColorAdjustmentCount] = {};
    LONG_PTR lastColorMatching_ = 0;
    // The adjustments hold a preset's values, not the user's.
    bool presetHeld_ = false;
};

} // namespace moltr::ui
