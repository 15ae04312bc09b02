#pragma once
// The lists of named entries on the own pages (quick settings, custom media sizes) and the edit
// boxes where their names are typed. What the entries hold comes with their own objects; these
// handlers carry the choice and the name.
#include <windows.h>
#include "uiplugin/engine/generic_handlers.h"

namespace moltr::ui {

// Longest name of a quick setting, terminator included.
inline constexpr size_t kQuickSettingNameMax = 64;

// The quick settings: each option is a slot; a shown slot is an entry that may hold the item
// states stored under its name, a hidden one is free.
class VORTAOptItemHandlerQSCOMBOBOX : public VORTAOptItemHandlerCombobox {
public:
    using VORTAOptItemHandlerCombobox::VORTAOptItemHandlerCombobox;
    ~VORTAOptItemHandlerQSCOMBOBOX() override;

    // The user's choice (no `source`) of an entry first applies the states it holds.
    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
    // Keeps the text of the list's edit window.
    void CaptureName(HWND window) override;
    LPCWSTR GetCapturedName() override;

    // The states entry `i` holds, or null.
    LPCWSTR EntryStates(DWORD i) const;
    // Entry `i` holds `length` characters of `states` from now on and is shown, named `name`
    // (null keeps its text); false without memory.
    bool StoreEntry(DWORD i, LPCWSTR name, LPCWSTR states, size_t length);
    // Entry `i` becomes a free slot again: hidden, without states, with its described text.
    void FreeEntry(DWORD i);
    // Whether the states of an entry are being applied.
    bool IsApplying() const { return applying_; }

private:
    struct Entry {
        LPWSTR states;
        size_t length;
        LPWSTR described; // the option's text from the description
        WCHAR name[kQuickSettingNameMax];
    };
    // The slots' entries, made on first use; false without memory.
    bool MakeEntries();

    Entry* entries_ = nullptr;
    DWORD entryCount_ = 0;
    bool applying_ = false;
    WCHAR name_[kQuickSettingNameMax];
};

class VORTAOptItemHandlerQSEDITBOX : public VORTAOptItemHandlerEditbox {
public:
    using VORTAOptItemHandlerEditbox::VORTAOptItemHandlerEditbox;
};

class VORTAOptItemHandlerCMEDITBOX : public VORTAOptItemHandlerEditbox {
public:
    using VORTAOptItemHandlerEditbox::VORTAOptItemHandlerEditbox;
};

} // namespace moltr::ui
