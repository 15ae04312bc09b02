#include "compiler/structure_compiler.h"

#include "compiler/decimal_number.h"
#include "compiler/field_type_name.h"
#include "store/field_type.h"

namespace moltr::compiler {

namespace {

// Record layouts beyond this are refused as out of memory: no description needs them, and the
// records of a compile must fit in memory many times over.
constexpr DWORD kMaxRecordSize = 0x01000000;

std::u16string MaxNameText() {
    return NumberText(static_cast<long long>(store::kMaxNameLength));
}

// Adds the field declared by `fieldToken` (at depth + 1) to `structure`.
int CompileField(Compilation& compilation, ValueServices& services, Structure& structure,
                 Token& fieldToken, int depth) {
    Messages& messages = compilation.messages;
    TokenList& tokens = compilation.tokens;
    const std::u16string& name = fieldToken.value;

    const Token* typeToken = tokens.Find(&fieldToken, u"*FIELDTYPE", depth + 2);
    if (typeToken == nullptr) {
        return messages.Raise(message::kNoFieldType, {name, structure.name});
    }
    const DWORD type = FieldTypeFromName(typeToken->value);
    if (type == 0) {
        return messages.Raise(message::kInvalidFieldType, {typeToken->value, name, structure.name});
    }
    const std::u16string_view typeName = FieldTypeName(type);

    DWORD count = 1;
    if (const Token* sizeToken = tokens.Find(&fieldToken, u"*ARRAYSIZE", depth + 2)) {
        count = ParseUnsigned32(services.Translate(sizeToken->key, sizeToken->value));
        if (count == 0 || count > 0xFFFF) {
            return messages.Raise(message::kInvalidArraySize,
                                  {typeName, name, NumberText(count), structure.name});
        }
        if (type == store::kTypeXpdStruct || type == store::kTypeDynamic) {
            messages.Raise(message::kArraySizeNotAllowed, {typeName, name, structure.name});
            count = 1;
        }
    }
    const Token* warnToken = tokens.Find(&fieldToken, u"*WARNWHENEMPTY", depth + 2);

    if (name.size() > store::kMaxNameLength) {
        messages.Raise(message::kFieldNameTooLong, {name, MaxNameText()});
        return messages.Raise(message::kCannotInitializeField, {name, structure.name});
    }

    Field field;
    field.name = name;
    field.type = type;
    field.elementSize = store::ElementSizeOf(type);
    field.elementCount = static_cast<WORD>(count);
    field.warnWhenEmpty = warnToken == nullptr || warnToken->value != u"OFF";
    if (type == store::kTypeXpdStruct) {
        field.sub = std::make_unique<Structure>();
        const int result =
            CompileDefinition(compilation, services, *field.sub, name, depth + 1, &fieldToken);
        if (result >= kError) {
            return result;
        }
    }
    const DWORD size = static_cast<DWORD>(field.elementSize) * field.elementCount;
    if (structure.recordSize > kMaxRecordSize - size) {
        return messages.RaiseInternal(message::kOutOfMemory, __FILE__, __LINE__);
    }
    field.offset = structure.recordSize;
    structure.recordSize += size;
    structure.fields.push_back(std::move(field));
    return kSuccess;
}

} // namespace

int CompileDefinition(Compilation& compilation, ValueServices& services, Structure& structure,
                      std::u16string_view name, int depth, const Token* scope) {
    Messages& messages = compilation.messages;
    TokenList& tokens = compilation.tokens;
    if (name.size() > store::kMaxNameLength) {
        return messages.Raise(message::kStructureNameTooLong, {name, MaxNameText()});
    }
    structure.name = name;

    TokenIteration definitions(tokens, scope, u"*XPDSTRUCT", depth, name);
    while (Token* definition = definitions.Next()) {
        if (tokens.Find(definition, u"*FORCEWRITE", depth + 1, u"ON") != nullptr) {
            structure.forceWrite = true;
        }
        TokenIteration fieldTokens(tokens, definition, u"*FIELD", depth + 1);
        while (Token* fieldToken = fieldTokens.Next()) {
            if (structure.fields.empty()) {
                Field tag;
                tag.name = u"TAG";
                tag.type = store::kTypeString;
                tag.elementSize = store::ElementSizeOf(store::kTypeString);
                structure.recordSize = tag.elementSize;
                structure.fields.push_back(std::move(tag));
            }
            const int result = CompileField(compilation, services, structure, *fieldToken, depth);
            if (result >= kError) {
                return result;
            }
        }
        if (fieldTokens.Result() >= kError) {
            return fieldTokens.Result();
        }
    }
    if (definitions.Result() >= kError) {
        return definitions.Result();
    }
    if (structure.fields.empty()) {
        return messages.Raise(message::kStructureDefinitionMissing, {name});
    }
    return kSuccess;
}

} // namespace moltr::compiler
