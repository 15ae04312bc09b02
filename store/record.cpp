#include "store/record_memory.h"
#include "store/wide_text.h"

namespace moltr::store {

int OpenByHandle(HANDLE printer, LPCWSTR structureName, StructureRecord** record) {
    if (record == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    *record = nullptr;
    if (printer == nullptr || printer == INVALID_HANDLE_VALUE || IsEmpty(structureName)) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    StructureRecord* opened = NewRecord();
    if (opened == nullptr) {
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    const int result = LoadByHandle(opened, printer, structureName);
    if (result >= kClassError) {
        FreeRecord(opened);
        return result;
    }
    *record = opened;
    return kClassSuccess;
}

int Close(StructureRecord** record) {
    if (record == nullptr || *record == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    FreeRecord(*record);
    *record = nullptr;
    return kClassSuccess;
}

} // namespace moltr::store
