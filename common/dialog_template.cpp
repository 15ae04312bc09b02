#include "common/dialog_template.h"

#include <cstring>

namespace moltr::common {

namespace {

constexpr WORD kOrdinalMark = 0xFFFF;
constexpr WORD kExtendedSignature = 0xFFFF;

} // namespace

bool DialogTemplateReader::Read(void* value, DWORD bytes) {
    if (bytes > size_ - at_) {
        return false;
    }
    memcpy(value, start_ + at_, bytes);
    at_ += bytes;
    return true;
}

bool DialogTemplateReader::ReadText(TemplateName* name) {
    name->ordinal = false;
    name->text = start_ + at_;
    name->length = 0;
    for (;;) {
        WORD ch = 0;
        if (!Read(&ch, sizeof(ch))) {
            return false;
        }
        if (!ch) {
            return true;
        }
        ++name->length;
    }
}

bool DialogTemplateReader::ReadName(TemplateName* name) {
    WORD first = 0;
    if (size_ - at_ < sizeof(first)) {
        return false;
    }
    memcpy(&first, start_ + at_, sizeof(first));
    if (first != kOrdinalMark) {
        return ReadText(name);
    }
    at_ += sizeof(first);
    name->ordinal = true;
    name->text = nullptr;
    name->length = 0;
    return Read(&name->id, sizeof(name->id));
}

bool DialogTemplateReader::AlignToDword() {
    DWORD aligned = (at_ + 3) & ~3u;
    if (aligned > size_) {
        return false;
    }
    at_ = aligned;
    return true;
}

bool DialogTemplateReader::ReadHeader(DialogHeader* header) {
    at_ = 0;
    WORD words[2] = {};
    if (!Read(words, sizeof(words))) {
        return false;
    }
    extended_ = words[1] == kExtendedSignature;
    header->extended = extended_;
    bool fixed;
    if (extended_) {
        header->version = words[0];
        fixed = Read(&header->helpId, 4) && Read(&header->exStyle, 4) && Read(&header->style, 4);
    } else {
        memcpy(&header->style, words, sizeof(words));
        fixed = Read(&header->exStyle, 4);
    }
    if (!fixed || !Read(&header->count, 2) || !Read(&header->x, 2) || !Read(&header->y, 2) ||
        !Read(&header->cx, 2) || !Read(&header->cy, 2) || !ReadName(&header->menu) ||
        !ReadName(&header->windowClass) || !ReadText(&header->caption)) {
        return false;
    }
    header->hasFont = (header->style & DS_SETFONT) != 0;
    if (header->hasFont) {
        if (!Read(&header->pointSize, 2)) {
            return false;
        }
        if (extended_ &&
            !(Read(&header->weight, 2) && Read(&header->italic, 1) && Read(&header->charSet, 1))) {
            return false;
        }
        if (!ReadText(&header->face)) {
            return false;
        }
    }
    return true;
}

bool DialogTemplateReader::ReadItem(DialogItem* item) {
    if (!AlignToDword()) {
        return false;
    }
    bool fixed;
    if (extended_) {
        fixed = Read(&item->helpId, 4) && Read(&item->exStyle, 4) && Read(&item->style, 4);
    } else {
        item->helpId = 0;
        fixed = Read(&item->style, 4) && Read(&item->exStyle, 4);
    }
    if (!fixed || !Read(&item->x, 2) || !Read(&item->y, 2) || !Read(&item->cx, 2) ||
        !Read(&item->cy, 2)) {
        return false;
    }
    if (extended_) {
        fixed = Read(&item->id, 4);
    } else {
        WORD id = 0;
        fixed = Read(&id, 2);
        item->id = id;
    }
    if (!fixed || !ReadName(&item->windowClass) || !ReadName(&item->title) ||
        !Read(&item->dataSize, 2) || item->dataSize > size_ - at_) {
        return false;
    }
    item->data = start_ + at_;
    at_ += item->dataSize;
    return true;
}

bool DialogTemplateWriter::Write(const void* value, DWORD bytes) {
    if (bytes > capacity_ - at_) {
        return false;
    }
    if (bytes) {
        memcpy(start_ + at_, value, bytes);
    }
    at_ += bytes;
    return true;
}

bool DialogTemplateWriter::WriteName(const TemplateName& name) {
    const WORD zero = 0;
    if (name.ordinal) {
        return Write(&kOrdinalMark, 2) && Write(&name.id, 2);
    }
    return Write(name.text, name.length * sizeof(WCHAR)) && Write(&zero, 2);
}

bool DialogTemplateWriter::AlignToDword() {
    DWORD aligned = (at_ + 3) & ~3u;
    if (aligned > capacity_) {
        return false;
    }
    at_ = aligned;
    return true;
}

bool DialogTemplateWriter::WriteHeader(const DialogHeader& header) {
    at_ = 0;
    bool fixed;
    if (header.extended) {
        fixed = Write(&header.version, 2) && Write(&kExtendedSignature, 2) &&
                Write(&header.helpId, 4) && Write(&header.exStyle, 4) && Write(&header.style, 4);
    } else {
        fixed = Write(&header.style, 4) && Write(&header.exStyle, 4);
    }
    if (!fixed || !Write(&header.count, 2) || !Write(&header.x, 2) || !Write(&header.y, 2) ||
        !Write(&header.cx, 2) || !Write(&header.cy, 2) || !WriteName(header.menu) ||
        !WriteName(header.windowClass) || !WriteName(header.caption)) {
        return false;
    }
    if (header.hasFont) {
        if (!Write(&header.pointSize, 2)) {
            return false;
        }
        if (header.extended &&
            !(Write(&header.weight, 2) && Write(&header.italic, 1) && Write(&header.charSet, 1))) {
            return false;
        }
        if (!WriteName(header.face)) {
            return false;
        }
    }
    return true;
}

bool DialogTemplateWriter::WriteItem(const DialogItem& item, bool extended) {
    if (!AlignToDword()) {
        return false;
    }
    bool fixed;
    if (extended) {
        fixed = Write(&item.helpId, 4) && Write(&item.exStyle, 4) && Write(&item.style, 4);
    } else {
        fixed = Write(&item.style, 4) && Write(&item.exStyle, 4);
    }
    if (!fixed || !Write(&item.x, 2) || !Write(&item.y, 2) || !Write(&item.cx, 2) ||
        !Write(&item.cy, 2)) {
        return false;
    }
    WORD shortId = static_cast<WORD>(item.id);
    fixed = extended ? Write(&item.id, 4) : Write(&shortId, 2);
    return fixed && WriteName(item.windowClass) && WriteName(item.title) &&
           Write(&item.dataSize, 2) && Write(item.data, item.dataSize);
}

bool CopyTemplateText(const TemplateName& name, WCHAR* buffer, UINT size) {
    UINT length = name.ordinal ? 0 : name.length;
    if (!size || length >= size) {
        return false;
    }
    if (length) {
        memcpy(buffer, name.text, length * sizeof(WCHAR));
    }
    buffer[length] = 0;
    return true;
}

} // namespace moltr::common
