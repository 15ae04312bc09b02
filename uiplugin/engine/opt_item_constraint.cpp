#include "uiplugin/engine/opt_item_constraint.h"

namespace moltr::ui {

namespace {

constexpr DWORD kGrowBy = 8;

} // namespace

VORTAOptItemConstraint::VORTAOptItemConstraint(VORTAOptItemHandlerFactory* factory)
    : VORTAOptItemNotify(factory->Heap(), factory), factory_(factory) {}

VORTAOptItemConstraint::~VORTAOptItemConstraint() {
    if (entries_ != nullptr) {
        HeapFree(Heap(), 0, entries_);
    }
}

// The items this constraint changes notify it again; those notifications are its own doing.
LONG VORTAOptItemConstraint::Notify(DWORD itemId, DWORD value, DWORD flags) {
    if (busy_) {
        return kNotifyAccept;
    }
    busy_ = true;
    const LONG result = Evaluate(itemId, value & 0xFFFF, flags);
    busy_ = false;
    return result;
}

bool VORTAOptItemConstraint::Subscribe(DWORD itemId, bool atEnd) {
    VORTAOptItemNotify* source = itemId == 0 ? static_cast<VORTAOptItemNotify*>(factory_)
                                             : static_cast<VORTAOptItemNotify*>(Lookup(itemId));
    return source != nullptr && source->AddNotifyNode(this, atEnd);
}

// Misses are kept too: the factory files no handler after its registration has finished except
// default ones, which stand for no item of a page.
VORTAOptItemHandler* VORTAOptItemConstraint::Lookup(DWORD itemId) {
    for (DWORD i = 0; i < count_; ++i) {
        if (entries_[i].itemId == itemId) {
            return entries_[i].handler;
        }
    }
    VORTAOptItemHandler* handler = factory_->Find(itemId);
    if (count_ == capacity_) {
        const SIZE_T bytes = (capacity_ + kGrowBy) * sizeof(Entry);
        void* grown = entries_ == nullptr ? HeapAlloc(Heap(), HEAP_ZERO_MEMORY, bytes)
                                          : HeapReAlloc(Heap(), HEAP_ZERO_MEMORY, entries_, bytes);
        if (grown == nullptr) {
            return handler;
        }
        entries_ = static_cast<Entry*>(grown);
        capacity_ += kGrowBy;
    }
    entries_[count_++] = {itemId, handler};
    return handler;
}

int VORTAOptItemConstraint::Ask(UINT textId, UINT captionId, UINT type) {
    return factory_->Environment().resources->ShowMessage(factory_->Dialog(), textId, captionId,
                                                          type);
}

// The settings object copies what the destination holds, whatever the field's own size.
BYTE VORTAOptItemConstraint::PrinterFlag(LPCWSTR field) const {
    BYTE value = 0;
    if (FAILED(factory_->Environment().settings->GetValue(nullptr, field, &value, sizeof value,
                                                          common::kLayoutPrinterSettings))) {
        return 0;
    }
    return value;
}

} // namespace moltr::ui
