#pragma once
// The text of an edit control and its selection: the anchor where the selection began and the
// caret where it ends, both character positions. Lines end in "\r\n"; the caret never stands
// between the two.
#include <string>
#include <string_view>

namespace moltr::platform {

class EditText {
public:
    const std::u16string& Text() const { return text_; }
    size_t Size() const { return text_.size(); }
    size_t Anchor() const { return anchor_; }
    size_t Caret() const { return caret_; }
    size_t Start() const { return std::min(anchor_, caret_); }
    size_t End() const { return std::max(anchor_, caret_); }
    bool HasSelection() const { return anchor_ != caret_; }
    std::u16string_view Selected() const {
        return std::u16string_view(text_).substr(Start(), End() - Start());
    }

    // The whole text replaced, the caret at its start.
    void Assign(std::u16string_view text);
    // Positions past the end are taken as the end.
    void Select(size_t anchor, size_t caret);
    // The caret moved to `to`, the anchor with it unless the selection is `extended`.
    void MoveCaret(size_t to, bool extended);
    // The selection replaced by `with`, the caret after it.
    void ReplaceSelection(std::u16string_view with);
    // Deletes the selection, else the character before (after) the caret; false when there was
    // nothing to delete.
    bool DeleteBackward();
    bool DeleteForward();

    // The position of the character before and after `at`, a line break counting as one.
    size_t Before(size_t at) const;
    size_t After(size_t at) const;
    // The start of the word at or before `at`, and of the next word after it.
    size_t WordBefore(size_t at) const;
    size_t WordAfter(size_t at) const;

    // Lines: their number, the one `at` is on, where one starts and ends (before its break).
    size_t LineCount() const;
    size_t LineOf(size_t at) const;
    size_t LineStart(size_t line) const; // npos for a line the text does not have
    size_t LineEnd(size_t line) const;
    // The position `column` characters into `line`, no further than its end.
    size_t InLine(size_t line, size_t column) const;

private:
    size_t Clamped(size_t at) const;

    std::u16string text_;
    size_t anchor_ = 0;
    size_t caret_ = 0;
};

} // namespace moltr::platform
