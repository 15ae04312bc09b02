// The kernel handle table and CloseHandle.
#include "src/core/handle_table.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace moltr::sim {
namespace {

// Slot i holds handle value (i + 1) * 4; freed slots are reused lowest first, as Windows tends to.
constexpr size_t kMaxHandles = 1 << 20;

struct Table {
    std::mutex lock;
    std::vector<std::shared_ptr<KernelObject>> slots;
    size_t lowestFree = 0; // every slot below it is in use
};

Table& TheTable() {
    static Table* table = new Table; // never destroyed: handles may be closed during exit
    return *table;
}

bool SlotOf(HANDLE handle, size_t& slot) {
    auto value = reinterpret_cast<uintptr_t>(handle);
    if (value == 0 || value % 4 != 0 || value / 4 > kMaxHandles) {
        return false;
    }
    slot = value / 4 - 1;
    return true;
}

} // namespace

HANDLE InsertHandle(std::shared_ptr<KernelObject> object) {
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    size_t slot = table.lowestFree;
    while (slot < table.slots.size() && table.slots[slot]) {
        ++slot;
    }
    if (slot == kMaxHandles) {
        return nullptr;
    }
    if (slot == table.slots.size()) {
        table.slots.emplace_back();
    }
    table.slots[slot] = std::move(object);
    table.lowestFree = slot + 1;
    return reinterpret_cast<HANDLE>((slot + 1) * 4);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
    size_t slot = 0;
    if (!SlotOf(handle, slot)) {
        return nullptr;
    }
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    return slot < table.slots.size() ? table.slots[slot] : nullptr;
}

bool RemoveHandle(HANDLE handle) {
    size_t slot = 0;
    if (!SlotOf(handle, slot)) {
        return false;
    }
    std::shared_ptr<KernelObject> object;
    Table& table = TheTable();
    {
        std::lock_guard guard(table.lock);
        if (slot >= table.slots.size() || !table.slots[slot]) {
            return false;
        }
        object = std::move(table.slots[slot]);
        table.lowestFree = std::min(table.lowestFree, slot);
    }
    // The object's destructor may do file and lock work; run it outside the table lock.
    object.reset();
    return true;
}

} // namespace moltr::sim

extern "C" BOOL WINAPI CloseHandle(HANDLE hObject) {
    // Closing the process's pseudo handle (INVALID_HANDLE_VALUE's value) has no effect.
    if (hObject == GetCurrentProcess()) {
        return TRUE;
    }
    if (!moltr::sim::RemoveHandle(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
