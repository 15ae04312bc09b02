#include "store/image_load.h"
#include "store/image_check.h"
#include "store/record_memory.h"
#include "store/relocation.h"
#include "store/string_area.h"

namespace moltr::store {

namespace {

// Answers the class of what is wrong with the record's stored image; sets where its string area
// starts.
int CheckValue(const StructureRecord* record, LPCWSTR valueName, ULONG64* stringAreaStart) {
    // A value too short for a root header cannot even be checked for its signature.
    if (record->imageSize < sizeof(StructureHeader)) {
        return ReportMessage(kMsgCannotRead, valueName, kLoadOperation);
    }
    if (record->root->signature != kSignature) {
        return ReportMessage(kMsgSignatureMismatch, record->root->signature, valueName, kSignature);
    }
    if (record->root->version < kVersion) {
        return ReportMessage(kMsgInvalidVersion, valueName);
    }
    switch (CheckImage(record->image, record->imageSize, stringAreaStart)) {
    case ImageCheck::Valid:
        return kClassSuccess;
    case ImageCheck::OutOfMemory:
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    default:
        return ReportMessage(kMsgCannotRead, valueName, kLoadOperation);
    }
}

// Moves the image where its string area starts at an even address.
bool Align(StructureRecord* record, ULONG64 stringAreaStart) {
    if (((AddressOf(record->image) + stringAreaStart) & 1) == 0) {
        return true;
    }
    BYTE* image = AllocateImage(record->imageSize, stringAreaStart);
    if (image == nullptr) {
        return false;
    }
    std::memcpy(image, record->image, record->imageSize);
    FreeImage(record->image);
    record->image = image;
    record->root = reinterpret_cast<StructureHeader*>(image);
    return true;
}

} // namespace

int AcceptImage(StructureRecord* record, LPCWSTR valueName) {
    ULONG64 stringAreaStart = 0;
    int result = CheckValue(record, valueName, &stringAreaStart);
    if (result == kClassSuccess && !Align(record, stringAreaStart)) {
        result = ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    if (result != kClassSuccess) {
        // A refused value leaves nothing of itself behind.
        DropImage(record);
        return result;
    }
    ToMemoryForm(record->root, record->image);
    AdoptStringArea(record);
    return kClassSuccess;
}

} // namespace moltr::store
