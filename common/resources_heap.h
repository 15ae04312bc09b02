#pragma once
// Where the resources object takes every block it hands out or keeps: its private heap, or the
// process heap when it has none. Blocks are zero-filled.
#include <windows.h>

namespace moltr::common {

class ResourcesHeap {
public:
    explicit ResourcesHeap(HANDLE heap = nullptr) : heap_(heap) {}

    HANDLE handle() const { return heap_; }
    void* Allocate(SIZE_T bytes) const { return HeapAlloc(Heap(), HEAP_ZERO_MEMORY, bytes); }
    void* Reallocate(void* block, SIZE_T bytes) const {
        return block ? HeapReAlloc(Heap(), HEAP_ZERO_MEMORY, block, bytes) : Allocate(bytes);
    }
    void Free(void* block) const {
        if (block) {
            HeapFree(Heap(), 0, block);
        }
    }
    SIZE_T Size(const void* block) const { return HeapSize(Heap(), 0, block); }
    // A copy of `text` (null stays null, as does a failed allocation).
    LPWSTR Duplicate(LPCWSTR text) const;

private:
    HANDLE Heap() const { return heap_ ? heap_ : GetProcessHeap(); }

    HANDLE heap_;
};

// A growable array of plain records on a ResourcesHeap.
template <typename Record> class HeapList {
public:
    explicit HeapList(const ResourcesHeap& heap) : heap_(heap) {}
    ~HeapList() { heap_.Free(records_); }
    HeapList(const HeapList&) = delete;
    HeapList& operator=(const HeapList&) = delete;

    bool Append(const Record& record) {
        if (count_ == capacity_) {
            UINT capacity = capacity_ ? capacity_ * 2 : 8;
            void* grown = heap_.Reallocate(records_, capacity * sizeof(Record));
            if (!grown) {
                return false;
            }
            records_ = static_cast<Record*>(grown);
            capacity_ = capacity;
        }
        records_[count_++] = record;
        return true;
    }
    Record* begin() { return records_; }
    Record* end() { return records_ + count_; }
    UINT size() const { return count_; }

private:
    const ResourcesHeap& heap_;
    Record* records_ = nullptr;
    UINT count_ = 0;
    UINT capacity_ = 0;
};

} // namespace moltr::common
