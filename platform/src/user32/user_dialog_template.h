#pragma once
// What the dialog manager needs of a dialog template, in either of its formats (DLGTEMPLATE,
// or DLGTEMPLATEEX when the second word is 0xFFFF), every read bounded by the bytes given.
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::platform {

struct TemplateControl {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT units{}; // in dialog units
    int id = 0;
    std::u16string className; // the predefined classes' ordinals resolved to their names
    std::u16string text;      // empty for an ordinal (an icon's or bitmap's resource)
    WORD textOrdinal = 0;
};

// The font of a template with DS_SETFONT.
struct TemplateFont {
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charSet = 0;
    std::u16string face;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT units{};
    std::u16string caption;
    std::u16string className; // empty for the dialog class
    WORD classOrdinal = 0;
    TemplateFont font;
    std::vector<TemplateControl> controls;
};

// False for a template that ends early or names a class by an unknown ordinal.
bool ParseDialogTemplate(const BYTE* data, size_t size, DialogTemplate& parsed);

} // namespace moltr::platform
