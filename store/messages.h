#pragma once
// The runtime's numbered conditions. Every operation answers the class of the message it raises:
// 0 success, 1 warning (also: no further record), 2 error, 3 internal error; callers treat 2 or
// more as failure. The texts live in the string table under the same numbers
// (resources/xpr_messages.rc); the compiler numbers and classes its own messages.
#include <windows.h>
#include <functional>

namespace moltr::store {

constexpr int kClassSuccess = 0;
constexpr int kClassWarning = 1;
constexpr int kClassError = 2;
constexpr int kClassInternal = 3;

constexpr DWORD kMsgStructureTooLarge = 62601;
constexpr DWORD kMsgNoFurtherRecord = 62701;
constexpr DWORD kMsgNotDynamic = 62702;
constexpr DWORD kMsgNoReference = 62703;
constexpr DWORD kMsgCannotOpenPrinter = 63001;
constexpr DWORD kMsgCannotWrite = 63002;
constexpr DWORD kMsgCannotRead = 63003;
constexpr DWORD kMsgSignatureMismatch = 63004;
constexpr DWORD kMsgInvalidVersion = 63005;
constexpr DWORD kMsgNoSuchStructure = 63101;
constexpr DWORD kMsgNoSuchField = 63102;
constexpr DWORD kMsgNoRecordWithTag = 63201;
constexpr DWORD kMsgDestinationTooSmall = 63301;
constexpr DWORD kMsgSourceTooLarge = 63302;
constexpr DWORD kMsgInvalidParameters = 63401;
constexpr DWORD kMsgOutOfMemory = 63402;
constexpr DWORD kMsgNoStructureSlots = 63403;

// Raises condition `number` with the arguments of its text (for internal errors the source file
// and line) and answers its class. Nothing is written anywhere; the thread's sink, if one is
// installed, sees the number and class.
int ReportMessage(DWORD number, ...);

// One raised condition, as a sink receives it.
struct StoreMessage {
    DWORD number;
    int messageClass;
};

using MessageSink = std::function<void(const StoreMessage&)>;

// Hands every condition the current thread raises to `sink` while the scope lives. The runtime's
// operations keep the signatures every deliverable calls, so the sink travels with the thread;
// scopes nest, and the innermost one receives.
class MessageSinkScope {
public:
    explicit MessageSinkScope(MessageSink sink);
    ~MessageSinkScope();
    MessageSinkScope(const MessageSinkScope&) = delete;
    MessageSinkScope& operator=(const MessageSinkScope&) = delete;

    void Deliver(const StoreMessage& message) const;

private:
    MessageSink sink_;
    MessageSinkScope* outer_;
};

} // namespace moltr::store
