// The text and selection of an edit control.
#include "src/user32/user_edit_text.h"

#include <algorithm>

namespace moltr::platform {
namespace {

constexpr std::u16string_view kBreak = u"\r\n";

bool IsWordCharacter(char16_t c) {
    return c != u' ' && c != u'\t' && c != u'\r' && c != u'\n';
}

} // namespace

size_t EditText::Clamped(size_t at) const {
    at = std::min(at, text_.size());
    // Inside a line break is before it.
    if (at > 0 && at < text_.size() && text_[at - 1] == u'\r' && text_[at] == u'\n') {
        --at;
    }
    return at;
}

void EditText::Assign(std::u16string_view text) {
    text_.assign(text);
    anchor_ = caret_ = 0;
}

void EditText::Select(size_t anchor, size_t caret) {
    anchor_ = Clamped(anchor);
    caret_ = Clamped(caret);
}

void EditText::MoveCaret(size_t to, bool extended) {
    caret_ = Clamped(to);
    if (!extended) {
        anchor_ = caret_;
    }
}

void EditText::ReplaceSelection(std::u16string_view with) {
    const size_t start = Start();
    text_.replace(start, End() - start, with);
    anchor_ = caret_ = start + with.size();
}

bool EditText::DeleteBackward() {
    if (!HasSelection()) {
        if (caret_ == 0) {
            return false;
        }
        anchor_ = Before(caret_);
    }
    ReplaceSelection({});
    return true;
}

bool EditText::DeleteForward() {
    if (!HasSelection()) {
        if (caret_ == text_.size()) {
            return false;
        }
        anchor_ = After(caret_);
    }
    ReplaceSelection({});
    return true;
}

size_t EditText::Before(size_t at) const {
    if (at == 0) {
        return 0;
    }
    return at >= 2 && std::u16string_view(text_).substr(at - 2, 2) == kBreak ? at - 2 : at - 1;
}

size_t EditText::After(size_t at) const {
    if (at >= text_.size()) {
        return text_.size();
    }
    return std::u16string_view(text_).substr(at, 2) == kBreak ? at + 2 : at + 1;
}

size_t EditText::WordBefore(size_t at) const {
    while (at > 0 && !IsWordCharacter(text_[at - 1])) {
        --at;
    }
    while (at > 0 && IsWordCharacter(text_[at - 1])) {
        --at;
    }
    return at;
}

size_t EditText::WordAfter(size_t at) const {
    while (at < text_.size() && IsWordCharacter(text_[at])) {
        ++at;
    }
    while (at < text_.size() && !IsWordCharacter(text_[at])) {
        ++at;
    }
    return Clamped(at);
}

size_t EditText::LineCount() const {
    size_t lines = 1;
    for (size_t at = text_.find(kBreak); at != std::u16string::npos;
         at = text_.find(kBreak, at + kBreak.size())) {
        ++lines;
    }
    return lines;
}

size_t EditText::LineOf(size_t at) const {
    at = std::min(at, text_.size());
    size_t line = 0;
    for (size_t found = text_.find(kBreak); found != std::u16string::npos && found < at;
         found = text_.find(kBreak, found + kBreak.size())) {
        ++line;
    }
    return line;
}

size_t EditText::LineStart(size_t line) const {
    size_t start = 0;
    for (; line > 0; --line) {
        const size_t found = text_.find(kBreak, start);
        if (found == std::u16string::npos) {
            return std::u16string::npos;
        }
        start = found + kBreak.size();
    }
    return start;
}

size_t EditText::LineEnd(size_t line) const {
    const size_t start = LineStart(line);
    if (start == std::u16string::npos) {
        return start;
    }
    return std::min(text_.find(kBreak, start), text_.size());
}

size_t EditText::InLine(size_t line, size_t column) const {
    const size_t start = LineStart(line);
    return start == std::u16string::npos ? text_.size() : std::min(start + column, LineEnd(line));
}

} // namespace moltr::platform
