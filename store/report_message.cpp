#include "store/messages.h"

namespace moltr::store {

int ReportMessage(DWORD number, ...) {
    struct Range {
        DWORD first;
        DWORD last;
        int resultClass;
    };
    // Each message group (runtime, compiler parts) owns one band of 400 numbers per class.
    static constexpr Range kRanges[] = {
        {61400, 61799, kClassWarning},  {62600, 62999, kClassWarning},
        {63800, 64199, kClassWarning},  {61800, 62199, kClassError},
        {63000, 63399, kClassError},    {64200, 64599, kClassError},
        {62200, 62599, kClassInternal}, {63400, 63799, kClassInternal},
        {64600, 64999, kClassInternal},
    };
    for (const Range& range : kRanges) {
        if (number >= range.first && number <= range.last) {
            return range.resultClass;
        }
    }
    return kClassSuccess;
}

} // namespace moltr::store
