#pragma once
// The numbers of the conditions the store raises on this thread, collected while the object lives.
#include <utility>
#include <vector>
#include "store/messages.h"

namespace moltr::store::testing {

class RaisedMessages {
public:
    RaisedMessages()
        : scope_([this](const StoreMessage& message) { numbers_.push_back(message.number); }) {}

    // The numbers raised since the last call, in order.
    std::vector<DWORD> Take() { return std::exchange(numbers_, {}); }

private:
    std::vector<DWORD> numbers_;
    MessageSinkScope scope_;
};

} // namespace moltr::store::testing
