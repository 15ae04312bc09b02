// Loading and saving a record's image as a printer-data value named after its root structure.
#include <windows.h>
#include <winspool.h>
#include "store/image_load.h"
#include "store/record_memory.h"
#include "store/relocation.h"
#include "store/string_area.h"
#include "store/wide_text.h"

namespace moltr::store {

namespace {

constexpr WCHAR kSaveOperation[] = L"SaveByHandle";

bool UsablePrinter(HANDLE printer) {
    return printer != nullptr && printer != INVALID_HANDLE_VALUE;
}

// Reads the value into a new image of the record; answers the class of the failure. Once the size
// is known the old image is gone, and a failure after that leaves the record without one.
int ReadValue(StructureRecord* record, HANDLE printer, LPCWSTR valueName) {
    LPWSTR name = const_cast<LPWSTR>(valueName);
    DWORD type = 0;
    DWORD needed = 0;
    if (GetPrinterDataW(printer, name, &type, nullptr, 0, &needed) != ERROR_MORE_DATA) {
        return ReportMessage(kMsgCannotRead, valueName, kLoadOperation);
    }
    DropImage(record);
    if (needed == 0) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    record->image = AllocateImage(needed, 0);
    if (record->image == nullptr) {
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    record->imageSize = needed;
    record->root = reinterpret_cast<StructureHeader*>(record->image);
    if (GetPrinterDataW(printer, name, &type, record->image, needed, &needed) != ERROR_SUCCESS) {
        DropImage(record);
        return ReportMessage(kMsgCannotRead, valueName, kLoadOperation);
    }
    return kClassSuccess;
}

// Sets the owner of the structure and of every sub-structure below it (memory form).
void SetOwners(StructureHeader* header, ULONG64 owner) {
    header->owner = owner;
    for (WORD index = 0; index < header->fieldCount; ++index) {
        if (StructureHeader* sub = SubStructureOf(header, FieldAt(header, index))) {
            SetOwners(sub, owner);
        }
    }
}

// Writes the image in stored form; the record stays usable in memory form unless `close` is set,
// also when the write fails.
void WriteValue(StructureRecord* record, HANDLE printer, BOOL close) {
    // The owners are addresses of this process: the stored form has none, GetStructure sets them.
    SetOwners(record->root, 0);
    ToStoredForm(record->root, record->image, StringValues::Convert);
    // The header may lie at an odd address (see AllocateImage): the name is passed as a copy.
    WCHAR name[kNameChars];
    std::memcpy(name, NameOf(record->root), sizeof name);
    if (SetPrinterDataW(printer, name, REG_BINARY, record->image, record->imageSize) !=
        ERROR_SUCCESS) {
        ReportMessage(kMsgCannotWrite, name, kSaveOperation);
    }
    if (!close) {
        ToMemoryForm(record->root, record->image);
        SetOwners(record->root, AddressOf(record));
    }
}

} // namespace

int LoadByHandle(StructureRecord* record, HANDLE printer, LPCWSTR valueName) {
    if (record == nullptr || !UsablePrinter(printer) || IsEmpty(valueName)) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    int result = ReadValue(record, printer, valueName);
    if (result != kClassSuccess) {
        return result;
    }
    return AcceptImage(record, valueName);
}

int SaveByHandle(StructureRecord** record, HANDLE printer, BOOL close) {
    if (record == nullptr || *record == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    StructureRecord* saved = *record;
    if (saved->image == nullptr || !UsablePrinter(printer)) {
        // A closing save releases the record whatever stops it, so that the caller never has to.
        if (close) {
            Close(record);
        }
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    // Without its rebuilt string area the image would reference the caller's texts, so when the
    // rebuild fails the printer keeps its previous value and the record its changes.
    if (!saved->stringsChanged || RebuildStringArea(saved) == kClassSuccess) {
        WriteValue(saved, printer, close);
    }
    if (close) {
        FreeRecord(saved);
        *record = nullptr;
    }
    return kClassSuccess;
}

} // namespace moltr::store
