#pragma once
// Lays out what the spooler's Get and Enum calls return in the caller's buffer: the fixed part
// (structures) at the start, blobs such as devmodes behind it, 8-byte aligned, and the strings
// packed at the end. One filling function runs twice: first to measure, then to write.
#include <windows.h>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace moltr::spool {

class InfoPacker {
public:
    // Measures only; every call returns null.
    explicit InfoPacker(size_t fixedSize);
    // Writes into `buffer`, which must hold what the measuring pass found.
    InfoPacker(size_t fixedSize, BYTE* buffer, size_t size);

    LPWSTR String(std::u16string_view text);
    // Null for an empty text.
    LPWSTR OptionalString(std::u16string_view text);
    // Entries each with their NUL, then one more NUL; null for an empty list.
    LPWSTR MultiString(const std::vector<std::u16string>& list);
    // Null for no data.
    BYTE* Blob(const BYTE* data, size_t size);

    size_t Needed() const { return blobEnd_ + stringBytes_; }

private:
    BYTE* buffer_ = nullptr;
    size_t blobEnd_;
    size_t stringStart_ = 0;
    size_t stringBytes_ = 0;
};

// Fills the fixed part (zeroed scratch of the fixed size, copied to the buffer at the end).
using FillInfo = std::function<void(InfoPacker& packer, BYTE* fixed)>;

// Measures, sets `needed`, and writes when the buffer is large enough (nothing to write needs no
// buffer). Returns 0, ERROR_INSUFFICIENT_BUFFER, or ERROR_INVALID_USER_BUFFER for a null buffer
// that claims to be large enough.
DWORD PackInfo(size_t fixedSize, BYTE* buffer, DWORD size, DWORD& needed, const FillInfo& fill);

} // namespace moltr::spool
