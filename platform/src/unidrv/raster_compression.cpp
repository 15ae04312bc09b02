#include "src/unidrv/raster_compression.h"

#include <algorithm>

namespace moltr::unidrv {
namespace {

// The length of the run of equal bytes at `at`, at most `limit`.
size_t RunAt(const BYTE* row, size_t size, size_t at, size_t limit) {
    size_t run = 1;
    while (at + run < size && run < limit && row[at + run] == row[at]) {
        ++run;
    }
    return run;
}

constexpr size_t kRunLengthMax = 256;
constexpr size_t kPackBitsMax = 128;

} // namespace

void AppendRunLength(const BYTE* row, size_t size, std::vector<BYTE>* out) {
    for (size_t at = 0; at < size;) {
        size_t run = RunAt(row, size, at, kRunLengthMax);
        out->push_back(static_cast<BYTE>(run - 1));
        out->push_back(row[at]);
        at += run;
    }
}

void AppendPackBits(const BYTE* row, size_t size, std::vector<BYTE>* out) {
    size_t at = 0;
    while (at < size) {
        size_t run = RunAt(row, size, at, kPackBitsMax);
        if (run >= 2) {
            out->push_back(static_cast<BYTE>(257 - run));
            out->push_back(row[at]);
            at += run;
            continue;
        }
        // Literal bytes up to the next run of two or more.
        size_t start = at;
        while (at < size && at - start < kPackBitsMax && RunAt(row, size, at, 2) < 2) {
            ++at;
        }
        out->push_back(static_cast<BYTE>(at - start - 1));
        out->insert(out->end(), row + start, row + at);
    }
}

} // namespace moltr::unidrv
