#pragma once
// Allocation failures on demand, for tests of what a module does when memory runs out. Included by
// exactly one source file of a test program: it replaces the program's global allocation functions.
// Only allocations of the program's own code are counted and failed, so the simulated Windows (a
// module of its own) keeps working as a real system would.
#include <dlfcn.h>
#include <execinfo.h>
#include <windows.h>

#include <cstdlib>
#include <new>

namespace moltr::test {

struct FailingAllocations {
    bool counting = false;
    long counted = 0; // allocations of the program's own code while counting
    long failAt = -1; // the number of the one allocation to fail, -1 for none
    bool failed = false;
};

inline FailingAllocations& Allocations() {
    static FailingAllocations state;
    return state;
}

// The base of the module holding `address`, or null.
inline const void* ModuleBase(const void* address) {
    Dl_info info{};
    return dladdr(address, &info) ? info.dli_fbase : nullptr;
}

// Whether the program's own code asks for the block, not the simulation: no frame of the calling
// stack lies in the simulation's module. (Template code that both share is the program's copy, so
// the immediate caller alone cannot tell.)
inline bool MadeByThisProgram() {
    static const void* simulation = ModuleBase(reinterpret_cast<const void*>(&CloseHandle));
    void* frames[48];
    const int count = backtrace(frames, 48);
    for (int i = 0; i < count; ++i) {
        if (ModuleBase(frames[i]) == simulation) {
            return false;
        }
    }
    return true;
}

inline void* AllocateOrFail(std::size_t size) {
    FailingAllocations& state = Allocations();
    if (state.counting && MadeByThisProgram()) {
        if (state.counted++ == state.failAt) {
            state.failed = true;
            return nullptr;
        }
    }
    return std::malloc(size ? size : 1);
}

// Counts the program's allocations while it lives, and fails the one numbered `failAt` (from 0).
class AllocationWatch {
public:
    explicit AllocationWatch(long failAt = -1) { Allocations() = {true, 0, failAt, false}; }
    ~AllocationWatch() { Allocations().counting = false; }
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    long counted() const { return Allocations().counted; }
    bool failed() const { return Allocations().failed; }
    // Lets the test's own work (collecting a message, say) allocate without being counted.
    static void Pause(bool paused) { Allocations().counting = !paused; }
};

} // namespace moltr::test

void* operator new(std::size_t size) {
    if (void* block = moltr::test::AllocateOrFail(size)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* block = moltr::test::AllocateOrFail(size)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return moltr::test::AllocateOrFail(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return moltr::test::AllocateOrFail(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
