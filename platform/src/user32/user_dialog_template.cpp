// Reading dialog templates for the dialog manager.
#include "src/user32/user_dialog_template.h"

#include <cstring>

namespace moltr::platform {
namespace {

constexpr WORD kExtendedSignature = 0xFFFF;
constexpr WORD kOrdinalMark = 0xFFFF;

// The predefined control classes that a template names by ordinal.
struct ClassOrdinal {
    WORD ordinal;
    const char16_t* name;
};
constexpr ClassOrdinal kClassOrdinals[] = {
    {0x0080, u"Button"},  {0x0081, u"Edit"},      {0x0082, u"Static"},
    {0x0083, u"ListBox"}, {0x0084, u"ScrollBar"}, {0x0085, u"ComboBox"},
};

class Reader {
public:
    Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    template <class T> bool Read(T& value) {
        if (size_ - at_ < sizeof value) {
            return false;
        }
        std::memcpy(&value, data_ + at_, sizeof value);
        at_ += sizeof value;
        return true;
    }
    bool Skip(size_t bytes) {
        if (size_ - at_ < bytes) {
            return false;
        }
        at_ += bytes;
        return true;
    }
    bool AlignToDword() { return Skip(((at_ + 3) & ~size_t{3}) - at_); }

    // A terminated UTF-16 text.
    bool Text(std::u16string& text) {
        text.clear();
        for (WORD unit = 0; Read(unit);) {
            if (unit == 0) {
                return true;
            }
            text.push_back(static_cast<char16_t>(unit));
        }
        return false;
    }
    // A menu, class or title: nothing (0), an ordinal (0xFFFF and its value) or a text.
    bool NameOrOrdinal(std::u16string& text, WORD& ordinal) {
        WORD first = 0;
        ordinal = 0;
        text.clear();
        if (!Read(first)) {
            return false;
        }
        if (first == 0) {
            return true;
        }
        if (first == kOrdinalMark) {
            return Read(ordinal);
        }
        text.push_back(static_cast<char16_t>(first));
        std::u16string rest;
        if (!Text(rest)) {
            return false;
        }
        text += rest;
        return true;
    }

private:
    const BYTE* data_;
    size_t size_;
    size_t at_ = 0;
};

bool ReadUnits(Reader& in, RECT& units) {
    short x = 0, y = 0, cx = 0, cy = 0;
    if (!in.Read(x) || !in.Read(y) || !in.Read(cx) || !in.Read(cy)) {
        return false;
    }
    units = {x, y, x + cx, y + cy};
    return true;
}

bool ResolveClass(std::u16string& name, WORD ordinal) {
    if (!name.empty()) {
        return true;
    }
    for (const ClassOrdinal& known : kClassOrdinals) {
        if (known.ordinal == ordinal) {
            name = known.name;
            return true;
        }
    }
    return false;
}

bool ReadControl(Reader& in, bool extended, TemplateControl& control) {
    DWORD helpId = 0;
    WORD shortId = 0;
    DWORD longId = 0;
    if (!in.AlignToDword() || (extended && !in.Read(helpId))) {
        return false;
    }
    const bool styles = extended ? in.Read(control.exStyle) && in.Read(control.style)
                                 : in.Read(control.style) && in.Read(control.exStyle);
    if (!styles || !ReadUnits(in, control.units) ||
        !(extended ? in.Read(longId) : in.Read(shortId))) {
        return false;
    }
    control.id = extended ? static_cast<int>(longId) : static_cast<int>(shortId);
    WORD classOrdinal = 0, extraBytes = 0;
    return in.NameOrOrdinal(control.className, classOrdinal) &&
           ResolveClass(control.className, classOrdinal) &&
           in.NameOrOrdinal(control.text, control.textOrdinal) && in.Read(extraBytes) &&
           in.Skip(extraBytes);
}

bool ReadFont(Reader& in, bool extended, TemplateFont& font) {
    return in.Read(font.pointSize) &&
           (!extended || (in.Read(font.weight) && in.Read(font.italic) && in.Read(font.charSet))) &&
           in.Text(font.face);
}

} // namespace

bool ParseDialogTemplate(const BYTE* data, size_t size, DialogTemplate& parsed) {
    Reader in(data, size);
    WORD version = 0, signature = 0;
    if (!in.Read(version) || !in.Read(signature)) {
        return false;
    }
    // The signature alone tells the extended format (whose version should be 1) from the
    // standard one.
    const bool extended = signature == kExtendedSignature;
    DWORD helpId = 0;
    WORD count = 0;
    if (extended) {
        if (!in.Read(helpId) || !in.Read(parsed.exStyle) || !in.Read(parsed.style)) {
            return false;
        }
    } else {
        parsed.style = MAKELONG(version, signature);
        if (!in.Read(parsed.exStyle)) {
            return false;
        }
    }
    std::u16string menu;
    WORD menuOrdinal = 0, captionOrdinal = 0;
    if (!in.Read(count) || !ReadUnits(in, parsed.units) || !in.NameOrOrdinal(menu, menuOrdinal) ||
        !in.NameOrOrdinal(parsed.className, parsed.classOrdinal) ||
        !in.NameOrOrdinal(parsed.caption, captionOrdinal)) {
        return false;
    }
    if ((parsed.style & DS_SETFONT) && !ReadFont(in, extended, parsed.font)) {
        return false;
    }
    parsed.controls.resize(count);
    for (TemplateControl& control : parsed.controls) {
        if (!ReadControl(in, extended, control)) {
            return false;
        }
    }
    return true;
}

} // namespace moltr::platform
