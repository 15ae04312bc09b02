#include "store/image_load.h"
#include "store/image_check.h"
#include "store/record_memory.h"
#include "store/relocation.h"
#include "store/string_area.h"

namespace moltr::store {

namespace {

// Answers the class of what is wrong with the record's stored image.
int CheckValue(const StructureRecord* record, LPCWSTR valueName) {
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
    switch (CheckImage(record->image, record->imageSize)) {
    case ImageCheck::Valid:
        return kClassSuccess;
    case ImageCheck::OutOfMemory:
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    default:
        return ReportMessage(kMsgCannotRead, valueName, kLoadOperation);
    }
}

} // namespace

int AcceptImage(StructureRecord* record, LPCWSTR valueName) {
    const int result = CheckValue(record, valueName);
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
