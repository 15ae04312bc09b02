#include "compiler/item_id_check.h"

#include <cstring>
#include "compiler/upper_text.h"

namespace moltr::compiler {

namespace {

// DMPUBID's value that hands the item id to CONTROLID.
constexpr WORD kUseControlId = 0xFFFF;

bool IsFeatureStructure(const Structure& structure) {
    const std::u16string name = UpperText(structure.name);
    return name == u"DOCUMENTFEATURE" || name == u"PRINTERFEATURE";
}

// The 16-bit value of `name` in record `index`, or 0 when the structure has no such field.
WORD WordField(const Structure& structure, WORD index, std::u16string_view name) {
    const Field* field = structure.FindField(name);
    if (field == nullptr || field->elementSize != sizeof(WORD)) {
        return 0;
    }
    WORD value = 0;
    std::memcpy(&value,
                structure.records.data() + static_cast<size_t>(index) * structure.recordSize +
                    field->offset,
                sizeof value);
    return value;
}

} // namespace

int CheckItemId(Compilation& compilation, const Structure& structure, WORD index) {
    if (!IsFeatureStructure(structure)) {
        return kSuccess;
    }
    const WORD dmPubId = WordField(structure, index, u"DMPUBID");
    const bool byControl = dmPubId == kUseControlId;
    const DWORD id = byControl ? WordField(structure, index, u"CONTROLID") : dmPubId;
    if (id <= kLargestItemId) {
        return kSuccess;
    }
    const std::optional<std::u16string>& tag = structure.fields[0].strings[index];
    return compilation.messages.Raise(
        message::kItemIdDoesNotFit, {NumberText(id), byControl ? u"CONTROLID" : u"DMPUBID",
                                     tag ? *tag : u"", structure.name, NumberText(kLargestItemId)});
}

} // namespace moltr::compiler
