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
    // A devmode's bytes as a blob; null for none.
    LPDEVMODEW DevMode(const std::vector<BYTE>& devmode);

    size_t Needed() const { return blobEnd_ + stringBytes_; }

private:
    BYTE* buffer_ = nullptr;
    size_t blobEnd_;
    size_t stringStart_ = 0;
    size_t stringBytes_ = 0;
};

// Fills the fixed part (zeroed scratch of the fixed size, copied to the buffer at the end).
using FillInfo = std::function<void(InfoPacker& packer, BYTE* fixed)>;

// The structure of the fixed part at `fixed`.
template <typename Info> Info& Fixed(BYTE* fixed) {
    return *reinterpret_cast<Info*>(fixed);
}

// One level of a Get or Enum call's answer: the size of its structure and what fills one.
template <typename Fill> struct InfoLevel {
    DWORD level;
    size_t size;
    Fill fill;
};

// The entry of `levels` for `level`; null for a level the call does not answer.
template <typename Fill, size_t Count>
const InfoLevel<Fill>* FindLevel(const InfoLevel<Fill> (&levels)[Count], DWORD level) {
    for (const InfoLevel<Fill>& entry : levels) {
        if (entry.level == level) {
            return &entry;
        }
    }
    return nullptr;
}

// Measures, sets `needed`, and writes when the buffer is large enough (nothing to write needs no
// buffer). Returns 0, ERROR_INSUFFICIENT_BUFFER, or ERROR_INVALID_USER_BUFFER for a null buffer
// that claims to be large enough.
DWORD PackInfo(size_t fixedSize, BYTE* buffer, DWORD size, DWORD& needed, const FillInfo& fill);

} // namespace moltr::spool
