#include "uiplugin/engine/opt_item_notify.h"

namespace moltr::ui {

namespace {

// The heap an object came from sits before it, so that delete finds it after the destructor ran.
struct alignas(std::max_align_t) HeapPrefix {
    HANDLE heap;
};

} // namespace

struct VORTAOptItemNotify::Node {
    VORTAOptItemNotify* target;
    Node* next;
};

void* VORTAOptItemNotify::operator new(size_t size, HANDLE heap) noexcept {
    if (heap == nullptr) {
        return nullptr;
    }
    void* block = HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(HeapPrefix) + size);
    if (block == nullptr) {
        return nullptr;
    }
    static_cast<HeapPrefix*>(block)->heap = heap;
    return static_cast<HeapPrefix*>(block) + 1;
}

void VORTAOptItemNotify::operator delete(void* object) noexcept {
    if (object != nullptr) {
        HeapPrefix* prefix = static_cast<HeapPrefix*>(object) - 1;
        HeapFree(prefix->heap, 0, prefix);
    }
}

void VORTAOptItemNotify::operator delete(void* object, HANDLE) noexcept {
    operator delete(object);
}

VORTAOptItemNotify::~VORTAOptItemNotify() {
    while (nodes_ != nullptr) {
        Node* next = nodes_->next;
        HeapFree(heap_, 0, nodes_);
        nodes_ = next;
    }
}

bool VORTAOptItemNotify::IsActive() const {
    return owner_ == nullptr || owner_->IsActive();
}

// The constraint judges first; the chain hears of the change only when it was accepted plainly.
// With flags 0 the owner is told as well (flags 1, so that it does not tell its own owner again).
LONG VORTAOptItemNotify::Notify(DWORD itemId, DWORD value, DWORD flags) {
    if (!IsActive()) {
        return kNotifyAccept;
    }
    LONG result = kNotifyAccept;
    if (constraint_.object != nullptr && !constraint_.busy) {
        constraint_.busy = true;
        result = constraint_.object->Evaluate(itemId, value & 0xFFFF, flags);
        constraint_.busy = false;
    }
    if (constraint_.object == nullptr || result == kNotifyAccept) {
        for (Node* node = nodes_; node != nullptr && result == kNotifyAccept; node = node->next) {
            result = node->target->Notify(itemId, value, flags);
        }
    }
    if (flags == 0 && owner_ != nullptr) {
        owner_->Notify(itemId, value, 1);
    }
    return result;
}

LONG VORTAOptItemNotify::Evaluate(DWORD, DWORD, DWORD) {
    return kNotifyAccept;
}

bool VORTAOptItemNotify::AddNotifyNode(VORTAOptItemNotify* target, bool atEnd) {
    Node* node = static_cast<Node*>(HeapAlloc(heap_, HEAP_ZERO_MEMORY, sizeof(Node)));
    if (node == nullptr) {
        return false;
    }
    node->target = target;
    Node** place = &nodes_;
    while (atEnd && *place != nullptr) {
        place = &(*place)->next;
    }
    node->next = *place;
    *place = node;
    return true;
}

} // namespace moltr::ui
