#include "compiler/token_pass.h"

#include <windows.h>
#include <string>
#include "compiler/token_list.h"

namespace moltr::compiler {

namespace {

bool EndsText(char c) {
    return c == '\r' || c == '{' || c == '}';
}

bool IsSeparator(char c) {
    return c == ':' || EndsText(c);
}

// The bytes up to their first NUL, which ends a text as it would a C string.
std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Text in the ANSI code page as UTF-16.
std::u16string Widen(std::string_view text) {
    std::u16string wide;
    if (text.empty()) {
        return wide;
    }
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return wide;
    }
    wide.resize(static_cast<size_t>(needed));
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<LPWSTR>(wide.data()),
                        needed);
    return wide;
}

void UpperCase(std::u16string& text) {
    if (!text.empty()) {
        CharUpperBuffW(reinterpret_cast<LPWSTR>(text.data()), static_cast<DWORD>(text.size()));
    }
}

// Keywords compare in upper case.
std::u16string KeyText(std::string_view bytes) {
    std::u16string key = Widen(UpToNul(bytes));
    if (!key.empty() && key[0] == u'*') {
        UpperCase(key);
    }
    return key;
}

// A quoted value, or one that names a macro, keeps its case; any other is upper-cased.
std::u16string ValueText(std::string_view bytes) {
    std::u16string value = Widen(UpToNul(bytes));
    if (!value.empty() && (value[0] == u'"' || value[0] == u'\'' || value[0] == u'=')) {
        std::erase(value, u'"');
    } else {
        UpperCase(value);
    }
    return value;
}

} // namespace

void AppendTokens(std::string_view text, TokenList& tokens) {
    int level = 0;
    size_t at = 0;
    // Skips separators, following the blocks they open and close; true when two blocks follow
    // each other directly.
    auto skipSeparators = [&]() {
        bool blocksInARow = false;
        for (; at < text.size() && IsSeparator(text[at]); ++at) {
            if (text[at] == '{') {
                ++level;
            } else if (text[at] == '}') {
                --level;
                blocksInARow = blocksInARow || (at + 1 < text.size() && text[at + 1] == '{');
            }
        }
        return blocksInARow;
    };
    while (at < text.size()) {
        const int keyLevel = level;
        const size_t keyStart = at;
        while (at < text.size() && !IsSeparator(text[at])) {
            ++at;
        }
        const std::string_view key = text.substr(keyStart, at - keyStart);
        skipSeparators();
        const size_t valueStart = at;
        while (at < text.size() && !EndsText(text[at])) {
            ++at;
        }
        const std::string_view value = text.substr(valueStart, at - valueStart);
        const bool blocksInARow = skipSeparators();
        tokens.Append(KeyText(key), ValueText(value), keyLevel);
        if (blocksInARow) {
            tokens.Append(u"EXTRA", u"TOKEN", level);
        }
    }
}

} // namespace moltr::compiler
