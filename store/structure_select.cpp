// GetStructure: finding a structure in the tree, opening its window of records and stepping
// through them, optionally by TAG.
#include "store/cursor.h"
#include "store/wide_text.h"

namespace moltr::store {

namespace {

// Depth-first pre-order search from `header`: the structure itself first, then each sub-structure
// in field order with its own sub-structures.
template <class Match> StructureHeader* FindInTree(StructureHeader* header, Match match) {
    if (match(header)) {
        return header;
    }
    for (WORD index = 0; index < header->fieldCount; ++index) {
        if (StructureHeader* sub = SubStructureOf(header, FieldAt(header, index))) {
            if (StructureHeader* found = FindInTree(sub, match)) {
                return found;
            }
        }
    }
    return nullptr;
}

void OpenWindow(const StructureRecord* record, StructureHeader* header) {
    if (header == record->root) {
        header->windowStart = 0;
        header->windowEnd = header->recordCount;
        header->currentRecord = kNone;
        header->currentField = kNone;
        return;
    }
    // A sub-structure shows the slice that the parent's current record owns; without a current
    // parent record the window stays as it is.
    const StructureHeader* parent = AtAddress<StructureHeader>(header->parent);
    if (parent->currentRecord >= parent->windowEnd) {
        return;
    }
    for (WORD index = 0; index < parent->fieldCount; ++index) {
        const FieldDescriptor* field = FieldAt(parent, index);
        if (SubStructureOf(parent, field) != header) {
            continue;
        }
        const BYTE* bytes = CurrentValue(parent, field);
        if (bytes == nullptr) {
            return;
        }
        SubStructureValue value;
        std::memcpy(&value, bytes, sizeof value);
        header->windowStart = value.first;
        header->windowEnd = value.end;
        header->currentRecord = static_cast<WORD>(value.first - 1);
        header->currentField = kNone;
        return;
    }
}

const WCHAR* TagOf(const StructureHeader* header, WORD record) {
    return AtAddress<const WCHAR>(LoadU64(RecordAt(header, record)));
}

int SelectRecord(StructureHeader* header, LPCWSTR tagFilter) {
    // A loaded image may carry any window, so it is cut to the records that exist.
    const WORD end =
        header->windowEnd < header->recordCount ? header->windowEnd : header->recordCount;
    const WORD current = header->currentRecord;
    if (IsEmpty(tagFilter)) {
        const WORD next = static_cast<WORD>(current + 1);
        if (next >= end) {
            return ReportMessage(kMsgNoFurtherRecord);
        }
        header->currentRecord = next;
        return kClassSuccess;
    }
    const bool continues = static_cast<WORD>(current + 1) != header->windowStart &&
                           current < header->recordCount && TagOf(header, current) != nullptr &&
                           TextsEqualIgnoringCase(TagOf(header, current), tagFilter);
    for (WORD index = continues ? static_cast<WORD>(current + 1) : header->windowStart; index < end;
         ++index) {
        const WCHAR* tag = TagOf(header, index);
        if (tag != nullptr && TextsEqual(tag, tagFilter)) {
            header->currentRecord = index;
            return kClassSuccess;
        }
    }
    return continues ? ReportMessage(kMsgNoFurtherRecord)
                     : ReportMessage(kMsgNoRecordWithTag, NameOf(header), tagFilter);
}

} // namespace

int GetStructure(StructureRecord* record, LPCWSTR structureName, StructureHandle* handle,
                 LPCWSTR tagFilter) {
    if (record == nullptr || record->root == nullptr || handle == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    StructureHeader* header = *handle;
    *handle = nullptr;
    if (header == nullptr) {
        if (IsEmpty(structureName)) {
            return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
        }
        header = FindInTree(record->root, [&](const StructureHeader* candidate) {
            return TextsEqualIgnoringCase(NameOf(candidate), structureName);
        });
        if (header == nullptr) {
            return ReportMessage(kMsgNoSuchStructure, structureName, NameOf(record->root));
        }
        OpenWindow(record, header);
    } else if (FindInTree(record->root, [&](const StructureHeader* candidate) {
                   return candidate == header;
               }) == nullptr) {
        // Not a structure of this record.
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    header->owner = AddressOf(record);
    const int result = SelectRecord(header, tagFilter);
    if (result == kClassSuccess) {
        *handle = header;
    }
    return result;
}

} // namespace moltr::store
