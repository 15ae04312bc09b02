#include "moltr/stored_image.h"

#include <cstring>
#include "sim/utf.h"
#include "store/field_type.h"
#include "store/image_layout.h"

namespace moltr::tool {

namespace {

class ImageReader {
public:
    ImageReader(const std::vector<BYTE>& image, std::vector<StoredStructure>& structures)
        : image_(image), structures_(structures) {}

    bool Read(ULONG64 headerOffset, int parent, int depth);
    const std::string& error() const { return error_; }

private:
    bool Fail(const std::string& what) {
        error_ = what;
        return false;
    }
    bool Inside(ULONG64 offset, ULONG64 size) const {
        return offset <= image_.size() && size <= image_.size() - offset;
    }
    template <class T> T Load(ULONG64 offset) const {
        T value;
        std::memcpy(&value, image_.data() + offset, sizeof value);
        return value;
    }
    // A name array of a header or descriptor at `offset` (inside the image).
    std::string Name(ULONG64 offset) const {
        char16_t name[store::kNameChars];
        std::memcpy(name, image_.data() + offset, sizeof name);
        size_t length = 0;
        while (length < store::kNameChars && name[length] != 0) {
            ++length;
        }
        return sim::Utf8(std::u16string_view(name, length));
    }
    // The NUL-terminated UTF-16 text at `offset`, or false when it runs out of the image.
    bool Text(ULONG64 offset, std::string& text) const;
    bool Element(DWORD type, ULONG64 at, JsonValue& value) const;
    bool Value(DWORD type, WORD size, WORD count, ULONG64 at, JsonValue& value) const;

