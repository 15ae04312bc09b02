#include "uiplugin/engine/opt_item_handler_factory.h"
#include <prsht.h>
#include <cstring>
#include "uiplugin/engine/generic_handlers.h"
#include "uiplugin/engine/hex_text.h"
#include "uiplugin/engine/item_controls.h"
#include "uiplugin/engine/item_identity.h"
#include "uiplugin/engine/opt_item_handler.h"
#include "uiplugin/engine/quick_settings_text.h"
#ifndef _WIN32
#include "sim/option_item_views.h"
#endif

namespace moltr::ui {

namespace {

// The Apply button of a property sheet.
constexpr int kApplyButton = 12321;
constexpr DWORD kGrowBy = 16;

// Grows a heap array of `T` to hold `needed` elements; false without memory.
template <typename T> bool Grow(HANDLE heap, T** array, DWORD* capacity, DWORD needed) {
    if (needed <= *capacity) {
        return true;
    }
    const DWORD capacityNew = *capacity + kGrowBy;
    const SIZE_T bytes = capacityNew * sizeof(T);
    void* grown = *array == nullptr ? HeapAlloc(heap, HEAP_ZERO_MEMORY, bytes)
                                    : HeapReAlloc(heap, HEAP_ZERO_MEMORY, *array, bytes);
    if (grown == nullptr) {
        return false;
    }
    *array = static_cast<T*>(grown);
    *capacity = capacityNew;
    return true;
}

#ifndef _WIN32
sim::PublishedItem ViewOf(VORTAOptItemHandler* handler, bool own) {
    sim::PublishedItem view;
    view.id = handler->ItemId();
    view.own = own;
    view.item = handler->Item();
    for (DWORD i = 0; i < handler->GetOptionCount(); ++i) {
        WCHAR text[kOptionTextMax] = {};
        handler->GetOptionText(i, text, nullptr);
        view.options.push_back({reinterpret_cast<const char16_t*>(text), handler->GetOptionFlags(i),
                                handler->GetOptionIcon(i, nullptr),
                                handler->GetOptionValue(i, nullptr)});
    }
    return view;
}
#endif

} // namespace

VORTAOptItemHandlerFactory::VORTAOptItemHandlerFactory(const FactoryEnvironment& environment)
    : VORTAOptItemNotify(environment.heap, nullptr), environment_(environment) {
    PublishItems(true);
}

// On the host build the simulation shows the items as the factory knows them to the tools that
// drive the sheets; nothing of this exists on Windows.
void VORTAOptItemHandlerFactory::PublishItems(bool publish) {
#ifndef _WIN32
    if (!publish) {
        sim::WithdrawOptionItems(this);
        return;
    }
    sim::PublishOptionItems(this, [this] {
        sim::OptionItemsView view;
        view.uiType = environment_.uiType;
        ForEach([&](VORTAOptItemHandler* handler) {
            if (handler->Item() != nullptr) {
                view.items.push_back(ViewOf(handler, IsOwnItem(handler->Item())));
            }
        });
        return view;
    });
#else
    (void)publish;
#endif
}

bool VORTAOptItemHandlerFactory::IsOwnItem(const OPTITEM* item) const {
    const POEMCUIPPARAM param = environment_.param;
    return param != nullptr && param->pOEMOptItems != nullptr && item >= param->pOEMOptItems &&
           item < param->pOEMOptItems + param->cOEMOptItems;
}

VORTAOptItemHandlerFactory::~VORTAOptItemHandlerFactory() {
    PublishItems(false);
    ForEach([](VORTAOptItemHandler* handler) { delete handler; });
    if (entries_ != nullptr) {
        HeapFree(Heap(), 0, entries_);
    }
    if (instances_ != nullptr) {
        HeapFree(Heap(), 0, instances_);
    }
}

// A rejected change has been taken back by its handler; the dialog shows the old choice again.
LONG VORTAOptItemHandlerFactory::Notify(DWORD itemId, DWORD value, DWORD flags) {
    const LONG result = VORTAOptItemNotify::Notify(itemId, value, flags);
    if (itemId == 0 && value == kEventRejected) {
        FlushPending();
    }
    return result;
}

DWORD VORTAOptItemHandlerFactory::FeatureInstance(ULONG_PTR userData) {
    for (DWORD i = 0; i < instanceCount_; ++i) {
        if (instances_[i] == userData) {
            return i;
        }
    }
    // The position goes into 16 bits of the id.
    if (instanceCount_ >= 0xFFFF ||
        !Grow(Heap(), &instances_, &instanceCapacity_, instanceCount_ + 1)) {
        return 0;
    }
    instances_[instanceCount_] = userData;
    return instanceCount_++;
}

DWORD VORTAOptItemHandlerFactory::ItemId(const OPTITEM& item) {
    if (item.DMPubID >= 100) {
        return item.DMPubID + kUserItemStride * item.UserItemID;
    }
    if (item.DMPubID != 0) {
        return item.DMPubID;
    }
    DWORD stringId = 0;
    DWORD itemId = 0;
    if (ParseHashName(item.pName, &stringId, &itemId)) {
        return itemId;
    }
    if (item.HelpIndex == 0) {
        return 0;
    }
    if (IsPerFeatureHelpIndex(item.HelpIndex)) {
        return item.HelpIndex | (FeatureInstance(item.UserData) << 16) | kHelpIndexId;
    }
    return item.HelpIndex | kHelpIndexId;
}

VORTAOptItemHandler* VORTAOptItemHandlerFactory::Find(DWORD itemId) const {
    for (DWORD i = 0; i < count_; ++i) {
        if (entries_[i].itemId == itemId) {
            return entries_[i].handler;
        }
    }
    return nullptr;
}

VORTAOptItemHandler* VORTAOptItemHandlerFactory::FindOrCreate(DWORD itemId) {
    if (VORTAOptItemHandler* handler = Find(itemId)) {
        return handler;
    }
    VORTAOptItemHandler* handler = new (Heap()) VORTAOptItemHandlerDefault(this, itemId);
    return handler != nullptr && File(itemId, handler) ? handler : nullptr;
}

bool VORTAOptItemHandlerFactory::File(DWORD itemId, VORTAOptItemHandler* handler) {
    if (!Grow(Heap(), &entries_, &capacity_, count_ + 1)) {
        delete handler;
        return false;
    }
    entries_[count_++] = {itemId, handler};
    return true;
}

VORTAOptItemHandler* VORTAOptItemHandlerFactory::CreateGeneric(POPTITEM item, DWORD itemId) {
    return CreateGenericHandler(this, item, itemId);
}

HRESULT VORTAOptItemHandlerFactory::RegisterItem(POPTITEM item) {
    if (item == nullptr) {
        return E_INVALIDARG;
    }
    const DWORD itemId = ItemId(*item);
    if (itemId == 0 || Find(itemId) != nullptr) {
        return S_FALSE;
    }
    VORTAOptItemHandler* handler = CreateGeneric(item, itemId);
    return handler != nullptr && File(itemId, handler) ? S_OK : S_FALSE;
}

void VORTAOptItemHandlerFactory::BindControls(HWND, VORTAOptItemHandler*) {}

HRESULT VORTAOptItemHandlerFactory::FinishRegistration() {
    active_ = true;
    return S_OK;
}

void VORTAOptItemHandlerFactory::AfterFinish() {}

void VORTAOptItemHandlerFactory::InitialState() {}

// The plug-in's first-level items are hidden only to keep them off the host's page; a dialog
// that shows them needs them visible.
void VORTAOptItemHandlerFactory::AttachDialog(HWND window) {
    dialog_ = window;
    ForEach([&](VORTAOptItemHandler* handler) {
        const POPTITEM item = handler->Item();
        if (IsOwnItem(item) && handler->ItemId() < 100) {
            item->Flags &= ~OPTIF_HIDE;
        }
        BindControls(window, handler);
    });
    ForEach([](VORTAOptItemHandler* handler) { handler->Notify(0, kEventAttached, 0); });
    FlushPending();
    ShowItems(window);
    const HWND apply = GetDlgItem(GetParent(window), kApplyButton);
    applyEnabled_ = apply != nullptr && IsWindowEnabled(apply);
}

// Every control shows its item as the dialog appears; a page shown again may have missed changes
// made on another page.
void VORTAOptItemHandlerFactory::ShowItems(HWND window) {
    showing_ = true;
    ForEach([&](VORTAOptItemHandler* handler) { ShowInControl(window, *handler); });
    showing_ = false;
}

// The control's item takes the user's change; the controls of every item it changed follow.
bool VORTAOptItemHandlerFactory::TakeControlChange(HWND control, UINT code) {
    const HWND value = ValueControlOf(control);
    const int id = value != nullptr ? GetDlgCtrlID(value) : 0;
    VORTAOptItemHandler* handler = id > 0 ? Find(static_cast<DWORD>(id)) : nullptr;
    if (showing_ || handler == nullptr || !TakeFromControl(value, code, *handler)) {
        return false;
    }
    FlushPending();
    return true;
}

INT_PTR VORTAOptItemHandlerFactory::DialogMessage(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    if (message == WM_NCDESTROY && window == dialog_) {
        dialog_ = nullptr;
        return 0;
    }
    if (message == WM_NOTIFY && lParam != 0 &&
        reinterpret_cast<const NMHDR*>(lParam)->code == PSN_SETACTIVE) {
        dialog_ = window;
        ShowItems(window);
        return 0;
    }
    if (message == WM_HSCROLL || message == WM_VSCROLL) {
        return TakeControlChange(reinterpret_cast<HWND>(lParam), 0) ? 1 : 0;
    }
    if (message != WM_COMMAND) {
        return 0;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCLOSE:
        Commit(FALSE);
        EndDialog(window, 1);
        return 1;
    case IDCANCEL:
        Revert();
        EndDialog(window, 0);
        return 1;
    default:
        return lParam != 0 && TakeControlChange(reinterpret_cast<HWND>(lParam), HIWORD(wParam)) ? 1
                                                                                                : 0;
    }
}

void VORTAOptItemHandlerFactory::Commit(BOOL isCancel) {
    ForEach([&](VORTAOptItemHandler* handler) { handler->Commit(isCancel); });
    if (environment_.sheetKind == kSheetPrinter) {
        ForEach([](VORTAOptItemHandler* handler) { handler->Notify(0, kEventCommitted, 0); });
    }
}

void VORTAOptItemHandlerFactory::Revert() {
    ForEach([](VORTAOptItemHandler* handler) { handler->Revert(); });
}

LONG VORTAOptItemHandlerFactory::Push(POPTITEM item, HWND window, BOOL fromValue) {
    if (item == nullptr) {
        return 0;
    }
    VORTAOptItemHandler* handler = FindOrCreate(ItemId(*item));
    if (handler == nullptr) {
        return 0;
    }
    if (fromValue) {
        handler->SetSelectionByValue(item->Sel, nullptr);
    }
    return handler->Activate(window);
}

// The host has already stored the new selection in its item; the handler takes the change as if
// it made it, so that its rules, the notification chain and the shadows follow.
LONG VORTAOptItemHandlerFactory::Callback(PCPSUICBPARAM param) {
    if (param == nullptr || param->pCurItem == nullptr) {
        return CPSUICB_ACTION_NONE;
    }
    const POPTITEM item = param->pCurItem;
    switch (param->Reason) {
    case CPSUICB_REASON_SEL_CHANGED: {
        VORTAOptItemHandler* handler = FindOrCreate(ItemId(*item));
        if (handler == nullptr) {
            return CPSUICB_ACTION_NONE;
        }
        BOOL isText = FALSE;
        handler->GetValue(&isText);
        if (isText) {
            if (handler->Item() != item) {
                handler->SetSelectionFromText(item->pSel);
            }
            return CPSUICB_ACTION_NONE;
        }
        const LONG chosen = item->Sel;
        if (handler->Item() == item) {
            item->Sel = param->OldSel;
        }
        const LONG before = handler->Item()->Sel;
        handler->SetSelectionByValue(handler->GetValueOf(chosen), nullptr);
        FlushPending();
        return handler->Item()->Sel != before ? CPSUICB_ACTION_OPTIF_CHANGED : CPSUICB_ACTION_NONE;
    }
    case CPSUICB_REASON_PUSHBUTTON:
        Push(item, param->hDlg, FALSE);
        return CPSUICB_ACTION_NONE;
    default:
        return CPSUICB_ACTION_NONE;
    }
}

void VORTAOptItemHandlerFactory::QueuePending(VORTAOptItemHandler* handler, bool atHead) {
    if (handler->IsQueued()) {
        return;
    }
    handler->SetQueued(true);
    if (atHead || pending_ == nullptr) {
        handler->SetNextPending(pending_);
        pending_ = handler;
        return;
    }
    VORTAOptItemHandler* last = pending_;
    while (last->NextPending() != nullptr) {
        last = last->NextPending();
    }
    last->SetNextPending(handler);
}

// The attached dialog's controls show every waiting change.
void VORTAOptItemHandlerFactory::FlushPending() {
    while (pending_ != nullptr) {
        VORTAOptItemHandler* next = pending_->NextPending();
        pending_->SetNextPending(nullptr);
        pending_->SetQueued(false);
        if (dialog_ != nullptr) {
            showing_ = true;
            ShowInControl(dialog_, *pending_);
            showing_ = false;
        }
        pending_ = next;
    }
}

bool VORTAOptItemHandlerFactory::SaveStates(QuickSettingsText& text, const DWORD* skipped,
                                            size_t skippedCount) {
    bool saved = true;
    ForEach([&](VORTAOptItemHandler* handler) {
        for (size_t i = 0; i < skippedCount; ++i) {
            if (skipped[i] == handler->ItemId()) {
                return;
            }
        }
        saved = handler->SaveState(text) && saved;
    });
    return saved;
}

namespace {

// One record of a quick-settings text: where its id and its value begin and end.
struct RecordSpan {
    size_t id;
    size_t idLength;
    size_t value;
    size_t valueLength;
};

// Reads the record at `at`; false when the text there is not a whole record.
bool ReadRecord(LPCWSTR text, size_t length, size_t at, RecordSpan* span) {
    if (at >= length || text[at] != kRecordStart) {
        return false;
    }
    size_t i = at + 1;
    span->id = i;
    while (i < length && text[i] != kRecordValue) {
        ++i;
    }
    span->idLength = i - span->id;
    if (i >= length) {
        return false;
    }
    span->value = ++i;
    while (i < length && text[i] != kRecordEnd) {
        if (text[i] == kRecordStart || text[i] == kRecordValue || text[i] == 0) {
            return false;
        }
        ++i;
    }
    span->valueLength = i - span->value;
    DWORD id = 0;
    return i < length && ParseHex(text + span->id, span->idLength, &id);
}

// The item id of the record `span` of a text that ReadRecord accepted.
DWORD RecordId(LPCWSTR text, const RecordSpan& span) {
    DWORD id = 0;
    ParseHex(text + span.id, span.idLength, &id);
    return id;
}

size_t NextRecord(const RecordSpan& span) {
    return span.value + span.valueLength + 1;
}

// Whether a record before `span` names the same item.
bool NamedBefore(LPCWSTR text, size_t end, const RecordSpan& span) {
    const DWORD id = RecordId(text, span);
    RecordSpan earlier = {};
    for (size_t at = 0; at < span.id - 1; at = NextRecord(earlier)) {
        ReadRecord(text, end, at, &earlier);
        if (RecordId(text, earlier) == id) {
            return true;
        }
    }
    return false;
}

// The length of `text` up to a terminator within `length`.
size_t TextEnd(LPCWSTR text, size_t length) {
    size_t end = 0;
    while (end < length && text[end] != 0) {
        ++end;
    }
    return end;
}

} // namespace

bool VORTAOptItemHandlerFactory::LoadStates(LPCWSTR text, size_t length, BOOL* complete) {
    if (text == nullptr) {
        return false;
    }
    // A terminator ends the text early; every record before it must be whole.
    const size_t end = TextEnd(text, length);
    RecordSpan span = {};
    for (size_t at = 0; at < end; at = NextRecord(span)) {
        if (!ReadRecord(text, end, at, &span)) {
            return false;
        }
    }
    for (size_t at = 0; at < end; at = NextRecord(span)) {
        ReadRecord(text, end, at, &span);
        VORTAOptItemHandler* handler = Find(RecordId(text, span));
        LPWSTR value = static_cast<LPWSTR>(
            HeapAlloc(Heap(), HEAP_ZERO_MEMORY, (span.valueLength + 1) * sizeof(WCHAR)));
        if (handler == nullptr || value == nullptr) {
            if (complete != nullptr) {
                *complete = FALSE;
            }
        } else {
            std::memcpy(value, text + span.value, span.valueLength * sizeof(WCHAR));
            handler->LoadState(value, complete);
        }
        if (value != nullptr) {
            HeapFree(Heap(), 0, value);
        }
    }
    return true;
}

// The items hear of the restore only once all of them hold their restored values, so that no rule
// judges a half-restored sheet.
bool VORTAOptItemHandlerFactory::RestoreStates(LPCWSTR text, size_t length) {
    const bool wasActive = active_;
    active_ = false;
    const bool loaded = LoadStates(text, length, nullptr);
    active_ = wasActive;
    if (!loaded) {
        return false;
    }
    const size_t end = TextEnd(text, length);
    RecordSpan span = {};
    for (size_t at = 0; at < end; at = NextRecord(span)) {
        ReadRecord(text, end, at, &span);
        VORTAOptItemHandler* handler = Find(RecordId(text, span));
        if (handler != nullptr && !NamedBefore(text, end, span)) {
            handler->Notify(handler->ItemId(), kEventRestored, 0);
        }
    }
    FlushPending();
    return true;
}

} // namespace moltr::ui
