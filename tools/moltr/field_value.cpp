#include "moltr/field_value.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "compiler/field_type_name.h"
#include "sim/utf.h"
#include "store/field_type.h"

namespace moltr::tool {
namespace {

constexpr DWORD kTagSize = 8;

bool IsSigned(DWORD type) {
    return type == store::kTypeShort || type == store::kTypeLong || type == store::kTypeLong64;
}

// Whether the number is one that `size` bytes of the field's kind hold; a negative text gives no
// unsigned value.
bool Fits(long long value, bool isSigned, size_t size, bool negative) {
    if (size >= 8) {
        return isSigned || !negative;
    }
    const long long span = 1ll << (8 * size);
    return isSigned ? value >= -span / 2 && value < span / 2 : !negative && value < span;
}

bool IsNumber(DWORD type) {
    return type != store::kTypeChar && type != store::kTypeString &&
           type != store::kTypeXpdStruct && type != store::kTypeDynamic;
}

std::string ElementText(const StoredField& field, const BYTE* at) {
    ULONG64 value = 0;
    std::memcpy(&value, at, std::min<size_t>(field.elementSize, sizeof value));
    char text[32];
    if (field.type == store::kTypeColorref) {
        std::snprintf(text, sizeof text, "0x%06llx", static_cast<unsigned long long>(value));
    } else if (IsSigned(field.type)) {
        int shift = 64 - 8 * field.elementSize;
        long long number = static_cast<long long>(value << shift) >> shift;
        std::snprintf(text, sizeof text, "%lld", number);
    } else {
        std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
    }
    return text;
}

} // namespace

std::string FieldValueText(const StoredField& field, const BYTE* bytes) {
    if (field.type == store::kTypeChar) {
        std::u16string text(field.elementCount, u'\0');
        std::memcpy(text.data(), bytes, text.size() * sizeof(char16_t));
        text.resize(std::min(text.find(u'\0'), text.size()));
        return "\"" + sim::Utf8(text) + "\"";
    }
    if (!IsNumber(field.type) || field.elementSize == 0 || field.elementSize > 8) {
        return "(reference)";
    }
    if (field.elementCount == 1) {
        return ElementText(field, bytes);
    }
    std::string text;
    if (field.type == store::kTypeByte) {
        char pair[3];
        for (WORD i = 0; i < field.elementCount; ++i) {
            std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
            text += pair;
        }
        return text;
    }
    for (WORD i = 0; i < field.elementCount; ++i) {
        text += (i == 0 ? "[" : ", ") + ElementText(field, bytes + i * field.elementSize);
    }
    return text + "]";
}

std::string ParseFieldValue(const StoredField& field, const std::string& text,
                            std::vector<BYTE>& bytes) {
    bytes.assign(static_cast<size_t>(field.elementSize) * field.elementCount, 0);
    if (field.type == store::kTypeChar) {
        std::u16string wide = sim::Utf16(text);
        if (wide.size() >= field.elementCount) {
            return field.name + " holds at most " + std::to_string(field.elementCount - 1) +
                   " characters";
        }
        std::memcpy(bytes.data(), wide.data(), wide.size() * sizeof(char16_t));
        return {};
    }
    if (!IsNumber(field.type) || field.elementSize == 0 || field.elementSize > 8) {
        return field.name + " cannot be set from the command line";
    }
    size_t element = 0;
    const char* at = text.c_str();
    while (*at != '\0') {
        if (element == field.elementCount) {
            return field.name + " has " + std::to_string(field.elementCount) + " elements";
        }
        char* end = nullptr;
        errno = 0;
        long long value = IsSigned(field.type) ? std::strtoll(at, &end, 0)
                                               : static_cast<long long>(std::strtoull(at, &end, 0));
        if (end == at || errno == ERANGE || (*end != '\0' && *end != ',')) {
            return "not a number for " + field.name + ": " + text;
        }
        if (!Fits(value, IsSigned(field.type), field.elementSize, *at == '-')) {
            return "the value does not fit " + field.name + ": " + text;
        }
        std::memcpy(bytes.data() + element * field.elementSize, &value, field.elementSize);
        ++element;
        at = *end == ',' ? end + 1 : end;
    }
    return element == 0 ? "no value for " + field.name : std::string();
}

std::vector<StoredField> BlockFields(const StoredStructure& structure) {
    std::vector<StoredField> fields;
    for (StoredField field : structure.fields) {
        if (field.offset >= kTagSize) {
            field.offset -= kTagSize;
            fields.push_back(field);
        }
    }
    return fields;
}

void PrintBlock(const StoredStructure& structure, const std::vector<BYTE>& data) {
    std::printf("%-32s %-9s %6s %5s  %s\n", "field", "type", "offset", "size", "value");
    for (const StoredField& field : BlockFields(structure)) {
        size_t size = static_cast<size_t>(field.elementSize) * field.elementCount;
        std::string type = sim::Utf8(compiler::FieldTypeName(field.type));
        std::string value = field.offset + size <= data.size()
                                ? FieldValueText(field, data.data() + field.offset)
                                : "(outside the block)";
        std::printf("%-32s %-9s %6u %5zu  %s\n", field.name.c_str(),
                    type.empty() ? "?" : type.c_str(), field.offset, size, value.c_str());
    }
}

void PrintHex(const std::vector<BYTE>& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::printf("%02x%c", bytes[i], i % 16 == 15 || i + 1 == bytes.size() ? '\n' : ' ');
    }
}

} // namespace moltr::tool
