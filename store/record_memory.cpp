#include "store/record_memory.h"
#include <cstdlib>
#include "store/image_layout.h"

namespace moltr::store {

BYTE* AllocateImage(ULONG64 size, ULONG64 stringAreaStart) {
    // The byte before the image records how far its start lies from the allocation.
    auto* allocation = static_cast<BYTE*>(std::calloc(size + 2, 1));
    if (allocation == nullptr) {
        return nullptr;
    }
    const BYTE shift = ((AddressOf(allocation) + 1 + stringAreaStart) & 1) != 0 ? 2 : 1;
    allocation[shift - 1] = shift;
    return allocation + shift;
}

void FreeImage(BYTE* image) {
    if (image != nullptr) {
        std::free(image - image[-1]);
    }
}

StructureRecord* NewRecord() {
    return static_cast<StructureRecord*>(std::calloc(1, sizeof(StructureRecord)));
}

void DropImage(StructureRecord* record) {
    FreeImage(record->image);
    record->image = nullptr;
    record->imageSize = 0;
    record->root = nullptr;
    record->stringBytes = 0;
    record->stringAreaStart = 0;
    record->stringsChanged = FALSE;
}

void FreeRecord(StructureRecord* record) {
    if (record != nullptr) {
        DropImage(record);
        std::free(record);
    }
}

} // namespace moltr::store
