// Devmode lengths from the devmode's header, read without assuming the caller aligned it.
#include "src/winspool/spool_devmode.h"

#include <cstddef>
#include <cstring>

namespace moltr::spool {
namespace {

constexpr size_t kSizeOffset = offsetof(DEVMODEW, dmSize);
constexpr size_t kDriverExtraOffset = offsetof(DEVMODEW, dmDriverExtra);

WORD WordAt(const void* base, size_t offset) {
    WORD word;
    std::memcpy(&word, static_cast<const BYTE*>(base) + offset, sizeof word);
    return word;
}

} // namespace

size_t DevModeLength(const void* devmode) {
    return size_t{WordAt(devmode, kSizeOffset)} + WordAt(devmode, kDriverExtraOffset);
}

std::vector<BYTE> CopyDevMode(const void* devmode) {
    if (!devmode || WordAt(devmode, kSizeOffset) < kMinDevModeSize) {
        return {};
    }
    const BYTE* bytes = static_cast<const BYTE*>(devmode);
    return std::vector<BYTE>(bytes, bytes + DevModeLength(devmode));
}

bool IsWholeDevMode(const std::vector<BYTE>& bytes) {
    return bytes.size() >= kMinDevModeSize &&
           WordAt(bytes.data(), kSizeOffset) >= kMinDevModeSize &&
           DevModeLength(bytes.data()) == bytes.size();
}

std::vector<BYTE> StoredDevMode(std::vector<BYTE> bytes) {
    if (!IsWholeDevMode(bytes)) {
        bytes.clear();
    }
    return bytes;
}

} // namespace moltr::spool
