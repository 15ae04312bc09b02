#pragma once
// A process-wide table of window-manager or GDI objects behind handle values that look like the
// system's: a slot index in the low 16 bits and a use count of the slot above them, so that a
// handle of a deleted object stays invalid when its slot is reused. Every value fits in 32 bits, as
// the system's handles do. Callers hold the table's lock.
#include <memory>
#include <vector>

#include <windows.h>

namespace moltr::platform {

template <class T> class ObjectTable {
public:
    // `tag` is or-ed into bits 16-23 of every value (GDI handles carry their kind there); with a
    // tag the use count takes bits 24-30, else bits 16-30.
    explicit ObjectTable(ULONG_PTR tag = 0) : tag_(tag << 16) {}

    // The new object's handle value, or 0 when every slot is taken.
    ULONG_PTR Insert(std::shared_ptr<T> object) {
        size_t slot = 0;
        while (slot < slots_.size() && slots_[slot].object) {
            ++slot;
        }
        if (slot >= kSlots) {
            return 0;
        }
        if (slot == slots_.size()) {
            slots_.emplace_back();
        }
        Slot& entry = slots_[slot];
        entry.uses = entry.uses % MaxUses() + 1;
        entry.object = std::move(object);
        return ValueOf(slot, entry.uses);
    }

    T* Find(ULONG_PTR value) const {
        const Slot* entry = SlotOf(value);
        return entry ? entry->object.get() : nullptr;
    }

    std::shared_ptr<T> Share(ULONG_PTR value) const {
        const Slot* entry = SlotOf(value);
        return entry ? entry->object : nullptr;
    }

    // Takes the object out of the table; null when the value names none.
    std::shared_ptr<T> Remove(ULONG_PTR value) {
        Slot* entry = const_cast<Slot*>(SlotOf(value));
        return entry ? std::move(entry->object) : nullptr;
    }

    // The number of objects for which `counts` is true.
    template <class Predicate> size_t CountIf(Predicate counts) const {
        size_t count = 0;
        for (const Slot& entry : slots_) {
            count += entry.object && counts(*entry.object) ? 1 : 0;
        }
        return count;
    }

private:
    // Slot 0 is never handed out, so no value has a zero low word.
    static constexpr size_t kSlots = 0xFFFF;

    struct Slot {
        ULONG_PTR uses = 0;
        std::shared_ptr<T> object;
    };

    ULONG_PTR MaxUses() const { return tag_ ? 0x7F : 0x7FFF; }
    ULONG_PTR ValueOf(size_t slot, ULONG_PTR uses) const {
        return (uses << (tag_ ? 24 : 16)) | tag_ | (slot + 1);
    }
    const Slot* SlotOf(ULONG_PTR value) const {
        const size_t slot = (value & 0xFFFF) - 1;
        if ((value & 0xFFFF) == 0 || slot >= slots_.size()) {
            return nullptr;
        }
        const Slot& entry = slots_[slot];
        return entry.object && ValueOf(slot, entry.uses) == value ? &entry : nullptr;
    }

    ULONG_PTR tag_;
    std::vector<Slot> slots_;
};

} // namespace moltr::platform
