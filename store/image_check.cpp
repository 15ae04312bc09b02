#include "store/image_check.h"
#include <algorithm>
#include <new>
#include <vector>
#include "store/image_layout.h"
#include "store/wide_text.h"

namespace moltr::store {

namespace {

// What a byte range of the image is used for. Structural ranges are rewritten by the conversion
// and the cursors, value bytes by SetField; texts are only read. Texts may share bytes with texts
// and value bytes with value bytes, nothing else may overlap.
enum class Use { Structure, Value, Text };

struct Range {
    ULONG64 start;
    ULONG64 end;
    Use use;
};

bool Conflict(Use a, Use b) {
    return a == Use::Structure || b == Use::Structure || a != b;
}

class Checker {
public:
    Checker(const BYTE* image, size_t size) : image_(image), size_(size) {}

    bool Check() {
        WORD records = 0;
        return Structure(0, 0, &records) && Disjoint() && StringAreaAtEnd();
    }

    ULONG64 stringAreaStart() const { return size_ - stringBytes_; }

private:
    bool Inside(ULONG64 offset, ULONG64 bytes) const {
        return offset <= size_ && bytes <= size_ - offset;
    }

    bool Claim(ULONG64 offset, ULONG64 bytes, Use use) {
        if (!Inside(offset, bytes)) {
            return false;
        }
        if (bytes != 0) {
            ranges_.push_back({offset, offset + bytes, use});
        }
        return true;
    }

    // Bytes of the NUL-terminated text at `offset`, 0 when it does not end inside the image.
    ULONG64 Text(ULONG64 offset) const {
        return offset < size_ ? BoundedTextBytes(image_ + offset, size_ - offset) : 0;
    }

    template <class T> T Read(ULONG64 offset) const {
        T value;
        std::memcpy(&value, image_ + offset, sizeof value);
        return value;
    }

    bool Structure(ULONG64 offset, int depth, WORD* recordCount) {
        if (depth > kMaxNesting ||
            std::find(visited_.begin(), visited_.end(), offset) != visited_.end()) {
            return false;
        }
        visited_.push_back(offset);
        if (!Claim(offset, sizeof(StructureHeader), Use::Structure)) {
            return false;
        }
        const auto header = Read<StructureHeader>(offset);
        if (BoundedTextBytes(NameOf(&header), sizeof header.name) == 0 || header.fieldCount == 0 ||
            !Claim(header.fields, ULONG64{header.fieldCount} * sizeof(FieldDescriptor),
                   Use::Structure)) {
            return false;
        }
        const ULONG64 recordBytes = ULONG64{header.recordCount} * header.recordSize;
        if (header.recordCount != 0 && !Claim(header.data, recordBytes, Use::Structure)) {
            return false;
        }
        ULONG64 layout = 0;
        for (WORD index = 0; index < header.fieldCount; ++index) {
            const auto field =
                Read<FieldDescriptor>(header.fields + ULONG64{index} * sizeof(FieldDescriptor));
            if (!Descriptor(field, index) || field.offset != layout) {
                return false;
            }
            layout += ValueSize(&field);
        }
        if (layout != header.recordSize) {
            return false;
        }
        *recordCount = header.recordCount;
        for (WORD index = 0; header.recordCount != 0 && index < header.fieldCount; ++index) {
            const auto field =
                Read<FieldDescriptor>(header.fields + ULONG64{index} * sizeof(FieldDescriptor));
            if (!Values(header, field, depth)) {
                return false;
            }
        }
        return true;
    }

    static bool Descriptor(const FieldDescriptor& field, WORD index) {
        if (BoundedTextBytes(NameOf(&field), sizeof field.name) == 0) {
            return false;
        }
        if (index == 0 && (field.type != kTypeString || field.elementCount != 1)) {
            return false;
        }
        switch (field.type) {
        case kTypeString:
            return field.elementSize == sizeof(ULONG64);
        case kTypeXpdStruct:
            return field.elementSize == sizeof(SubStructureValue) && field.elementCount == 1;
        case kTypeDynamic:
            return field.elementSize == sizeof(ULONG64) && field.elementCount == 1;
        default:
            return true;
        }
    }

    ULONG64 Slot(const StructureHeader& header, WORD record, const FieldDescriptor& field,
                 WORD element = 0) const {
        return header.data + ULONG64{record} * header.recordSize + field.offset +
               ULONG64{element} * sizeof(ULONG64);
    }

