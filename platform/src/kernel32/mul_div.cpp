// MulDiv: the 64-bit product divided, rounded half away from zero; -1 when the divisor is 0 or the
// result does not fit in 32 bits.
#include <windows.h>

#include <cstdint>

extern "C" int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) {
        return -1;
    }
    const int64_t product = static_cast<int64_t>(nNumber) * nNumerator;
    const int64_t divisor = nDenominator;
    const bool negative = (product < 0) != (divisor < 0);
    // |product| is at most 2^62 and |divisor| at most 2^31, so none of this overflows.
    const uint64_t magnitude = product < 0 ? 0 - static_cast<uint64_t>(product) : product;
    const uint64_t divisorMagnitude = divisor < 0 ? 0 - static_cast<uint64_t>(divisor) : divisor;
    const uint64_t quotient = (magnitude + divisorMagnitude / 2) / divisorMagnitude;
    if (quotient > (negative ? 0x80000000ULL : 0x7FFFFFFFULL)) {
        return -1;
    }
    return negative ? static_cast<int>(0 - static_cast<int64_t>(quotient))
                    : static_cast<int>(quotient);
}
