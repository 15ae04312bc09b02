#include "store/messages.h"

#include <utility>

namespace moltr::store {
namespace {

// The innermost sink of this thread, or null.
thread_local MessageSinkScope* g_currentSink = nullptr;

int ClassOf(DWORD number) {
    struct Range {
        DWORD first;
        DWORD last;
        int resultClass;
    };
    // The runtime's numbers, one band of 400 per class, and the band after them that it reserves.
    static constexpr Range kRanges[] = {
        {62600, 62999, kClassWarning}, {63000, 63399, kClassError}, {63400, 63799, kClassInternal},
        {63800, 64199, kClassWarning}, {64200, 64599, kClassError}, {64600, 64999, kClassInternal},
    };
    for (const Range& range : kRanges) {
        if (number >= range.first && number <= range.last) {
            return range.resultClass;
        }
    }
    return kClassSuccess;
}

} // namespace

int ReportMessage(DWORD number, ...) {
    const StoreMessage message{number, ClassOf(number)};
    if (g_currentSink != nullptr) {
        g_currentSink->Deliver(message);
    }
    return message.messageClass;
}

MessageSinkScope::MessageSinkScope(MessageSink sink)
    : sink_(std::move(sink)), outer_(g_currentSink) {
    g_currentSink = this;
}

MessageSinkScope::~MessageSinkScope() {
    g_currentSink = outer_;
}

void MessageSinkScope::Deliver(const StoreMessage& message) const {
    if (sink_) {
        sink_(message);
    }
}

} // namespace moltr::store
