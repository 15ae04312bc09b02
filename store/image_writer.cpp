#include "store/image_writer.h"
#include <new>
#include <string_view>
#include <unordered_map>
#include "store/image_layout.h"
#include "store/record_memory.h"
#include "store/relocation.h"
#include "store/string_area.h"

namespace moltr::store {

namespace {

bool ValidText(const std::u16string& text) {
    return text.find(u'\0') == std::u16string::npos;
}

bool ValidName(const std::u16string& name) {
    return !name.empty() && name.size() <= kMaxNameLength && ValidText(name);
}

ULONG64 RecordSizeOf(const CompiledStructure& structure) {
    ULONG64 size = 0;
    for (const CompiledField& field : structure.fields) {
        size += ULONG64{field.elementSize} * field.elementCount;
    }
    return size;
}

bool ValidField(const CompiledField& field, WORD records) {
    if (!ValidName(field.name)) {
        return false;
    }
    if (field.type != kTypeString && !field.strings.empty()) {
        return false;
    }
    if (field.type != kTypeDynamic && !field.dynamics.empty()) {
        return false;
    }
    if (field.type != kTypeXpdStruct && (field.sub || !field.slices.empty())) {
        return false;
    }
    switch (field.type) {
    case kTypeString:
        if (field.elementSize != sizeof(ULONG64) ||
            (!field.strings.empty() &&
             field.strings.size() != size_t{records} * field.elementCount)) {
            return false;
        }
        for (const auto& text : field.strings) {
            if (text && !ValidText(*text)) {
                return false;
            }
        }
        return true;
    case kTypeDynamic:
        if (field.elementSize != sizeof(ULONG64) || field.elementCount != 1 ||
            (!field.dynamics.empty() && field.dynamics.size() != records)) {
            return false;
        }
        for (const auto& dynamic : field.dynamics) {
            if (dynamic &&
                ((dynamic->reference && !ValidText(*dynamic->reference)) ||
                 (!dynamic->bytes.empty() &&
                  dynamic->bytes.size() != size_t{dynamic->elementSize} * dynamic->elementCount))) {
                return false;
            }
        }
        return true;
    case kTypeXpdStruct:
        return field.elementSize == sizeof(SubStructureValue) && field.elementCount == 1 &&
               field.sub != nullptr && (field.slices.empty() || field.slices.size() == records);
    default:
        return true;
    }
}

bool ValidStructure(const CompiledStructure& structure, int depth) {
    if (depth > kMaxNesting || !ValidName(structure.name) || structure.fields.empty() ||
        structure.fields.size() > 0xFFFF) {
        return false;
    }
    const CompiledField& tag = structure.fields.front();
    if (tag.name != u"TAG" || tag.type != kTypeString || tag.elementCount != 1) {
        return false;
    }
    const ULONG64 recordSize = RecordSizeOf(structure);
    if (recordSize > kMaxImageSize ||
        structure.records.size() != recordSize * structure.recordCount) {
        return false;
    }
    for (const CompiledField& field : structure.fields) {
        if (!ValidField(field, structure.recordCount)) {
            return false;
        }
        if (field.type != kTypeXpdStruct) {
            continue;
        }
        if (!ValidStructure(*field.sub, depth + 1)) {
            return false;
        }
        for (const CompiledSlice& slice : field.slices) {
            if (slice.first > slice.end || slice.end > field.sub->recordCount) {
                return false;
            }
        }
    }
    return true;
}

// Lays the tree out area by area. Without an image it only advances the positions, which sums the
// sizes of the five areas; with one it fills them.
class Layout {
public:
    // Free positions in the five areas.
    struct Positions {
        ULONG64 header = 0;
        ULONG64 descriptor = 0;
        ULONG64 data = 0;
        ULONG64 dynamic = 0;
        ULONG64 string = 0;
    };

    Layout(BYTE* image, const Positions& start) : image_(image), next_(start) {}

