#pragma once
// The lists of saved watermarks and saved document settings: one entry per OPTION record of the
// WATERMARKSETTINGS or DOCUMENTSETTINGS structure, named by the record's _TEXT, with the record's
// 8-byte _PERSIST value beside it. A record with an empty name is a free slot; its entry is hidden.
#include <windows.h>
#include <compstui.h>
#include "store/xpr.h"

namespace moltr::ui {

enum class NamedListKind { kWatermarks, kDocumentSettings };

// The entries as a combo box's OPTTYPE takes them, on the UI heap. Each entry's pData and lParam
// point at the same copy of its name.
struct NamedList {
    POPTPARAM options = nullptr;
    ULONGLONG* persist = nullptr;
    DWORD count = 0;
};

// Replaces `list` by the records of the kind's structure in `record`; answers the entry count, 0
// (with an empty list) when the structure is missing or the heap has no room.
DWORD LoadNamedList(HANDLE heap, store::StructureRecord* record, NamedListKind kind,
                    NamedList& list);

// Writes the first `count` entries back into the records, in order: hidden entries empty their
// record's name. The last entry of a document-settings list stands for the current settings and
// is not stored.
void StoreNamedList(store::StructureRecord* record, NamedListKind kind, const NamedList& list,
                    DWORD count);

void FreeNamedList(HANDLE heap, NamedList& list);

} // namespace moltr::ui
