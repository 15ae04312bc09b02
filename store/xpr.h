#pragma once
// The structure runtime: open root structures kept in a printer's data, select records by structure
// name and TAG, read and write fields by name, and store the image back.
//
// Every operation answers a result class (store/messages.h). Wide text is UTF-16; structure names
// compare ignoring the case of A-Z, field names compare exactly.
#include <windows.h>
#include "store/field_type.h"
#include "store/messages.h"

namespace moltr::store {

struct StructureHeader;

// A cursor on one structure inside a record's image: the address of its header. It owns nothing;
// the record and field selection live in the header, so handles on one structure share a cursor.
using StructureHandle = StructureHeader*;

// One open root structure and its image (one allocation), owned by its opener until Close or a
// closing save.
struct StructureRecord {
    BYTE* image;
    DWORD imageSize;
    StructureHeader* root;
    BOOL stringsChanged;   // a STRING field was written: the next save rebuilds the string area
    DWORD stringBytes;     // bytes of all texts referenced by STRING fields
    DWORD stringAreaStart; // imageSize - stringBytes
};

constexpr WORD kNone = 0xFFFF; // current record or field: none selected

// Records. The notifier and the render plug-in carry the runtime without OpenByName, SaveByName,
// GetRecordCount, GetFieldCount and GetFieldReference (library moltr_store_core).
int OpenByHandle(HANDLE printer, LPCWSTR structureName, StructureRecord** record);
int OpenByName(LPCWSTR printerName, LPCWSTR structureName, StructureRecord** record);
// Both answer 0 for valid arguments whatever the write's outcome (a printer that SaveByName cannot
// open: 63001's class); with `close` set the record is released and *record cleared in any case.
// After a STRING field was written the save moves the image: handles are taken again afterwards.
// A failed write leaves the record as it was in memory.
int SaveByHandle(StructureRecord** record, HANDLE printer, BOOL close);
int SaveByName(StructureRecord** record, LPCWSTR printerName, BOOL close);
int Close(StructureRecord** record);
// Replaces the record's image by the printer-data value `valueName` in memory form.
int LoadByHandle(StructureRecord* record, HANDLE printer, LPCWSTR valueName);

// Structures. With *handle null, finds `structureName` in the tree and opens its window (a
// sub-structure shows the current parent record's slice); then selects the next record, or with
// `tagFilter` the next record whose TAG equals it. Answers 0 with the handle, else a class with
// *handle null (1 after the last record).
int GetStructure(StructureRecord* record, LPCWSTR structureName, StructureHandle* handle,
                 LPCWSTR tagFilter);
// Record size without TAG (selects TAG as the current field).
DWORD GetDataSize(StructureHandle handle);
// window end - window start
WORD GetRecordCount(StructureHandle handle);

// Texts of STRING values lie at even addresses. Names and reference texts inside the image
// (GetFieldName, GetFieldReference) may not: they are read one code unit at a time or copied.
//
// Fields. A non-empty `fieldName` first selects that field (63102 when the structure has none);
// an empty or null one means the current field. DYNAMIC fields act on the current record's dynamic
// value; without one, copy and pointer operations answer 1 and queries 0.
int SelectField(StructureHandle handle, LPCWSTR fieldName);
int GetField(StructureHandle handle, LPCWSTR fieldName, void* destination, DWORD destinationSize);
int SetField(StructureHandle handle, LPCWSTR fieldName, const void* source, DWORD sourceSize);
int GetFieldPointer(StructureHandle handle, LPCWSTR fieldName, void** pointer);
int GetFieldName(StructureHandle handle, LPCWSTR* name);
DWORD GetFieldOffset(StructureHandle handle, LPCWSTR fieldName);
DWORD GetFieldType(StructureHandle handle, LPCWSTR fieldName);
WORD GetFieldSize(StructureHandle handle, LPCWSTR fieldName);
WORD GetFieldCount(StructureHandle handle, LPCWSTR fieldName);
int GetFieldReference(StructureHandle handle, LPCWSTR fieldName, LPCWSTR* reference);

} // namespace moltr::store