    void Root(const CompiledStructure& root) {
        const ULONG64 header = Take(next_.header, sizeof(StructureHeader));
        Structure(root, header);
    }

    const Positions& next() const { return next_; }

private:
    static ULONG64 Take(ULONG64& position, ULONG64 bytes) {
        const ULONG64 taken = position;
        position += bytes;
        return taken;
    }

    void Put(ULONG64 offset, const void* bytes, size_t size) {
        if (image_ != nullptr && size != 0) {
            std::memcpy(image_ + offset, bytes, size);
        }
    }

    void PutU64(ULONG64 offset, ULONG64 value) { Put(offset, &value, sizeof value); }

    // The text with its terminator (the image is zero-filled), at the next position of `area`.
    ULONG64 Text(ULONG64& area, const std::u16string& text) {
        const ULONG64 at = Take(area, (text.size() + 1) * sizeof(WCHAR));
        Put(at, text.data(), text.size() * sizeof(WCHAR));
        return at;
    }

    void Structure(const CompiledStructure& structure, ULONG64 headerOffset) {
        const DWORD recordSize = static_cast<DWORD>(RecordSizeOf(structure));
        StructureHeader header{};
        header.signature = kSignature;
        header.version = kVersion;
        std::memcpy(reinterpret_cast<BYTE*>(&header) + offsetof(StructureHeader, name),
                    structure.name.data(), structure.name.size() * sizeof(WCHAR));
        header.recordSize = recordSize;
        header.recordCount = structure.recordCount;
        header.fieldCount = static_cast<WORD>(structure.fields.size());
        header.fields = Take(next_.descriptor, structure.fields.size() * sizeof(FieldDescriptor));
        header.data = Take(next_.data, structure.records.size());
        Put(headerOffset, &header, sizeof header);
        Put(header.data, structure.records.data(), structure.records.size());

        DWORD offset = 0;
        for (size_t index = 0; index < structure.fields.size(); ++index) {
            const CompiledField& field = structure.fields[index];
            FieldDescriptor descriptor{};
            std::memcpy(&descriptor, field.name.data(), field.name.size() * sizeof(WCHAR));
            descriptor.offset = offset;
            descriptor.type = field.type;
            descriptor.elementSize = field.elementSize;
            descriptor.elementCount = field.elementCount;
            Put(header.fields + index * sizeof(FieldDescriptor), &descriptor, sizeof descriptor);
            const ULONG64 firstValue = header.data + offset;
            if (field.type == kTypeString) {
                Strings(field, firstValue, recordSize);
            } else if (field.type == kTypeDynamic) {
                Dynamics(field, firstValue, recordSize);
            }
            offset += static_cast<DWORD>(field.elementSize) * field.elementCount;
        }

        offset = 0;
        for (const CompiledField& field : structure.fields) {
            if (field.type == kTypeXpdStruct) {
                const ULONG64 sub = Take(next_.header, sizeof(StructureHeader));
                for (WORD record = 0; record < structure.recordCount; ++record) {
                    SubStructureValue value{sub, 0, 0};
                    if (!field.slices.empty()) {
                        value.first = field.slices[record].first;
                        value.end = field.slices[record].end;
                    }
                    Put(header.data + ULONG64{record} * recordSize + offset, &value, sizeof value);
                }
                Structure(*field.sub, sub);
            }
            offset += static_cast<DWORD>(field.elementSize) * field.elementCount;
        }
    }

    void Strings(const CompiledField& field, ULONG64 firstValue, DWORD recordSize) {
        for (size_t index = 0; index < field.strings.size(); ++index) {
            if (const auto& text = field.strings[index]) {
                const size_t record = index / field.elementCount;
                const size_t element = index % field.elementCount;
                PutU64(firstValue + record * recordSize + element * sizeof(ULONG64),
                       Text(next_.string, *text));
            }
        }
    }

