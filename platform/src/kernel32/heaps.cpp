// Heaps: the process heap, private heaps and the local/global allocators on top of the process
// heap. A heap knows its blocks, so that HeapSize answers, HeapDestroy frees what is left and a
// pointer that is not the heap's own is refused instead of corrupting memory.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace {

// Blocks are reserved in steps of this size; growth within the reserve is in place.
constexpr SIZE_T kGranularity = 16;
// A fixed-size heap's maximum is rounded up to whole pages.
constexpr SIZE_T kPageSize = 4096;

struct Block {
    SIZE_T size;
    SIZE_T capacity;
};

struct Heap {
    std::mutex lock;
    std::unordered_map<void*, Block> blocks;
    SIZE_T maximum = 0;  // 0: the heap grows as needed
    SIZE_T reserved = 0; // the capacities of its blocks

    ~Heap() {
        for (auto& [pointer, block] : blocks) {
            std::free(pointer);
        }
    }
};

struct HeapList {
    std::mutex lock;
    std::unordered_set<Heap*> heaps;
    Heap* processHeap = nullptr;
};

HeapList& Heaps() {
    static HeapList* list = [] {
        auto* created = new HeapList; // never destroyed: blocks may be freed during exit
        created->processHeap = new Heap;
        created->heaps.insert(created->processHeap);
        return created;
    }();
    return *list;
}

// The heap behind a handle, or null for anything that is not a live heap.
Heap* FindHeap(HANDLE handle) {
    HeapList& list = Heaps();
    std::lock_guard guard(list.lock);
    auto* heap = static_cast<Heap*>(handle);
    return list.heaps.count(heap) ? heap : nullptr;
}

SIZE_T Capacity(SIZE_T size) {
    return size <= kGranularity ? kGranularity
                                : (size + kGranularity - 1) / kGranularity * kGranularity;
}

void* Allocate(Heap& heap, DWORD flags, SIZE_T size) {
    if (size > (SIZE_T(1) << 47)) {
        return nullptr;
    }
    SIZE_T capacity = Capacity(size);
    std::lock_guard guard(heap.lock);
    if (heap.maximum != 0 && heap.reserved + capacity > heap.maximum) {
        return nullptr;
    }
    void* pointer = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, capacity) : std::malloc(capacity);
    if (!pointer) {
        return nullptr;
    }
    heap.blocks.emplace(pointer, Block{size, capacity});
    heap.reserved += capacity;
    return pointer;
}

void* Reallocate(Heap& heap, DWORD flags, void* pointer, SIZE_T size) {
    std::lock_guard guard(heap.lock);
    auto it = heap.blocks.find(pointer);
    if (it == heap.blocks.end() || size > (SIZE_T(1) << 47)) {
        return nullptr;
    }
    Block& block = it->second;
    if (size <= block.capacity) {
        if ((flags & HEAP_ZERO_MEMORY) && size > block.size) {
            std::memset(static_cast<char*>(pointer) + block.size, 0, size - block.size);
        }
        block.size = size;
        return pointer;
    }
    if (flags & HEAP_REALLOC_IN_PLACE_ONLY) {
        return nullptr;
    }
    SIZE_T capacity = Capacity(size);
    if (heap.maximum != 0 && heap.reserved - block.capacity + capacity > heap.maximum) {
        return nullptr;
    }
    void* moved = std::realloc(pointer, capacity);
    if (!moved) {
        return nullptr;
    }
    heap.reserved += capacity - block.capacity;
    if (flags & HEAP_ZERO_MEMORY) {
        std::memset(static_cast<char*>(moved) + block.size, 0, size - block.size);
    }
    heap.blocks.erase(it);
    heap.blocks.emplace(moved, Block{size, capacity});
    return moved;
}

bool Free(Heap& heap, void* pointer) {
    std::lock_guard guard(heap.lock);
    auto it = heap.blocks.find(pointer);
    if (it == heap.blocks.end()) {
        return false;
    }
    heap.reserved -= it->second.capacity;
    heap.blocks.erase(it);
    std::free(pointer);
    return true;
}

} // namespace

extern "C" {

HANDLE WINAPI GetProcessHeap() {
    return Heaps().processHeap;
}

// A maximum size makes the heap fixed: allocations beyond it fail.
HANDLE WINAPI HeapCreate(DWORD, SIZE_T, SIZE_T dwMaximumSize) {
    auto* heap = new Heap;
    heap->maximum = (dwMaximumSize + kPageSize - 1) / kPageSize * kPageSize;
    HeapList& list = Heaps();
    std::lock_guard guard(list.lock);
    list.heaps.insert(heap);
    return heap;
}

BOOL WINAPI HeapDestroy(HANDLE hHeap) {
    HeapList& list = Heaps();
    Heap* heap = nullptr;
    {
        std::lock_guard guard(list.lock);
        heap = static_cast<Heap*>(hHeap);
        if (heap == list.processHeap || !list.heaps.erase(heap)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
    }
    delete heap;
    return TRUE;
}

// HeapAlloc and HeapReAlloc do not set the last error: failure is only the null result.
LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
    Heap* heap = FindHeap(hHeap);
    return heap ? Allocate(*heap, dwFlags, dwBytes) : nullptr;
}

LPVOID WINAPI HeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem, SIZE_T dwBytes) {
    Heap* heap = FindHeap(hHeap);
    return heap ? Reallocate(*heap, dwFlags, lpMem, dwBytes) : nullptr;
}

BOOL WINAPI HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem) {
    Heap* heap = FindHeap(hHeap);
    if (!heap) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!lpMem) {
        return TRUE;
    }
    if (!Free(*heap, lpMem)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

SIZE_T WINAPI HeapSize(HANDLE hHeap, DWORD, LPCVOID lpMem) {
    Heap* heap = FindHeap(hHeap);
    if (!heap) {
        return static_cast<SIZE_T>(-1);
    }
    std::lock_guard guard(heap->lock);
    auto it = heap->blocks.find(const_cast<void*>(lpMem));
    return it == heap->blocks.end() ? static_cast<SIZE_T>(-1) : it->second.size;
}

// Local and global memory is always fixed here: the handle is the block's address.
HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
    void* block =
        Allocate(*Heaps().processHeap, (uFlags & LMEM_ZEROINIT) ? HEAP_ZERO_MEMORY : 0, uBytes);
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return block;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
    if (hMem && !Free(*Heaps().processHeap, hMem)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return hMem;
    }
    return nullptr;
}

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    return LocalAlloc(uFlags & GMEM_ZEROINIT, dwBytes);
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
    return LocalFree(hMem);
}
}
