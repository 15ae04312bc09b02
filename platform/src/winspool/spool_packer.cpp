// Measuring and writing the spooler's information buffers.
#include "src/winspool/spool_packer.h"

#include <algorithm>
#include <cstring>

namespace moltr::spool {
namespace {

size_t Align8(size_t offset) {
    return (offset + 7) & ~size_t{7};
}

} // namespace

InfoPacker::InfoPacker(size_t fixedSize) : blobEnd_(Align8(fixedSize)) {}

InfoPacker::InfoPacker(size_t fixedSize, BYTE* buffer, size_t size)
    : buffer_(buffer), blobEnd_(Align8(fixedSize)), stringStart_(size & ~size_t{1}) {}

LPWSTR InfoPacker::String(std::u16string_view text) {
    size_t bytes = (text.size() + 1) * sizeof(char16_t);
    stringBytes_ += bytes;
    if (!buffer_) {
        return nullptr;
    }
    stringStart_ -= bytes;
    BYTE* at = buffer_ + stringStart_;
    std::memcpy(at, text.data(), bytes - sizeof(char16_t));
    std::memset(at + bytes - sizeof(char16_t), 0, sizeof(char16_t));
    return reinterpret_cast<LPWSTR>(at);
}

LPWSTR InfoPacker::OptionalString(std::u16string_view text) {
    return text.empty() ? nullptr : String(text);
}

LPWSTR InfoPacker::MultiString(const std::vector<std::u16string>& list) {
    if (list.empty()) {
        return nullptr;
    }
    std::u16string joined;
    for (const std::u16string& entry : list) {
        joined += entry;
        joined += u'\0';
    }
    // String() adds the final NUL.
    return String(joined);
}

BYTE* InfoPacker::Blob(const BYTE* data, size_t size) {
    if (size == 0) {
        return nullptr;
    }
    BYTE* at = buffer_ ? buffer_ + blobEnd_ : nullptr;
    if (at) {
        std::memcpy(at, data, size);
    }
    blobEnd_ = Align8(blobEnd_ + size);
    return at;
}

LPDEVMODEW InfoPacker::DevMode(const std::vector<BYTE>& devmode) {
    return reinterpret_cast<LPDEVMODEW>(Blob(devmode.data(), devmode.size()));
}

DWORD PackInfo(size_t fixedSize, BYTE* buffer, DWORD size, DWORD& needed, const FillInfo& fill) {
    std::vector<BYTE> fixed(fixedSize);
    InfoPacker measure(fixedSize);
    fill(measure, fixed.data());
    needed = static_cast<DWORD>(measure.Needed());
    if (size < measure.Needed()) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    if (needed == 0) {
        return 0;
    }
    if (!buffer) {
        return ERROR_INVALID_USER_BUFFER;
    }
    std::fill(fixed.begin(), fixed.end(), BYTE{0});
    InfoPacker write(fixedSize, buffer, size);
    fill(write, fixed.data());
    std::memcpy(buffer, fixed.data(), fixedSize);
    return 0;
}

} // namespace moltr::spool
