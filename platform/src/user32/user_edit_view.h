#pragma once
// What an edit control shows of its text: the lines in its font inside its margins, scrolled so
// that the caret is in view, the selection in the highlight colours while the control has the
// focus, and the character under a point of its client area.
#include "src/user32/user_edit_text.h"

#include <windows.h>
#include <string>

namespace moltr::platform {

class EditView {
public:
    EditView(HWND window, const EditText& text) : window_(window), text_(text) {}

    // Shown for every character when not 0.
    char16_t password = 0;
    // The selection shows while the control has the focus, and always with ES_NOHIDESEL.
    bool focused = false;

    // What shows of the text between `from` and `to`.
    std::u16string Shown(size_t from, size_t to) const;
    // The width the text has inside the margins.
    int Room() const;
    // The character position nearest to a point of the client area.
    size_t PositionAt(POINT at) const;
    void Paint(HDC dc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)); }
    RECT TextArea() const;
    int LineLeft(size_t line, const RECT& area) const;
    void KeepCaretInView(const RECT& area);
    void PaintLine(HDC dc, size_t line, const RECT& area, int y) const;
    void PaintFrame(HDC dc, const RECT& client) const;

    HWND window_;
    const EditText& text_;
    int scrolledX_ = 0;    // pixels of the text scrolled out on the left
    size_t firstLine_ = 0; // the top line a multiline edit shows
};

} // namespace moltr::platform
