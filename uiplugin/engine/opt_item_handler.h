#pragma once
// VORTAOptItemHandler: the one object that reads and changes an option item. It moves the
// selection under its control type's rules, tells the notification chain and the host of every
// change, saves and restores its state for quick settings and writes derived settings on commit.
#include <windows.h>
#include <compstui.h>
#include "uiplugin/engine/opt_item_notify.h"

namespace moltr::ui {

class VORTAOptItemHandlerFactory;
class QuickSettingsText;

// Longest option or selection text a handler hands out, terminator included.
inline constexpr size_t kOptionTextMax = 256;

// Bits of the enable mask: the first disables the item's control; all eight make it read-only.
inline constexpr DWORD kDisabledControl = 0x1;
inline constexpr DWORD kAllEnableBits = 0xFF;
// The state word: whether the item's control stands on the page.
inline constexpr DWORD kStateRemoved = 0;
inline constexpr DWORD kStateShown = 1;
// SetOptionVisible: hiding the selected option leaves the selection where it is.
inline constexpr DWORD kKeepSelection = 0x8000;

class VORTAOptItemHandler : public VORTAOptItemNotify {
public:
    VORTAOptItemHandler(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);

    // 2: the own string shown for the host's string `hostId`; 0 keeps the host's.
    virtual UINT GetStringForId(UINT hostId);
    // 3
    virtual ULONG_PTR GetCheckedIcon();
    // 4, 5
    virtual DWORD GetOptionCount();
    virtual DWORD GetVisibleOptionCount();
    // 6: 1 when changes are not mirrored to the host.
    virtual BOOL IsUnbound();
    // 7, 8: OPTPF_ flags of option `i`.
    virtual BYTE GetOptionFlags(DWORD i);
    virtual BYTE ChangeOptionFlags(DWORD i, BYTE set, BYTE clear, VORTAOptItemNotify* source);
    // 9: the text of option `i` into `text`; "" when out of range.
    virtual void GetOptionText(DWORD i, WCHAR (&text)[kOptionTextMax], BOOL* visible);
    // 10: `text` stays owned by the caller and must outlive the item.
    virtual void SetOptionText(DWORD i, LPWSTR text);
    // 11, 12
    virtual ULONG_PTR GetOptionIcon(DWORD i, BOOL* visible);
    virtual void SetOptionIcon(DWORD i, ULONG_PTR icon);
    // 13, 14: the option's lParam (of the alternate source when there is one).
    virtual LPARAM GetOptionValue(DWORD i, BOOL* visible);
    virtual void SetOptionValue(DWORD i, LPARAM value);
    // 15, 16
    virtual void GetSelectionText(WCHAR (&text)[kOptionTextMax]);
    virtual ULONG_PTR GetSelectionIcon();
    // 17: moves the selection by `delta`, wrapping or clamping; answers the old selection.
    virtual LONG Step(LONG delta);
    // 18, 19
    virtual void CaptureName(HWND window);
    virtual LPCWSTR GetCapturedName();
    // 20: the selection as the control bound by `linkId` shows it (0: the item's own).
    virtual LONG GetSelection(DWORD linkId);
    // 21: the central setter; answers the old selection.
    virtual LONG SetSelection(LONG index, VORTAOptItemNotify* source);
    // 22, 23, 24, 25
    virtual void SetSelectionFromText(LPCWSTR text);
    virtual void SetSelectionByValue(LONG_PTR value, VORTAOptItemNotify* source);
    virtual LONG_PTR GetValueOf(LONG index);
    virtual LONG_PTR GetValue(BOOL* isText);
    // 26: answers 1 when the push's dialog ended with OK.
    virtual LONG Activate(HWND window);
    // 27, 28
    virtual void Commit(BOOL isCancel);
    virtual void Revert();
    // 29, 30
    virtual BOOL IsEnabled(DWORD linkId, DWORD mask);
    virtual DWORD GetState();
    // 31: appends this item's quick-settings record; false without memory.
    virtual bool SaveState(QuickSettingsText& text);
    // 32: applies a record's value text; `complete` (may be null) is cleared when the value could
    // not be restored as saved.
    virtual void LoadState(LPCWSTR text, BOOL* complete);

    DWORD ItemId() const { return itemId_; }
    POPTITEM Item() const { return item_; }
    VORTAOptItemHandlerFactory* Factory() const { return factory_; }
    void SetAlternateSource(POPTITEM source) { alternate_ = source; }
    void SetStepRange(LONG minimum, LONG maximum, bool wrap);
    void SetEnableMask(DWORD mask) { enableMask_ = mask; }

    // What constraints change on an item; the dialog shows each change, or it waits for one.
    void Disable(DWORD bits);
    void Enable(DWORD bits);
    void SetState(DWORD state);
    // Hiding the selected option moves the selection to the first visible option unless `flags`
    // holds kKeepSelection.
    void SetOptionVisible(DWORD i, bool show, DWORD flags);
    // The balloon shown at the item's control; kind 0 takes it away.
    void SetBubble(DWORD kind, UINT textId, UINT captionId);
    DWORD BubbleKind() const { return bubble_.kind; }
    UINT BubbleText() const { return bubble_.textId; }
    UINT BubbleCaption() const { return bubble_.captionId; }

    // The factory's list of handlers whose changes wait for a dialog.
    VORTAOptItemHandler* NextPending() const { return nextPending_; }
    void SetNextPending(VORTAOptItemHandler* next) { nextPending_ = next; }
    bool IsQueued() const { return queued_; }
    void SetQueued(bool queued) { queued_ = queued; }

protected:
    // The OPTPARAM `i`, or null when out of range or without options.
    POPTPARAM Option(DWORD i) const;
    BYTE ControlType() const;
    // Whether a value is the selection itself rather than an option's value.
    bool ValuesAreSelections() const;
    // Tells the host of the item's new state.
    void UpdateHost();
    // Hands the change to the dialog or queues it until one is attached.
    void Propagate(VORTAOptItemNotify* source);
    // Sets the item `shadowId` that shows the same choice on an own page, by value.
    void SetShadow(DWORD shadowId, LONG_PTR value);
    // Stores `value` into `field` of the current sheet's settings: the private devmode of a
    // document sheet, or the printer settings.
    void StoreSetting(LPCWSTR field, DWORD value, bool printerSettings);

private:
    struct Bubble {
        DWORD kind;
        UINT textId;
        UINT captionId;
    };
    // The first option without OPTPF_HIDE; -1 when every option is hidden.
    LONG FirstVisibleOption();

    VORTAOptItemHandlerFactory* factory_;
    POPTITEM item_;
    POPTITEM alternate_ = nullptr;
    DWORD itemId_;
    bool wrap_ = true;
    LONG minimum_ = 0;
    LONG maximum_ = 0;
    VORTAOptItemNotify* link_ = nullptr; // bound dialog link; none until links exist
    VORTAOptItemHandler* nextPending_ = nullptr;
    bool queued_ = false;
    bool reentered_ = false;
    DWORD enableMask_ = 0;
    DWORD state_ = kStateShown;
    Bubble bubble_ = {};
};

} // namespace moltr::ui
