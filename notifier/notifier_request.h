#pragma once
// NotifierRequest: the one message on the notifier pipe, written by an application that merged
// two-sided settings for a printer that duplexes by hand. The server joins the pieces it reads into
// one buffer and uses a request only when it is whole.
#include <windows.h>
#include <cstddef>

namespace moltr::notifier {

inline constexpr DWORD kPrinterNameChars = 260;

#pragma pack(push, 1)
struct NotifierRequest {
    DWORD processId;                      // GetCurrentProcessId of the announcing application
    WCHAR printerName[kPrinterNameChars]; // PRINTER_INFO_2.pPrinterName, NUL-terminated, rest zero
};
#pragma pack(pop)
static_assert(sizeof(NotifierRequest) == 524);
static_assert(offsetof(NotifierRequest, printerName) == 4);

inline constexpr DWORD kRequestSize = sizeof(NotifierRequest);

// The bytes read from one client, at most one request's worth.
class RequestBuffer {
public:
    // Room left for the next read.
    DWORD Room() const { return kRequestSize - used_; }
    BYTE* End() { return bytes_ + used_; }
    // Counts `count` bytes written at End(); more than Room() is kept as Room().
    void Added(DWORD count);
    bool Full() const { return used_ == kRequestSize; }
    DWORD Size() const { return used_; }
    const BYTE* Bytes() const { return bytes_; }

private:
    BYTE bytes_[kRequestSize] = {};
    DWORD used_ = 0;
};

// Copies a whole request out of `buffer`: all 524 bytes, a process id other than 0 and a printer
// name that is not empty. The name's last character is forced to NUL so that a client that filled
// all 260 characters cannot make the server read past the name. False leaves `request` unchanged.
bool TakeWholeRequest(const RequestBuffer& buffer, NotifierRequest* request);

// Builds the request an application sends: zero-filled, its process id and at most 259 characters
// of the printer name with a terminator.
NotifierRequest MakeRequest(DWORD processId, LPCWSTR printerName);

} // namespace moltr::notifier
