#pragma once
// Reading and writing dialog templates in both of their resource formats, DLGTEMPLATE and
// DLGTEMPLATEEX (second word 0xFFFF), with every read bounded by the resource's size.
#include <windows.h>

namespace moltr::common {

// A menu, class, caption, face name or title: an ordinal or an unterminated UTF-16 text inside
// the template (not necessarily aligned for WCHAR access, hence bytes). An empty text stands for
// "none" where a menu or class is meant.
struct TemplateName {
    bool ordinal = false;
    WORD id = 0;
    const BYTE* text = nullptr;
    UINT length = 0;
};

struct DialogHeader {
    bool extended = false;
    WORD version = 0;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    WORD count = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    TemplateName menu, windowClass, caption;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charSet = 0;
    TemplateName face;
};

struct DialogItem {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    TemplateName windowClass, title;
    const BYTE* data = nullptr;
    WORD dataSize = 0;
};

class DialogTemplateReader {
public:
    DialogTemplateReader(const void* dialog, DWORD size)
        : start_(static_cast<const BYTE*>(dialog)), size_(dialog ? size : 0) {}

    // The header first, then each of its `count` items in turn (each starts on a DWORD
    // boundary); false for a template that ends early.
    bool ReadHeader(DialogHeader* header);
    bool ReadItem(DialogItem* item);

private:
    bool Read(void* value, DWORD bytes);
    bool ReadName(TemplateName* name);
    bool ReadText(TemplateName* name);
    bool AlignToDword();

    const BYTE* start_;
    DWORD size_;
    DWORD at_ = 0;
    bool extended_ = false;
};

class DialogTemplateWriter {
public:
    DialogTemplateWriter(BYTE* buffer, DWORD capacity) : start_(buffer), capacity_(capacity) {}

    // False once the buffer is full; the buffer must be zeroed so that padding stays zero.
    bool WriteHeader(const DialogHeader& header);
    bool WriteItem(const DialogItem& item, bool extended);
    DWORD size() const { return at_; }

private:
    bool Write(const void* value, DWORD bytes);
    bool WriteName(const TemplateName& name);
    bool AlignToDword();

    BYTE* start_;
    DWORD capacity_;
    DWORD at_ = 0;
};

// The name as a terminated text in `buffer` (an ordinal gives an empty text); false when it does
// not fit.
bool CopyTemplateText(const TemplateName& name, WCHAR* buffer, UINT size);

} // namespace moltr::common
