#pragma once
// VORTAOptItemNotify: the root of the option-item family (handlers, the handler factory and, later,
// constraints and dialog links). Every object of the family lives zero-filled on the host's OEM
// heap and is destroyed through the root's delete.
#include <windows.h>
#include <cstddef>

namespace moltr::ui {

class VORTAOptItemNotify;

// Answers of Notify and Evaluate.
inline constexpr LONG kNotifyAccept = 1;
inline constexpr LONG kNotifyReject = 2;
inline constexpr LONG kNotifyAcceptAndSpread = 4;

// Values Notify carries for the events of the whole family (16 bits). They come with item id 0,
// except a quick setting's restore, which names the item it restored.
inline constexpr DWORD kEventCommitted = 0xFFFB;
inline constexpr DWORD kEventSpread = 0xFFFC;
inline constexpr DWORD kEventRejected = 0xFFFD;
inline constexpr DWORD kEventAttached = 0xFFFE;
inline constexpr DWORD kEventRestored = 0xFFFF;

// The constraint a notify object may carry.
struct NotifyConstraint {
    VORTAOptItemNotify* object;
    bool busy;
};

class VORTAOptItemNotify {
public:
    // Zero-filled on `heap`; null when the heap has no room.
    static void* operator new(size_t size, HANDLE heap) noexcept;
    static void operator delete(void* object) noexcept;
    // Only reached when a constructor of the family fails, which none does.
    static void operator delete(void* object, HANDLE heap) noexcept;

    VORTAOptItemNotify(HANDLE heap, VORTAOptItemNotify* owner) : heap_(heap), owner_(owner) {}
    VORTAOptItemNotify(const VORTAOptItemNotify&) = delete;
    VORTAOptItemNotify& operator=(const VORTAOptItemNotify&) = delete;
    virtual ~VORTAOptItemNotify();

    // 0: tells the object that `itemId` took `value`; answers kNotify* (see Notify in the .cpp).
    virtual LONG Notify(DWORD itemId, DWORD value, DWORD flags);
    // 1: judges a change; the root accepts every change.
    virtual LONG Evaluate(DWORD itemId, DWORD value, DWORD flags);

    HANDLE Heap() const { return heap_; }
    VORTAOptItemNotify* Owner() const { return owner_; }
    // Adds `target` to the chain of objects told after the constraint, at its end or, with
    // `atEnd` false, at its head; false without memory.
    bool AddNotifyNode(VORTAOptItemNotify* target, bool atEnd = true);
    // The constraint stays owned by its creator.
    void AttachConstraint(VORTAOptItemNotify* constraint) { constraint_.object = constraint; }

protected:
    // Whether notifications flow yet; the factory answers once its registration is finished.
    virtual bool IsActive() const;

private:
    struct Node;
    HANDLE heap_;
    VORTAOptItemNotify* owner_;
    NotifyConstraint constraint_ = {};
    Node* nodes_ = nullptr;
};

} // namespace moltr::ui
