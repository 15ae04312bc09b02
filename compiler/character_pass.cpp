#include "compiler/character_pass.h"

#include <algorithm>

namespace moltr::compiler {

namespace {

constexpr char kLineEnd = '\r';
constexpr std::string_view kEmptyValue = "\"\"";

bool IsLineBreak(char c) {
    return c == kLineEnd || c == '{' || c == '}';
}

class CharacterPass {
public:
    CharacterPass(std::u16string_view file, bool gpdInclude, Messages& messages)
        : file_(file), gpdInclude_(gpdInclude), messages_(messages) {}

    int Run(const std::string& in) {
        size_t at = 0;
        while (at < in.size()) {
            const char c = in[at];
            if (c == '\t' || c == '\n' || c == ' ') {
                ++at;
            } else if (c == '"') {
                if (!QuotedRun(in, at)) {
                    return result_;
                }
            } else if (c == '*' && at + 1 < in.size() && in[at + 1] == '%') {
                const size_t end = in.find(kLineEnd, at);
                if (end == std::string::npos) {
                    Raise(message::kUnexpectedEndOfFile);
                    return result_;
                }
                ++line_;
                at = end + 1;
            } else if (c == '+' && !out_.empty() && out_.back() == kLineEnd) {
                out_.pop_back();
                ++at;
            } else if (c == '{' || c == '}') {
                Brace(c);
                ++at;
            } else if (c == kLineEnd) {
                LineEnd();
                ++line_;
                ++at;
            } else {
                out_.push_back(c);
                ++at;
            }
        }
        // Text without a final line end ends its last line all the same.
        if (!out_.empty() && !IsLineBreak(out_.back())) {
            LineEnd();
        }
        return result_;
    }

    std::string& out() { return out_; }

private:
    // Copies the quoted run at `at`; false when it runs to the end of the text.
    bool QuotedRun(const std::string& in, size_t& at) {
        if (gpdInclude_) {
            // Included GPD files quote freely; the run ends with its line.
            const size_t end = std::min(in.find(kLineEnd, at), in.size());
            out_.append(in, at, end - at);
            at = end;
            return true;
        }
        for (size_t end = at + 1; end < in.size(); ++end) {
            if (in[end] == '"') {
                out_.append(in, at, end + 1 - at);
                at = end + 1;
                return true;
            }
            if (IsLineBreak(in[end])) {
                Raise(message::kMissingBeforeNewLine, u"\"");
                out_.append(in, at, end - at);
                at = end;
                return true;
            }
        }
        Raise(message::kUnexpectedEndOfFile);
        return false;
    }

    void Brace(char brace) {
        depth_ = static_cast<unsigned char>(depth_ + (brace == '{' ? 1 : -1));
        if (depth_ == 255 && brace == '}') {
            Raise(message::kIllegalEndSectionMarker);
        }
        if (!out_.empty() && out_.back() == kLineEnd) {
            out_.pop_back();
        }
        if (!out_.empty() && out_.back() == ':') {
            Raise(message::kMissingValueBeforeSection);
        } else if (!out_.empty() && !IsLineBreak(out_.back()) && !LineHasColon()) {
            MissingColon();
        }
        out_.push_back(brace);
    }

    // Ends the current line at a line end of the text.
    void LineEnd() {
        const char last = out_.empty() ? kLineEnd : out_.back();
        switch (last) {
        case kLineEnd:
        case '{':
        case '}':
            return; // empty lines vanish
        case '*':
        case '+':
        case '-':
        case '/':
            Raise(message::kValueMissingBeforeNewLine);
            break;
        case ':':
            if (gpdInclude_) {
                out_.append(kEmptyValue);
            } else {
                Raise(message::kMissingTokenValueBeforeNewLine);
            }
            break;
        case '\\':
            out_.pop_back(); // the next line continues this one
            return;
        default:
            if (!LineHasColon()) {
                MissingColon();
            }
            break;
        }
        out_.push_back(kLineEnd);
    }

    // A line without a key/value separator: an empty value in included GPD files, else an error.
    void MissingColon() {
        if (gpdInclude_) {
            out_.push_back(kLineEnd);
            insertedValue_ = out_.size();
            out_.append(kEmptyValue);
        } else {
            Raise(message::kMissingBeforeNewLine, u":");
        }
    }

    // Whether the kept text since the last line end or brace holds a colon, or is the value
    // given to the line before.
    bool LineHasColon() const {
        size_t at = out_.size();
        for (; at > 0 && !IsLineBreak(out_[at - 1]); --at) {
            if (out_[at - 1] == ':') {
                return true;
            }
        }
        return at == insertedValue_;
    }

    void Raise(UINT id, std::u16string_view argument = {}) {
        const int raised = argument.empty() ? messages_.RaiseAt(id, file_, line_)
                                            : messages_.RaiseAt(id, file_, line_, {argument});
        result_ = std::max(result_, raised);
    }

    std::u16string_view file_;
    bool gpdInclude_;
    Messages& messages_;
    std::string out_;
    int line_ = 1;
    unsigned char depth_ = 0;
    size_t insertedValue_ = std::string::npos; // where the last empty value given to a line starts
    int result_ = kSuccess;
};

} // namespace

int CompactText(std::string& text, std::u16string_view file, bool gpdInclude, Messages& messages) {
    CharacterPass pass(file, gpdInclude, messages);
    const int result = pass.Run(text);
    text = std::move(pass.out());
    return result;
}

} // namespace moltr::compiler