    void Dynamics(const CompiledField& field, ULONG64 firstValue, DWORD recordSize) {
        size_t present = 0;
        for (const auto& dynamic : field.dynamics) {
            present += dynamic ? 1 : 0;
        }
        ULONG64 value = Take(next_.dynamic, present * sizeof(DynamicValue));
        // A reference text that an earlier value of the field carries is written once.
        std::unordered_map<std::u16string_view, ULONG64> references;
        for (size_t record = 0; record < field.dynamics.size(); ++record) {
            const auto& compiled = field.dynamics[record];
            if (!compiled) {
                continue;
            }
            DynamicValue dynamic{};
            dynamic.type = compiled->type;
            dynamic.elementSize = compiled->elementSize;
            dynamic.elementCount = compiled->elementCount;
            if (compiled->reference) {
                auto [known, added] = references.try_emplace(*compiled->reference, 0);
                if (added) {
                    known->second = Text(next_.dynamic, *compiled->reference);
                }
                dynamic.reference = known->second;
            }
            if (!compiled->bytes.empty()) {
                dynamic.data = Take(next_.dynamic, compiled->bytes.size());
                Put(dynamic.data, compiled->bytes.data(), compiled->bytes.size());
            }
            Put(value, &dynamic, sizeof dynamic);
            PutU64(firstValue + record * recordSize, value);
            value += sizeof(DynamicValue);
        }
    }

    BYTE* image_;
    Positions next_;
};

// The start of each area from the sizes that a dry run sums, and the image size: 0, or the class
// of 63401 for a tree that is not valid or whose image would not fit a 32-bit size.
int Plan(const CompiledStructure& root, Layout::Positions* start, ULONG64* imageSize) {
    try {
        if (!ValidStructure(root, 0)) {
            return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
        }
        Layout sizes(nullptr, {});
        sizes.Root(root);
        const Layout::Positions& size = sizes.next();
        start->header = 0;
        start->descriptor = size.header;
        start->data = start->descriptor + size.descriptor;
        start->dynamic = start->data + size.data;
        start->string = start->dynamic + size.dynamic;
        *imageSize = start->string + size.string;
    } catch (const std::bad_alloc&) {
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    return *imageSize <= kMaxImageSize ? kClassSuccess
                                       : ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
}

// Fills `image` (zero-filled, of the planned size).
int Lay(const CompiledStructure& root, BYTE* image, const Layout::Positions& start) {
    try {
        Layout(image, start).Root(root);
        return kClassSuccess;
    } catch (const std::bad_alloc&) {
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
}

} // namespace

int WriteImage(const CompiledStructure& root, std::vector<BYTE>& image) {
    Layout::Positions start;
    ULONG64 size = 0;
    int result = Plan(root, &start, &size);
    if (result != kClassSuccess) {
        return result;
    }
    try {
        image.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    return Lay(root, image.data(), start);
}

int BuildRecord(const CompiledStructure& root, StructureRecord** record) {
    if (record == nullptr) {
        return ReportMessage(kMsgInvalidParameters, __FILE__, __LINE__);
    }
    *record = nullptr;
    Layout::Positions start;
    ULONG64 size = 0;
    int result = Plan(root, &start, &size);
    if (result != kClassSuccess) {
        return result;
    }
    StructureRecord* built = NewRecord();
    BYTE* image = AllocateImage(size, start.string);
    if (built == nullptr || image == nullptr) {
        FreeImage(image);
        FreeRecord(built);
        return ReportMessage(kMsgOutOfMemory, __FILE__, __LINE__);
    }
    built->image = image;
    built->imageSize = static_cast<DWORD>(size);
    built->root = reinterpret_cast<StructureHeader*>(image);
    result = Lay(root, image, start);
    if (result != kClassSuccess) {
        FreeRecord(built);
        return result;
    }
    ToMemoryForm(built->root, image);
    AdoptStringArea(built);
    *record = built;
    return kClassSuccess;
}

} // namespace moltr::store
