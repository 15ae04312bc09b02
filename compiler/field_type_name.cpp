#include "compiler/field_type_name.h"

#include "store/field_type.h"

namespace moltr::compiler {

namespace {

struct TypeName {
    std::u16string_view name;
    DWORD type;
};

constexpr TypeName kTypeNames[] = {
    {u"BYTE", store::kTypeByte},           {u"CHAR", store::kTypeChar},
    {u"WORD", store::kTypeWord},           {u"SHORT", store::kTypeShort},
    {u"DWORD", store::kTypeDword},         {u"DWORD64", store::kTypeDword64},
    {u"LONG", store::kTypeLong},           {u"LONG64", store::kTypeLong64},
    {u"COLORREF", store::kTypeColorref},   {u"STRING", store::kTypeString},
    {u"XPDSTRUCT", store::kTypeXpdStruct}, {u"DYNAMIC", store::kTypeDynamic},
};

} // namespace

DWORD FieldTypeFromName(std::u16string_view name) {
    for (const TypeName& entry : kTypeNames) {
        if (entry.name == name) {
            return entry.type;
        }
    }
    return 0;
}

std::u16string_view FieldTypeName(DWORD type) {
    for (const TypeName& entry : kTypeNames) {
        if (entry.type == type) {
            return entry.name;
        }
    }
    return {};
}

} // namespace moltr::compiler