    const std::vector<BYTE>& image_;
    std::vector<StoredStructure>& structures_;
    std::string error_;
};

bool ImageReader::Text(ULONG64 offset, std::string& text) const {
    std::u16string wide;
    for (ULONG64 at = offset;; at += 2) {
        if (!Inside(at, 2)) {
            return false;
        }
        char16_t c = Load<char16_t>(at);
        if (c == 0) {
            text = sim::Utf8(wide);
            return true;
        }
        wide += c;
    }
}

bool ImageReader::Element(DWORD type, ULONG64 at, JsonValue& value) const {
    switch (type) {
    case store::kTypeByte:
        value = JsonValue::Unsigned(Load<BYTE>(at));
        return true;
    case store::kTypeWord:
        value = JsonValue::Unsigned(Load<WORD>(at));
        return true;
    case store::kTypeShort:
        value = JsonValue::Signed(Load<SHORT>(at));
        return true;
    case store::kTypeDword:
    case store::kTypeColorref:
        value = JsonValue::Unsigned(Load<DWORD>(at));
        return true;
    case store::kTypeLong:
        value = JsonValue::Signed(Load<LONG>(at));
        return true;
    case store::kTypeDword64:
        value = JsonValue::Unsigned(Load<ULONG64>(at));
        return true;
    case store::kTypeLong64:
        value = JsonValue::Signed(Load<LONG64>(at));
        return true;
    case store::kTypeString: {
        ULONG64 offset = Load<ULONG64>(at);
        std::string text;
        if (offset == 0) {
            value = JsonValue();
            return true;
        }
        if (!Text(offset, text)) {
            return false;
        }
        value = JsonValue::String(text);
        return true;
    }
    default:
        value = JsonValue();
        return true;
    }
}

bool ImageReader::Value(DWORD type, WORD size, WORD count, ULONG64 at, JsonValue& value) const {
    if (!Inside(at, static_cast<ULONG64>(size) * count) ||
        (store::ElementSizeOf(type) != 0 && store::ElementSizeOf(type) != size)) {
        return false;
    }
    if (type == store::kTypeChar) {
        std::u16string wide;
        for (WORD i = 0; i < count; ++i) {
            char16_t c = Load<char16_t>(at + 2ull * i);
            if (c == 0) {
                break;
            }
            wide += c;
        }
        value = JsonValue::String(sim::Utf8(wide));
        return true;
    }
    if (count == 1) {
        return Element(type, at, value);
    }
    value = JsonValue::Array();
    for (WORD i = 0; i < count; ++i) {
        if (!Element(type, at + static_cast<ULONG64>(size) * i, value.Add(JsonValue()))) {
            return false;
        }
    }
    return true;
}

bool ImageReader::Read(ULONG64 headerOffset, int parent, int depth) {
    if (depth > store::kMaxNesting || !Inside(headerOffset, sizeof(store::StructureHeader))) {
        return Fail("a structure header lies outside the image");
    }
    auto header = Load<store::StructureHeader>(headerOffset);
    StoredStructure structure;
    structure.name = Name(headerOffset + offsetof(store::StructureHeader, name));
    structure.parent = parent;
    structure.recordSize = header.recordSize;
    structure.recordCount = header.recordCount;
    if (!Inside(header.fields,
                static_cast<ULONG64>(header.fieldCount) * sizeof(store::FieldDescriptor)) ||
        !Inside(header.data, static_cast<ULONG64>(header.recordCount) * header.recordSize)) {
        return Fail("the fields or records of " + structure.name + " lie outside the image");
    }
    std::vector<ULONG64> subs;
    for (WORD i = 0; i < header.fieldCount; ++i) {
        ULONG64 at = header.fields + i * sizeof(store::FieldDescriptor);
        auto descriptor = Load<store::FieldDescriptor>(at);
        StoredField field;
        field.name = Name(at);
        field.type = descriptor.type;
        field.offset = descriptor.offset;
        field.elementSize = descriptor.elementSize;
        field.elementCount = descriptor.elementCount;
        if (static_cast<ULONG64>(field.offset) + ULONG64{field.elementSize} * field.elementCount >
            header.recordSize) {
            return Fail("field " + field.name + " of " + structure.name + " exceeds its record");
        }
        structure.fields.push_back(field);
    }
    int index = static_cast<int>(structures_.size());
    for (WORD r = 0; r < header.recordCount; ++r) {
        JsonValue record = JsonValue::Object();
        ULONG64 base = header.data + static_cast<ULONG64>(r) * header.recordSize;
        for (const StoredField& field : structure.fields) {
            ULONG64 at = base + field.offset;
            JsonValue& value = record.Add(field.name, JsonValue());
            if (field.type == store::kTypeXpdStruct) {
                auto sub = Load<store::SubStructureValue>(at);
                value = JsonValue::Object();
                value.Add("first", JsonValue::Unsigned(sub.first));
                value.Add("end", JsonValue::Unsigned(sub.end));
                if (r == 0) {
                    subs.push_back(sub.header);
                }
            } else if (field.type == store::kTypeDynamic) {
                ULONG64 offset = Load<ULONG64>(at);
                if (offset == 0) {
                    continue;
                }
                if (!Inside(offset, sizeof(store::DynamicValue))) {
                    return Fail("a dynamic value of " + structure.name + " lies outside the image");
                }
                auto dynamic = Load<store::DynamicValue>(offset);
                value = JsonValue::Object();
                std::string reference;
                if (dynamic.reference == 0) {
                    value.Add("reference", JsonValue());
                } else if (Text(dynamic.reference, reference)) {
                    value.Add("reference", JsonValue::String(reference));
                } else {
                    return Fail("a reference text of " + structure.name + " runs out of the image");
                }
                value.Add("type", JsonValue::Unsigned(dynamic.type));
                JsonValue& data = value.Add("value", JsonValue());
                if (dynamic.data != 0 && !Value(dynamic.type, dynamic.elementSize,
                                                dynamic.elementCount, dynamic.data, data)) {
                    return Fail("a dynamic value of " + structure.name + " runs out of the image");
                }
            } else if (!Value(field.type, field.elementSize, field.elementCount, at, value)) {
                return Fail("a value of " + field.name + " in " + structure.name +
                            " runs out of the image");
            }
        }
        structure.records.push_back(std::move(record));
    }
    structures_.push_back(std::move(structure));
    for (ULONG64 sub : subs) {
        if (!Read(sub, index, depth + 1)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ReadStoredImage(const std::vector<BYTE>& image, std::vector<StoredStructure>& structures,
                     std::string& error) {
    structures.clear();
    ImageReader reader(image, structures);
    if (!reader.Read(0, -1, 0)) {
        error = reader.error();
        return false;
    }
    return true;
}

} // namespace moltr::tool
