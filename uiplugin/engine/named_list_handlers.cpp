#include "uiplugin/engine/named_list_handlers.h"
#include <cstring>
#include "uiplugin/engine/opt_item_handler_factory.h"

namespace moltr::ui {

VORTAOptItemHandlerQSCOMBOBOX::~VORTAOptItemHandlerQSCOMBOBOX() {
    for (DWORD i = 0; i < entryCount_; ++i) {
        if (entries_[i].states != nullptr) {
            HeapFree(Heap(), 0, entries_[i].states);
        }
    }
    if (entries_ != nullptr) {
        HeapFree(Heap(), 0, entries_);
    }
}

// The applied states do not include the list itself, so applying never comes back here; a
// hostile stored text that names the list is not applied a second time.
LONG VORTAOptItemHandlerQSCOMBOBOX::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LPCWSTR states = index >= 0 && source == nullptr && !applying_
                               ? EntryStates(static_cast<DWORD>(index))
                               : nullptr;
    if (states != nullptr) {
        applying_ = true;
        Factory()->RestoreStates(states, entries_[index].length);
        applying_ = false;
    }
    return VORTAOptItemHandlerCombobox::SetSelection(index, source);
}

void VORTAOptItemHandlerQSCOMBOBOX::CaptureName(HWND window) {
    name_[0] = 0;
    if (window != nullptr) {
        GetWindowTextW(window, name_, static_cast<int>(kQuickSettingNameMax));
    }
}

LPCWSTR VORTAOptItemHandlerQSCOMBOBOX::GetCapturedName() {
    return name_;
}

LPCWSTR VORTAOptItemHandlerQSCOMBOBOX::EntryStates(DWORD i) const {
    return i < entryCount_ ? entries_[i].states : nullptr;
}

bool VORTAOptItemHandlerQSCOMBOBOX::MakeEntries() {
    if (entries_ != nullptr) {
        return true;
    }
    const DWORD count = GetOptionCount();
    if (count == 0) {
        return false;
    }
    entries_ = static_cast<Entry*>(HeapAlloc(Heap(), HEAP_ZERO_MEMORY, count * sizeof(Entry)));
    if (entries_ == nullptr) {
        return false;
    }
    entryCount_ = count;
    for (DWORD i = 0; i < count; ++i) {
        entries_[i].described = Option(i)->pData;
    }
    return true;
}

bool VORTAOptItemHandlerQSCOMBOBOX::StoreEntry(DWORD i, LPCWSTR name, LPCWSTR states,
                                               size_t length) {
    if (!MakeEntries() || i >= entryCount_ || states == nullptr) {
        return false;
    }
    LPWSTR copy =
        static_cast<LPWSTR>(HeapAlloc(Heap(), HEAP_ZERO_MEMORY, (length + 1) * sizeof(WCHAR)));
    if (copy == nullptr) {
        return false;
    }
    std::memcpy(copy, states, length * sizeof(WCHAR));
    Entry& entry = entries_[i];
    if (entry.states != nullptr) {
        HeapFree(Heap(), 0, entry.states);
    }
    entry.states = copy;
    entry.length = length;
    if (name != nullptr) {
        lstrcpynW(entry.name, name, static_cast<int>(kQuickSettingNameMax));
        SetOptionText(i, entry.name);
    }
    SetOptionVisible(i, true, 0);
    return true;
}

void VORTAOptItemHandlerQSCOMBOBOX::FreeEntry(DWORD i) {
    if (i >= entryCount_) {
        return;
    }
    Entry& entry = entries_[i];
    if (entry.states != nullptr) {
        HeapFree(Heap(), 0, entry.states);
    }
    entry.states = nullptr;
    entry.length = 0;
    entry.name[0] = 0;
    SetOptionText(i, entry.described);
    SetOptionVisible(i, false, kKeepSelection);
}

} // namespace moltr::ui
