// The edit control: single-line and multiline text that the user types into, selects with the
// keyboard and the mouse, and that the program sets and reads. Every change, typed or sent, is
// announced to the parent with EN_UPDATE and then EN_CHANGE; the focus coming and going with
// EN_SETFOCUS and EN_KILLFOCUS.
#include "src/comctl32/control_state.h"
#include "src/user32/user_control_classes.h"
#include "src/user32/user_control_paint.h"
#include "src/user32/user_edit_text.h"
#include "src/user32/user_edit_view.h"
#include <cstring>

namespace moltr::platform {
namespace {

constexpr DWORD kDefaultLimit = 32767;
constexpr DWORD kSingleLineMaximum = 0x7FFFFFFE;
constexpr DWORD kMultilineMaximum = 0xFFFFFFFF;

bool Down(int key) {
    return GetKeyState(key) & 0x8000;
}

class Edit {
public:
    explicit Edit(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { view_.Paint(dc); })) {
            return true;
        }
        switch (message) {
        case WM_CREATE:
            text_.Assign(WindowText(window_));
            view_.password = (Style() & ES_PASSWORD) && !Multiline() ? u'*' : 0;
            return false;
        case WM_SETTEXT:
            text_.Assign(lParam ? std::u16string_view(reinterpret_cast<const char16_t*>(lParam))
                                : std::u16string_view());
            modified_ = false;
            Store();
            // A multiline edit leaves a program's own text unannounced.
            if (!Multiline()) {
                Announce();
            }
            result = TRUE;
            return true;
        case WM_CHAR:
            Type(static_cast<char16_t>(wParam));
            return true;
        case WM_KEYDOWN:
            Key(static_cast<WORD>(wParam));
            return true;
        case WM_CLEAR:
            if (text_.HasSelection()) {
                Change({});
            }
            return true;
        case WM_GETDLGCODE:
            result = DialogCode(reinterpret_cast<const MSG*>(lParam));
            return true;
        default:
            return HandleFocusAndMouse(message, lParam) ||
                   HandleEditMessage(message, wParam, lParam, result);
        }
    }

private:
    bool HandleFocusAndMouse(UINT message, LPARAM lParam) {
        switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            view_.focused = message == WM_SETFOCUS;
            NotifyCommand(window_, view_.focused ? EN_SETFOCUS : EN_KILLFOCUS);
            return true;
        case WM_LBUTTONDOWN:
            if (GetFocus() != window_) {
                SetFocus(window_);
            }
            tracking_ = true;
            Move(view_.PositionAt(PointOf(lParam)), Down(VK_SHIFT));
            return true;
        case WM_MOUSEMOVE:
            if (tracking_) {
                Move(view_.PositionAt(PointOf(lParam)), true);
            }
            return true;
        case WM_LBUTTONUP:
            tracking_ = false;
            return true;
        default:
            return false;
        }
    }

    bool HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        switch (message) {
        case EM_GETSEL:
            result = Selection(reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
            return true;
        case EM_SETSEL:
            SetSelection(static_cast<int>(wParam), static_cast<int>(lParam));
            return true;
        case EM_REPLACESEL:
            Change(lParam ? std::u16string_view(reinterpret_cast<const char16_t*>(lParam))
                          : std::u16string_view());
            return true;
        case EM_LIMITTEXT:
            limit_ = wParam ? static_cast<DWORD>(wParam)
                            : (Multiline() ? kMultilineMaximum : kSingleLineMaximum);
            return true;
        case EM_GETLIMITTEXT:
            result = limit_;
            return true;
        case EM_SETPASSWORDCHAR:
            SetPasswordCharacter(static_cast<char16_t>(wParam));
            return true;
        case EM_GETPASSWORDCHAR:
            result = view_.password;
            return true;
        case EM_SETREADONLY:
            SetStyleBit(ES_READONLY, wParam != 0);
            result = TRUE;
            return true;
        case EM_GETMODIFY:
            result = modified_;
            return true;
        case EM_SETMODIFY:
            modified_ = wParam != 0;
            return true;
        case EM_CANUNDO:
        case EM_EMPTYUNDOBUFFER:
            return true;
        default:
            return HandleLineMessage(message, wParam, lParam, result);
        }
    }

    // The messages on lines: the line number -1 is the caret's line.
    bool HandleLineMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        const auto line = static_cast<int>(wParam);
        switch (message) {
        case EM_GETLINECOUNT:
            result = static_cast<LRESULT>(text_.LineCount());
            return true;
        case EM_LINEFROMCHAR:
            result = static_cast<LRESULT>(
                text_.LineOf(line < 0 ? text_.Start() : static_cast<size_t>(line)));
            return true;
        case EM_LINEINDEX: {
            const size_t start =
                text_.LineStart(line < 0 ? text_.LineOf(text_.Caret()) : static_cast<size_t>(line));
            result = start == std::u16string::npos ? -1 : static_cast<LRESULT>(start);
            return true;
        }
        case EM_LINELENGTH: {
            // Of the line holding the character `wParam`.
            const size_t of = text_.LineOf(line < 0 ? text_.Caret() : static_cast<size_t>(line));
            result = static_cast<LRESULT>(text_.LineEnd(of) - text_.LineStart(of));
            return true;
        }
        case EM_GETLINE:
            result = CopyLine(static_cast<size_t>(line), reinterpret_cast<WCHAR*>(lParam));
            return true;
        default:
            return false;
        }
    }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)); }
    bool Multiline() const { return Style() & ES_MULTILINE; }
    bool ReadOnly() const { return Style() & ES_READONLY; }
    void SetStyleBit(DWORD bit, bool on) {
        SetWindowLongW(window_, GWL_STYLE, static_cast<LONG>(on ? Style() | bit : Style() & ~bit));
    }

    LRESULT DialogCode(const MSG* message) const {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (!Multiline()) {
            return code;
        }
        code |= DLGC_WANTALLKEYS;
        // In a dialog Tab and Escape stay the dialog's, and Enter too unless ES_WANTRETURN.
        if (message && message->message == WM_KEYDOWN &&
            (message->wParam == VK_TAB || message->wParam == VK_ESCAPE ||
             (message->wParam == VK_RETURN && !(Style() & ES_WANTRETURN)))) {
            code &= ~DLGC_WANTALLKEYS;
        }
        return code;
    }

    // The window's own text follows the control's, for those who read it without asking.
    void Store() {
        DefWindowProcW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.Text().c_str()));
    }

    void Announce() {
        NotifyCommand(window_, EN_UPDATE);
        NotifyCommand(window_, EN_CHANGE);
    }

    // The selection replaced by `with`, cut to what the limit leaves room for.
    void Change(std::u16string_view with) {
        const size_t kept = text_.Size() - (text_.End() - text_.Start());
        const size_t room = kept < limit_ ? limit_ - kept : 0;
        const bool cut = with.size() > room;
        if (cut) {
            with = with.substr(0, room);
        }
        if (!with.empty() || text_.HasSelection()) {
            text_.ReplaceSelection(with);
            Changed();
        }
        if (cut) {
            NotifyCommand(window_, EN_MAXTEXT);
        }
    }

    void Changed() {
        modified_ = true;
        Store();
        Announce();
    }

    void Type(char16_t character) {
        if (character == 1) { // Ctrl+A
            text_.Select(0, text_.Size());
            return;
        }
        if (ReadOnly()) {
            return;
        }
        if (character == u'\b') {
            if (text_.DeleteBackward()) {
                Changed();
            }
            return;
        }
        if (character == u'\r' || character == u'\t') {
            if (Multiline()) {
                Change(character == u'\r' ? u"\r\n" : u"\t");
            }
            return;
        }
        if (character < u' ' || ((Style() & ES_NUMBER) && (character < u'0' || character > u'9'))) {
            return;
        }
        WCHAR typed = character;
        if (Style() & ES_UPPERCASE) {
            CharUpperBuffW(&typed, 1);
        } else if (Style() & ES_LOWERCASE) {
            CharLowerBuffW(&typed, 1);
        }
        const char16_t shown = static_cast<char16_t>(typed);
        if (Fits(shown)) {
            Change(std::u16string_view(&shown, 1));
        }
    }

    // A single-line edit without ES_AUTOHSCROLL takes no more than its width shows.
    bool Fits(char16_t typed) const {
        if (Multiline() || (Style() & ES_AUTOHSCROLL)) {
            return true;
        }
        const char16_t password = view_.password;
        const std::u16string after =
            password
                ? std::u16string(text_.Size() - text_.Selected().size() + 1, password)
                : view_.Shown(0, text_.Start()) + typed + view_.Shown(text_.End(), text_.Size());
        return TextWidth(window_, after) <= view_.Room();
    }

    void Key(WORD key) {
        const bool shift = Down(VK_SHIFT);
        const bool control = Down(VK_CONTROL);
        const size_t caret = text_.Caret();
        const size_t line = text_.LineOf(caret);
        switch (key) {
        case VK_LEFT:
        case VK_RIGHT: {
            const bool left = key == VK_LEFT;
            // Without Shift an arrow first takes away the selection, at its side.
            if (text_.HasSelection() && !shift && !control) {
                Move(left ? text_.Start() : text_.End(), false);
            } else if (control) {
                Move(left ? text_.WordBefore(caret) : text_.WordAfter(caret), shift);
            } else {
                Move(left ? text_.Before(caret) : text_.After(caret), shift);
            }
            return;
        }
        case VK_UP:
        case VK_DOWN:
            if (!Multiline()) {
                Key(key == VK_UP ? VK_LEFT : VK_RIGHT);
            } else if (key == VK_DOWN || line > 0) {
                const size_t target = key == VK_UP ? line - 1 : line + 1;
                if (target < text_.LineCount()) {
                    Move(text_.InLine(target, caret - text_.LineStart(line)), shift);
                }
            }
            return;
        case VK_HOME:
            Move(control || !Multiline() ? 0 : text_.LineStart(line), shift);
            return;
        case VK_END:
            Move(control || !Multiline() ? text_.Size() : text_.LineEnd(line), shift);
            return;
        case VK_DELETE:
            if (!ReadOnly() && text_.DeleteForward()) {
                Changed();
            }
            return;
        default:
            return;
        }
    }

    void Move(size_t to, bool extended) { text_.MoveCaret(to, extended); }

    LRESULT Selection(DWORD* start, DWORD* end) const {
        if (start) {
            *start = static_cast<DWORD>(text_.Start());
        }
        if (end) {
            *end = static_cast<DWORD>(text_.End());
        }
        if (text_.End() > 0xFFFF) {
            return -1;
        }
        return static_cast<LRESULT>(MAKELONG(text_.Start(), text_.End()));
    }

    // A start of -1 takes the selection away; an end of -1 (or any below 0) is the text's end.
    void SetSelection(int start, int end) {
        if (start < 0) {
            text_.MoveCaret(text_.Caret(), false);
            return;
        }
        text_.Select(static_cast<size_t>(start), end < 0 ? text_.Size() : static_cast<size_t>(end));
    }

    void SetPasswordCharacter(char16_t character) {
        if (Multiline()) {
            return;
        }
        view_.password = character;
        SetStyleBit(ES_PASSWORD, character != 0);
    }

    LRESULT CopyLine(size_t line, WCHAR* buffer) const {
        const size_t start = text_.LineStart(line);
        if (!buffer || start == std::u16string::npos) {
            return 0;
        }
        // The buffer's first WORD says how many characters it holds; no terminator is added.
        WORD capacity = 0;
        std::memcpy(&capacity, buffer, sizeof capacity);
        const size_t length = std::min<size_t>(text_.LineEnd(line) - start, capacity);
        std::memcpy(buffer, text_.Text().data() + start, length * sizeof(WCHAR));
        return static_cast<LRESULT>(length);
    }

    HWND window_;
    EditText text_;
    EditView view_{window_, text_};
    DWORD limit_ = kDefaultLimit;
    bool modified_ = false;
    bool tracking_ = false;
};

} // namespace

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<Edit>(window, message, wParam, lParam);
}

} // namespace moltr::platform
