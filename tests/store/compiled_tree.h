#pragma once
// Compiled trees for the store's tests, built the way the description compiler fills them in.
#include <windows.h>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>
#include "sim/utf.h"
#include "store/image_writer.h"
#include "store/wide_text.h"

namespace moltr::store::testing {

inline CompiledField Field(std::u16string name, DWORD type, WORD count = 1) {
    CompiledField field;
    field.name = std::move(name);
    field.type = type;
    field.elementSize = ElementSizeOf(type);
    field.elementCount = count;
    return field;
}

inline DWORD RecordSizeOf(const CompiledStructure& structure) {
    DWORD size = 0;
    for (const CompiledField& field : structure.fields) {
        size += static_cast<DWORD>(field.elementSize) * field.elementCount;
    }
    return size;
}

// TAG followed by `fields`, with `records` zero-filled records.
inline CompiledStructure Structure(std::u16string name, std::vector<CompiledField> fields,
                                   WORD records) {
    CompiledStructure structure;
    structure.name = std::move(name);
    structure.fields.push_back(TagField());
    for (CompiledField& field : fields) {
        structure.fields.push_back(std::move(field));
    }
    structure.recordCount = records;
    structure.records.assign(static_cast<size_t>(RecordSizeOf(structure)) * records, 0);
    for (CompiledField& field : structure.fields) {
        if (field.type == kTypeString) {
            field.strings.resize(static_cast<size_t>(records) * field.elementCount);
        } else if (field.type == kTypeDynamic) {
            field.dynamics.resize(records);
        } else if (field.type == kTypeXpdStruct) {
            field.slices.resize(records);
        }
    }
    return structure;
}

inline CompiledField& FieldNamed(CompiledStructure& structure, const std::u16string& name) {
    for (CompiledField& field : structure.fields) {
        if (field.name == name) {
            return field;
        }
    }
    throw std::invalid_argument("no such field");
}

inline DWORD OffsetOf(const CompiledStructure& structure, const std::u16string& name) {
    DWORD offset = 0;
    for (const CompiledField& field : structure.fields) {
        if (field.name == name) {
            return offset;
        }
        offset += static_cast<DWORD>(field.elementSize) * field.elementCount;
    }
    throw std::invalid_argument("no such field");
}

template <class T>
void PutValue(CompiledStructure& structure, WORD record, const std::u16string& name, T value) {
    std::memcpy(structure.records.data() + static_cast<size_t>(record) * RecordSizeOf(structure) +
                    OffsetOf(structure, name),
                &value, sizeof value);
}

inline void PutText(CompiledStructure& structure, WORD record, const std::u16string& name,
                    std::u16string text, WORD element = 0) {
    CompiledField& field = FieldNamed(structure, name);
    field.strings[static_cast<size_t>(record) * field.elementCount + element] = std::move(text);
}

inline void PutSub(CompiledStructure& parent, CompiledStructure sub,
                   std::vector<CompiledSlice> slices) {
    CompiledField& field = FieldNamed(parent, sub.name);
    field.sub = std::make_unique<CompiledStructure>(std::move(sub));
    field.slices = std::move(slices);
}

inline CompiledDynamic Dynamic(std::u16string reference, DWORD value) {
    CompiledDynamic dynamic;
    dynamic.reference = std::move(reference);
    dynamic.type = kTypeDword;
    dynamic.elementSize = 4;
    dynamic.elementCount = 1;
    dynamic.bytes.resize(4);
    std::memcpy(dynamic.bytes.data(), &value, 4);
    return dynamic;
}

// PRINTERSETTINGS (3 records, tags "A", "B", "a") with _SIZE DWORD, _NAME STRING[2], _FLAG BYTE
// (so later areas start at odd offsets), OPTION (slices [0,2) [2,5) [5,5)) and _VALUE DYNAMIC
// (records 0 and 2, the same reference); OPTION (5 records, tags "X", "Y", "X", "Z", "X") with _ID
// WORD and its own sub-structure DEEP (1 record, slices [0,1) in OPTION record 0).
inline CompiledStructure SampleTree() {
    CompiledStructure root = Structure(
        u"PRINTERSETTINGS",
        [] {
            std::vector<CompiledField> fields;
            fields.push_back(Field(u"_SIZE", kTypeDword));
            fields.push_back(Field(u"_NAME", kTypeString, 2));
            fields.push_back(Field(u"_FLAG", kTypeByte));
            fields.push_back(Field(u"OPTION", kTypeXpdStruct));
            fields.push_back(Field(u"_VALUE", kTypeDynamic));
            return fields;
        }(),
        3);
    const char16_t* tags[] = {u"A", u"B", u"a"};
    for (WORD record = 0; record < 3; ++record) {
        PutText(root, record, u"TAG", tags[record]);
        PutValue<DWORD>(root, record, u"_SIZE", 100 + record);
        PutValue<BYTE>(root, record, u"_FLAG", static_cast<BYTE>(record + 1));
    }
    PutText(root, 0, u"_NAME", u"first");
    PutText(root, 0, u"_NAME", u"second", 1);
    PutText(root, 2, u"_NAME", u"third", 1);
    FieldNamed(root, u"_VALUE").dynamics[0] = Dynamic(u"PRINTERSETTINGS._SIZE", 7);
    FieldNamed(root, u"_VALUE").dynamics[2] = Dynamic(u"PRINTERSETTINGS._SIZE", 9);

    CompiledStructure option = Structure(
        u"OPTION",
        [] {
            std::vector<CompiledField> fields;
            fields.push_back(Field(u"_ID", kTypeWord));
            fields.push_back(Field(u"DEEP", kTypeXpdStruct));
            return fields;
        }(),
        5);
    const char16_t* optionTags[] = {u"X", u"Y", u"X", u"Z", u"X"};
    for (WORD record = 0; record < 5; ++record) {
        PutText(option, record, u"TAG", optionTags[record]);
        PutValue<WORD>(option, record, u"_ID", static_cast<WORD>(10 + record));
    }
    CompiledStructure deep = Structure(u"DEEP", {}, 1);
    PutText(deep, 0, u"TAG", u"D");
    PutSub(option, std::move(deep), {{0, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}});
    PutSub(root, std::move(option), {{0, 2}, {2, 5}, {5, 5}});
    return root;
}

// OEMDEVMODE as a private devmode looks: one record of 40 settings of every fixed type (the
// signature, size and version first), and a few texts.
inline CompiledStructure DevmodeTree() {
    const DWORD types[] = {kTypeByte, kTypeWord,     kTypeShort,   kTypeDword,
                           kTypeLong, kTypeColorref, kTypeDword64, kTypeLong64};
    std::vector<CompiledField> fields;
    fields.push_back(Field(u"_SIGNATURE", kTypeDword));
    fields.push_back(Field(u"_SIZE", kTypeDword));
    fields.push_back(Field(u"_VERSION", kTypeDword));
    fields.push_back(Field(u"_WMK_TEXT", kTypeString));
    fields.push_back(Field(u"_JOBNAME", kTypeChar, 32));
    for (int index = 5; index < 39; ++index) {
        fields.push_back(
            Field(u"_SETTING" + moltr::sim::Utf16(std::to_string(index)), types[index % 8]));
    }
    fields.push_back(Field(u"_DUPLEXTYPE", kTypeDword));
    CompiledStructure root = Structure(u"OEMDEVMODE", std::move(fields), 1);
    PutText(root, 0, u"TAG", u"MOLTR ColorLaser 4000");
    PutText(root, 0, u"_WMK_TEXT", u"Confidential");
    PutValue<DWORD>(root, 0, u"_SIGNATURE", 0x544C4F4D);
    PutValue<DWORD>(root, 0, u"_SIZE", RecordSizeOf(root) - 8);
    PutValue<DWORD>(root, 0, u"_DUPLEXTYPE", 2);
    return root;
}

// UTF-8 of a text inside an image, which may start at an odd address.
inline std::string TextOf(const void* text) {
    std::u16string copy;
    for (size_t i = 0; CharAt(text, i) != 0; ++i) {
        copy.push_back(static_cast<char16_t>(CharAt(text, i)));
    }
    return moltr::sim::Utf8(copy);
}

} // namespace moltr::store::testing
