#include "store/record_memory.h"
#include <cstdlib>

namespace moltr::store {

StructureRecord* NewRecord() {
    return static_cast<StructureRecord*>(std::calloc(1, sizeof(StructureRecord)));
}

void DropImage(StructureRecord* record) {
    std::free(record->image);
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
