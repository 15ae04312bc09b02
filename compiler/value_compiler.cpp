#include "compiler/value_compiler.h"

#include "compiler/item_id_check.h"
#include "compiler/value_conversion.h"
#include "store/field_type.h"

namespace moltr::compiler {

namespace {

// Records beyond this are refused as out of memory: no description needs them, and an image holds
// the records of all its structures at once.
constexpr size_t kMaxRecordBytes = 0x04000000;

// The position of a record and its block, for the value of each field.
struct RecordPlace {
    Structure& structure;
    Token& token;
    WORD index;
    int depth;
};

// The value token *F of `field` inside the record's block, or null after the warning for a missing
// or empty value when the field warns.
const Token* FindValue(Compilation& compilation, const RecordPlace& place, const Field& field) {
    const Token* value = compilation.tokens.Find(&place.token, u"*" + field.name, place.depth + 1);
    if (value != nullptr && !value->value.empty()) {
        return value;
    }
    if (field.warnWhenEmpty) {
        compilation.messages.Raise(value == nullptr ? message::kNoValueForField
                                                    : message::kEmptyValueForField,
                                   {field.name, place.structure.name, place.token.value});
    }
    return nullptr;
}

void CompilePlainValue(Compilation& compilation, ValueServices& services, const RecordPlace& place,
                       Field& field) {
    const Token* value = FindValue(compilation, place, field);
    if (value == nullptr) {
        return;
    }
    const ValueTarget target{field.type, field.elementSize, field.elementCount, field.name};
    if (field.type == store::kTypeString) {
        ConvertStrings(compilation.messages, services, target, value->key, value->value,
                       &field.strings[static_cast<size_t>(place.index) * field.elementCount]);
        return;
    }
    BYTE* destination = place.structure.records.data() +
                        static_cast<size_t>(place.index) * place.structure.recordSize +
                        field.offset;
    ConvertValue(compilation.messages, services, target, value->key, value->value, destination);
}

void CompileDynamicValue(Compilation& compilation, ValueServices& services,
                         const RecordPlace& place, const ReferenceList& references, Field& field) {
    const Reference* reference = nullptr;
    for (const Reference& candidate : references) {
        if (candidate.valueField == field.name) {
            reference = &candidate;
            break;
        }
    }
    if (reference == nullptr) {
        if (field.warnWhenEmpty) {
            compilation.messages.Raise(message::kNoReferenceForDynamicField,
                                       {field.name, place.structure.name, place.token.value});
        }
        return;
    }
    store::CompiledDynamic& dynamic = field.dynamics[place.index].emplace();
    dynamic.reference = reference->fieldDescriptor;
    dynamic.type = reference->type;
    dynamic.elementSize = reference->elementSize;
    dynamic.elementCount = reference->elementCount;
    dynamic.bytes.assign(static_cast<size_t>(dynamic.elementSize) * dynamic.elementCount, 0);
    const Token* value = FindValue(compilation, place, field);
    // References never give these types; a value of one would have no place in the bytes.
    const bool convertible = dynamic.type != store::kTypeString &&
                             dynamic.type != store::kTypeXpdStruct &&
                             dynamic.type != store::kTypeDynamic;
    if (value == nullptr || !convertible || dynamic.bytes.empty()) {
        return;
    }
    const ValueTarget target{dynamic.type, dynamic.elementSize, dynamic.elementCount, field.name};
    ConvertValue(compilation.messages, services, target, value->key, value->value,
                 dynamic.bytes.data());
}

// Compiles the fields of one record from its block; returns a nonzero class when a sub-structure's
// compile stops this one.
int CompileRecord(Compilation& compilation, ValueServices& services, const RecordPlace& place,
                  const ReferenceList& inherited, bool force) {
    Structure& structure = place.structure;
    structure.fields[0].strings[place.index] = place.token.value;

    ReferenceList references = inherited;
    TokenIteration referenceTokens(compilation.tokens, &place.token, u"*REFERENCES",
                                   place.depth + 1);
    while (Token* token = referenceTokens.Next()) {
        const int result = services.AddReference(token->value, references);
        if (result >= kError) {
            return result;
        }
    }
    if (referenceTokens.Result() != kSuccess) {
        return referenceTokens.Result();
    }

    for (size_t index = 1; index < structure.fields.size(); ++index) {
        Field& field = structure.fields[index];
        switch (field.type) {
        case store::kTypeXpdStruct: {
            store::CompiledSlice& slice = field.slices[place.index];
            slice.first = field.sub->recordCount;
            const int result = CompileValues(compilation, services, *field.sub, place.depth + 1,
                                             &place.token, u"", references, force);
            if (result != kSuccess) {
                return result;
            }
            slice.end = field.sub->recordCount;
            break;
        }
        case store::kTypeDynamic:
            CompileDynamicValue(compilation, services, place, references, field);
            break;
        default:
            CompilePlainValue(compilation, services, place, field);
            break;
        }
    }
    return CheckItemId(compilation, structure, place.index);
}

// Grows the records of `structure` by `added` zero-filled records, with room for their values.
bool GrowRecords(Structure& structure, size_t added) {
    const size_t count = structure.recordCount + added;
    if (count > 0xFFFF || count * structure.recordSize > kMaxRecordBytes) {
        return false;
    }
    structure.recordCount = static_cast<WORD>(count);
    structure.records.resize(count * structure.recordSize, 0);
    for (Field& field : structure.fields) {
        switch (field.type) {
        case store::kTypeString:
            field.strings.resize(count * field.elementCount);
            break;
        case store::kTypeDynamic:
            field.dynamics.resize(count);
            break;
        case store::kTypeXpdStruct:
            field.slices.resize(count);
            break;
        default:
            break;
        }
    }
    return true;
}

} // namespace

int CompileValues(Compilation& compilation, ValueServices& services, Structure& structure,
                  int depth, const Token* scope, std::u16string_view driverName,
                  const ReferenceList& references, bool force) {
    TokenList& tokens = compilation.tokens;
    if (structure.fields.empty()) {
        return compilation.messages.RaiseInternal(message::kInvalidParameters, __FILE__, __LINE__);
    }
    const std::u16string key = u"*" + structure.name;
    // A root with records for this very model compiles only those.
    std::optional<std::u16string_view> filter;
    if (scope == nullptr && !driverName.empty() &&
        tokens.Find(nullptr, key, depth, driverName) != nullptr) {
        filter = driverName;
    }

    size_t count = 0;
    {
        TokenIteration counting(tokens, scope, key, depth, filter);
        while (counting.Next() != nullptr) {
            ++count;
        }
        if (counting.Result() != kSuccess) {
            return counting.Result();
        }
    }
    if (count == 0 && !force) {
        return compilation.messages.Raise(message::kNoValuesForStructure, {structure.name});
    }
    const WORD first = structure.recordCount;
    if (!GrowRecords(structure, count == 0 ? 1 : count)) {
        return compilation.messages.RaiseInternal(message::kOutOfMemory, __FILE__, __LINE__);
    }
    if (count == 0) {
        return kSuccess; // the forced record stays empty
    }

    TokenIteration records(tokens, scope, key, depth, filter);
    for (size_t index = first; index < structure.recordCount; ++index) {
        Token* record = records.Next();
        if (record == nullptr) {
            break;
        }
        const RecordPlace place{structure, *record, static_cast<WORD>(index), depth};
        const int result = CompileRecord(compilation, services, place, references, force);
        if (result != kSuccess) {
            return result;
        }
    }
    return records.Result();
}

} // namespace moltr::compiler
