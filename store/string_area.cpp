#include "store/string_area.h"
#include "store/record_memory.h"
#include "store/relocation.h"
#include "store/wide_text.h"

namespace moltr::store {

ULONG64 MeasureStrings(const StructureHeader* root) {
    ULONG64 bytes = 0;
    ForEachStringValue(root, [&](const BYTE* slot) {
        if (const WCHAR* text = AtAddress<const WCHAR>(LoadU64(slot))) {
            bytes += TextBytes(text);
        }
    });
    return bytes;
}

void AdoptStringArea(StructureRecord* record) {
    record->stringBytes = static_cast<DWORD>(MeasureStrings(record->root));
    record->stringAreaStart = record->imageSize - record->stringBytes;
    record->stringsChanged = FALSE;
}

int RebuildStringArea(StructureRecord* record) {
    const ULONG64 start = record->stringAreaStart;
    const ULONG64 size = start + MeasureStrings(record->root);
    if (size > kMaxImageSize) {
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    BYTE* image = AllocateImage(size, start);
    if (image == nullptr) {
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    // The texts go straight to their place in the new image; each value becomes that offset, which
    // the conversion below leaves alone.
    ULONG64 next = start;
    ForEachStringValue(record->root, [&](BYTE* slot) {
        if (const WCHAR* text = AtAddress<const WCHAR>(LoadU64(slot))) {
            const size_t bytes = TextBytes(text);
            std::memcpy(image + next, text, bytes);
            StoreU64(slot, next);
            next += bytes;
        }
    });
    ToStoredForm(record->root, record->image, StringValues::KeepStrings);
    std::memcpy(image, record->image, start);
    FreeImage(record->image);
    record->image = image;
    record->imageSize = static_cast<DWORD>(size);
    record->root = reinterpret_cast<StructureHeader*>(image);
    ToMemoryForm(record->root, image);
    AdoptStringArea(record);
    return kClassSuccess;
}

} // namespace moltr::store
