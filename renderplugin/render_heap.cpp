#include "renderplugin/render_heap.h"

namespace moltr::render {

namespace {

constexpr SIZE_T kInitialSize = 1024 * 1024;

// The process-wide heap and its lock, which live as long as the module.
class SharedHeap {
public:
    SharedHeap() { InitializeCriticalSection(&lock_); }
    ~SharedHeap() { DeleteCriticalSection(&lock_); }
    SharedHeap(const SharedHeap&) = delete;
    SharedHeap& operator=(const SharedHeap&) = delete;

    bool Acquire() {
        EnterCriticalSection(&lock_);
        if (users_ == 0) {
            heap_ = HeapCreate(0, kInitialSize, 0);
        }
        bool ok = heap_ != nullptr;
        if (ok) {
            ++users_;
        }
        LeaveCriticalSection(&lock_);
        return ok;
    }

    void Release() {
        EnterCriticalSection(&lock_);
        if (users_ > 0 && --users_ == 0) {
            HeapDestroy(heap_);
            heap_ = nullptr;
        }
        LeaveCriticalSection(&lock_);
    }

    void* Alloc(size_t size) {
        EnterCriticalSection(&lock_);
        void* block = heap_ != nullptr ? HeapAlloc(heap_, HEAP_ZERO_MEMORY, size) : nullptr;
        LeaveCriticalSection(&lock_);
        return block;
    }

    void Free(void* block) {
        EnterCriticalSection(&lock_);
        if (heap_ != nullptr && block != nullptr) {
            HeapFree(heap_, 0, block);
        }
        LeaveCriticalSection(&lock_);
    }

private:
    CRITICAL_SECTION lock_;
    HANDLE heap_ = nullptr;
    DWORD users_ = 0;
};

// Initialised at module load, before any PDEV can exist.
SharedHeap sharedHeap;

} // namespace

bool AcquireRenderHeap() {
    return sharedHeap.Acquire();
}

void ReleaseRenderHeap() {
    sharedHeap.Release();
}

void* RenderHeapAlloc(size_t size) {
    return sharedHeap.Alloc(size);
}

void RenderHeapFree(void* block) {
    sharedHeap.Free(block);
}

} // namespace moltr::render
