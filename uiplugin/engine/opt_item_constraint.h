#pragma once
// VORTAOptItemConstraint: a dependency between option items. It subscribes to the items it
// watches, judges each of their changes and the sheet's events in Evaluate, and answers by changing
// other items, asking the user or rejecting the change. It lives as long as its factory.
#include <windows.h>
#include "uiplugin/engine/item_identity.h"
#include "uiplugin/engine/opt_item_handler.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/opt_item_notify.h"

namespace moltr::ui {

// Caption ids of the constraints' message boxes.
inline constexpr UINT kCaptionNote = 32769;
inline constexpr UINT kCaptionConflict = 32770;

// The id under which the factory files the host's item with `helpIndex`.
constexpr DWORD HostItemId(DWORD helpIndex) {
    return helpIndex | kHelpIndexId;
}

// Whether `itemId` and `value` of an evaluation announce `event` rather than a change.
constexpr bool IsEvent(DWORD itemId, DWORD value, DWORD event) {
    return itemId == 0 && value == event;
}

class VORTAOptItemConstraint : public VORTAOptItemNotify {
public:
    explicit VORTAOptItemConstraint(VORTAOptItemHandlerFactory* factory);
    ~VORTAOptItemConstraint() override;

    // Evaluates, unless this constraint is itself changing items.
    LONG Notify(DWORD itemId, DWORD value, DWORD flags) override;

protected:
    // Hears the changes of `itemId` (0: of every item) first, or after those already subscribed
    // when `atEnd`; false when the item has no handler or without memory.
    bool Subscribe(DWORD itemId, bool atEnd);
    // The handler of `itemId`, or null: a rule on a missing item does nothing.
    VORTAOptItemHandler* Lookup(DWORD itemId);
    // Calls `apply` with the handler of each of `ids` that has one.
    template <size_t N, typename Apply> void ForEachItem(const DWORD (&ids)[N], Apply apply) {
        for (DWORD id : ids) {
            if (VORTAOptItemHandler* item = Lookup(id)) {
                apply(*item);
            }
        }
    }
    // The user's answer (an ID* value) to message `textId` under caption `captionId`.
    int Ask(UINT textId, UINT captionId, UINT type);
    // A one-byte printer setting (the installed options and switches); 0 when the printer has no
    // such field.
    BYTE PrinterFlag(LPCWSTR field) const;

    VORTAOptItemHandlerFactory* Factory() const { return factory_; }
    DWORD ModelClass() const { return factory_->Environment().modelClass; }

private:
    struct Entry {
        DWORD itemId;
        VORTAOptItemHandler* handler;
    };

    VORTAOptItemHandlerFactory* factory_;
    Entry* entries_ = nullptr;
    DWORD count_ = 0;
    DWORD capacity_ = 0;
    bool busy_ = false;
};

// Whether `value` is one of `values`.
template <size_t N> constexpr bool IsOneOf(DWORD value, const DWORD (&values)[N]) {
    for (DWORD candidate : values) {
        if (candidate == value) {
            return true;
        }
    }
    return false;
}

} // namespace moltr::ui
