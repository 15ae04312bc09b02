#pragma once
// A fuzz input read from the front, for fuzzers that lay their bytes over defaults (XOR): an input
// of zeros, or one too short to reach a byte, keeps the default there.
#include <windows.h>
#include <cstddef>
#include <cstdint>

namespace moltr::fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    // Past the end every byte reads as 0.
    BYTE Byte() { return at_ < size_ ? data_[at_++] : 0; }
    WORD Word() { return static_cast<WORD>(Byte() | (Byte() << 8)); }
    DWORD Dword() { return Word() | (static_cast<DWORD>(Word()) << 16); }
    // XORs the next `length` bytes onto `block`.
    void Over(BYTE* block, size_t length) {
        for (size_t i = 0; i < length; ++i) {
            block[i] ^= Byte();
        }
    }
    size_t left() const { return size_ - at_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

} // namespace moltr::fuzz
