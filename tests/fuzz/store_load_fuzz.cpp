// Loading an arbitrary image as LoadByHandle takes on a value read from printer data, then every
// operation on whatever is accepted, and a rebuild of its string area.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include "store/image_load.h"
#include "store/record_memory.h"
#include "tests/store/exercise_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 0x100000) {
        return 0;
    }
    using namespace moltr::store;
    StructureRecord* record = NewRecord();
    record->image = AllocateImage(size, 0);
    std::memcpy(record->image, data, size);
    record->imageSize = static_cast<DWORD>(size);
    record->root = reinterpret_cast<StructureHeader*>(record->image);
    if (AcceptImage(record, L"FUZZ") == kClassSuccess) {
        testing::ExerciseRecord(record);
    }
    FreeRecord(record);
    return 0;
}
