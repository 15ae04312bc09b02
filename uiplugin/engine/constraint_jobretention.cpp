#include "uiplugin/engine/constraint_jobretention.h"

namespace moltr::ui {

namespace {

constexpr DWORD kRetention = 5053;
constexpr DWORD kJobMode = 5102;
constexpr DWORD kJobName = 5152;
constexpr DWORD kUserName = 5202;
constexpr DWORD kPreview = 5253;
constexpr DWORD kPin = 5302;
constexpr DWORD kShowPin = 5350;

// Open while retention is on; the preview also needs the printer's job language off.
constexpr DWORD kRetentionItems[] = {kJobMode, kUserName, kJobName, kPin, kShowPin};

// The job mode of a private job, which asks for a PIN instead of a preview.
constexpr LONG_PTR kPrivateJob = 3;
// The job mode that keeps the job on the printer; a RAM disk does not keep it.
constexpr DWORD kStoredJobOption = 3;
constexpr DWORD kJobModeModels[] = {7, 16};

constexpr DWORD kStorageNoteKind = 0x100;
constexpr UINT kNoStorageShort = 33422;
constexpr UINT kNoStorage = 33428;
constexpr DWORD kShortNoteModels[] = {4, 6, 13, 15};

void AllowChanges(VORTAOptItemHandler& item, bool allowed) {
    if (allowed) {
        item.Enable(kDisabledControl);
    } else {
        item.Disable(kDisabledControl);
    }
}

} // namespace

VORTAOptItemConstraintJOBRETENTION::VORTAOptItemConstraintJOBRETENTION(
    VORTAOptItemHandlerFactory* factory)
    : VORTAOptItemConstraint(factory), ramDisk_(PrinterFlag(L"_RAMDISK") == 1),
      compactFlash_(PrinterFlag(L"_CFLASH") == 1), pjl_(PrinterFlag(L"_ENABLEPJL") != 0) {
    Subscribe(kRetention, true);
    Subscribe(kJobMode, true);
}

LONG VORTAOptItemConstraintJOBRETENTION::Evaluate(DWORD itemId, DWORD value, DWORD) {
    const bool attached = IsEvent(itemId, value, kEventAttached);
    if (attached) {
        ShowStorageNote();
    }
    if (attached || itemId == kRetention) {
        FollowRetention();
    }
    if (attached || itemId == kJobMode) {
        OfferJobModes();
        FollowJobMode();
    }
    // The PIN is never shown as the page opens or a quick setting comes back.
    if (attached || value == kEventRestored) {
        if (VORTAOptItemHandler* showPin = Lookup(kShowPin)) {
            showPin->SetSelectionByValue(0, this);
        }
    }
    return kNotifyAccept;
}

void VORTAOptItemConstraintJOBRETENTION::ShowStorageNote() {
    VORTAOptItemHandler* retention = Lookup(kRetention);
    if (retention == nullptr) {
        return;
    }
    if (ramDisk_ || compactFlash_) {
        retention->SetBubble(0, 0, 0);
        return;
    }
    retention->SetBubble(kStorageNoteKind,
                         IsOneOf(ModelClass(), kShortNoteModels) ? kNoStorageShort : kNoStorage,
                         kCaptionNote);
}

void VORTAOptItemConstraintJOBRETENTION::FollowRetention() {
    VORTAOptItemHandler* retention = Lookup(kRetention);
    const bool on = retention != nullptr && retention->IsEnabled(0, kDisabledControl) &&
                    retention->GetValue(nullptr) == 1;
    for (DWORD id : kRetentionItems) {
        if (VORTAOptItemHandler* item = Lookup(id)) {
            AllowChanges(*item, on);
        }
    }
    if (VORTAOptItemHandler* preview = Lookup(kPreview)) {
        AllowChanges(*preview, on && !pjl_);
    }
}

void VORTAOptItemConstraintJOBRETENTION::OfferJobModes() {
    VORTAOptItemHandler* mode = Lookup(kJobMode);
    if (mode == nullptr || !IsOneOf(ModelClass(), kJobModeModels)) {
        return;
    }
    for (DWORD i = 0; i < kStoredJobOption; ++i) {
        mode->SetOptionVisible(i, true, 0);
    }
    mode->SetOptionVisible(kStoredJobOption, !ramDisk_, 0);
}

void VORTAOptItemConstraintJOBRETENTION::FollowJobMode() {
    VORTAOptItemHandler* mode = Lookup(kJobMode);
    if (mode == nullptr) {
        return;
    }
    const bool privateJob = mode->GetValue(nullptr) == kPrivateJob;
    const struct {
        DWORD id;
        bool shown;
    } states[] = {{kPreview, !privateJob}, {kPin, privateJob}, {kShowPin, privateJob}};
    for (const auto& state : states) {
        if (VORTAOptItemHandler* item = Lookup(state.id)) {
            item->SetState(state.shown ? kStateShown : kStateRemoved);
        }
    }
}

} // namespace moltr::ui
