#pragma once
// A page's DLGTEMPLATE built in memory: a caption, a size in dialog units and controls given by
// their class ordinal (0x0080 button, 0x0081 edit, 0x0082 static) or class name.
#include <windows.h>

#include <string>
#include <vector>

namespace moltr::test {

class PageTemplate {
public:
    PageTemplate(const char16_t* caption, short cx, short cy) {
        Dword(WS_CHILD | WS_CAPTION);
        Dword(0);
        count_ = bytes_.size();
        Word(0);
        Units(0, 0, cx, cy);
        Word(0);
        Word(0);
        Text(caption);
    }
    PageTemplate& Control(WORD id, WORD classOrdinal, const char16_t* text, DWORD style = 0) {
        Begin(id, style);
        Word(0xFFFF);
        Word(classOrdinal);
        return End(text);
    }
    PageTemplate& Control(WORD id, const char16_t* className, const char16_t* text,
                          DWORD style = 0) {
        Begin(id, style);
        Text(className);
        return End(text);
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void Begin(WORD id, DWORD style) {
        bytes_.resize((bytes_.size() + 3) & ~size_t{3});
        Dword(style | WS_VISIBLE | WS_CHILD);
        Dword(0);
        Units(7, 7, 60, 14);
        Word(id);
        ++bytes_[count_];
    }
    PageTemplate& End(const char16_t* text) {
        Text(text);
        Word(0);
        return *this;
    }
    void Word(WORD value) {
        bytes_.push_back(LOBYTE(value));
        bytes_.push_back(HIBYTE(value));
    }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Units(short x, short y, short cx, short cy) {
        for (short value : {x, y, cx, cy}) {
            Word(static_cast<WORD>(value));
        }
    }
    void Text(const char16_t* text) {
        for (; *text; ++text) {
            Word(*text);
        }
        Word(0);
    }
    size_t count_ = 0;
    std::vector<BYTE> bytes_;
};

} // namespace moltr::test