    bool Values(const StructureHeader& header, const FieldDescriptor& field, int depth) {
        switch (field.type) {
        case kTypeString:
            for (WORD record = 0; record < header.recordCount; ++record) {
                for (WORD element = 0; element < field.elementCount; ++element) {
                    if (!String(Read<ULONG64>(Slot(header, record, field, element)))) {
                        return false;
                    }
                }
            }
            return true;
        case kTypeXpdStruct:
            return SubStructure(header, field, depth);
        case kTypeDynamic:
            for (WORD record = 0; record < header.recordCount; ++record) {
                if (!Dynamic(Read<ULONG64>(Slot(header, record, field)))) {
                    return false;
                }
            }
            return true;
        default:
            return true;
        }
    }

    bool String(ULONG64 offset) {
        if (offset == 0) {
            return true;
        }
        const ULONG64 bytes = Text(offset);
        if (bytes == 0) {
            return false;
        }
        stringBytes_ += bytes;
        firstString_ = std::min(firstString_, offset);
        // Also bounds the work on texts that many values share.
        return stringBytes_ <= size_;
    }

    bool SubStructure(const StructureHeader& header, const FieldDescriptor& field, int depth) {
        const auto first = Read<SubStructureValue>(Slot(header, 0, field));
        for (WORD record = 0; record < header.recordCount; ++record) {
            const auto value = Read<SubStructureValue>(Slot(header, record, field));
            if (value.header != first.header || value.first > value.end) {
                return false;
            }
        }
        WORD subRecords = 0;
        if (!Structure(first.header, depth + 1, &subRecords)) {
            return false;
        }
        for (WORD record = 0; record < header.recordCount; ++record) {
            if (Read<SubStructureValue>(Slot(header, record, field)).end > subRecords) {
                return false;
            }
        }
        return true;
    }

    bool Dynamic(ULONG64 offset) {
        if (offset == 0) {
            return true;
        }
        if (!Claim(offset, sizeof(DynamicValue), Use::Structure)) {
            return false;
        }
        const auto dynamic = Read<DynamicValue>(offset);
        if (dynamic.reference != 0) {
            const ULONG64 bytes = Text(dynamic.reference);
            if (bytes == 0 || !Claim(dynamic.reference, bytes, Use::Text)) {
                return false;
            }
        }
        return dynamic.data == 0 ||
               Claim(dynamic.data, ULONG64{dynamic.elementSize} * dynamic.elementCount, Use::Value);
    }

    bool Disjoint() {
        std::sort(ranges_.begin(), ranges_.end(),
                  [](const Range& a, const Range& b) { return a.start < b.start; });
        // A range overlaps an earlier-starting one exactly when that one ends after it starts.
        ULONG64 endOf[3] = {0, 0, 0};
        for (const Range& range : ranges_) {
            for (Use earlier : {Use::Structure, Use::Value, Use::Text}) {
                if (Conflict(range.use, earlier) &&
                    endOf[static_cast<int>(earlier)] > range.start) {
                    return false;
                }
            }
            ULONG64& end = endOf[static_cast<int>(range.use)];
            end = std::max(end, range.end);
        }
        return true;
    }

    // The runtime finds the string area as image size less the bytes of all referenced texts and
    // replaces it on a save after string changes, so nothing else may lie there.
    bool StringAreaAtEnd() const {
        const ULONG64 start = stringAreaStart();
        for (const Range& range : ranges_) {
            if (range.end > start) {
                return false;
            }
        }
        return firstString_ >= start;
    }

    const BYTE* image_;
    ULONG64 size_;
    std::vector<Range> ranges_;
    std::vector<ULONG64> visited_;
    ULONG64 stringBytes_ = 0;
    ULONG64 firstString_ = ~ULONG64{0};
};

} // namespace

ImageCheck CheckImage(const BYTE* image, size_t size, ULONG64* stringAreaStart) {
    if (size < sizeof(StructureHeader)) {
        return ImageCheck::Invalid;
    }
    try {
        Checker checker(image, size);
        if (!checker.Check()) {
            return ImageCheck::Invalid;
        }
        *stringAreaStart = checker.stringAreaStart();
        return ImageCheck::Valid;
    } catch (const std::bad_alloc&) {
        return ImageCheck::OutOfMemory;
    }
}

} // namespace moltr::store
