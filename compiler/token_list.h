#pragma once
// The token list of one compile and the lookups every pass makes on it.
//
// A token is a key/value pair with the nesting level of its line (0 outside any block). The list
// keeps source order; tokens are only ever appended or inserted, never removed, so a token's
// address stays valid for the whole compile.
//
// Lookups are scoped: a lookup at a definite level starts after a scope token (normally the
// current token of the enclosing iteration, or the head of the list when there is none, or when
// the wanted level is shallower than the scope token's) and ends at the first token whose level is
// lower than the wanted one, the end of the enclosing block. Only tokens at exactly the wanted
// level match. A lookup at kAnyLevel scans the whole list. Keys and values compare exactly.
#include <windows.h>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include "compiler/compile_messages.h"

namespace moltr::compiler {

inline constexpr int kAnyLevel = -1; // the level 255 of a lookup: any level, whole list
inline constexpr int kMaxCursors = 32;

class TokenList;

class Token {
public:
    std::u16string key;
    std::u16string value;
    int8_t level = 0;

    Token* next() const { return next_; }
    Token* previous() const { return previous_; }

private:
    friend class TokenList;
    friend class TokenIteration;
    Token* next_ = nullptr;
    Token* previous_ = nullptr;
};

enum class LookupMode {
    kSingle = 0,  // first match, no cursor left behind
    kIterate = 1, // every match in turn, over the list as it was when the iteration began
    kGrow = 2,    // every match in turn, including tokens appended while the iteration runs
};

class TokenList {
public:
    explicit TokenList(Messages& messages) : messages_(messages) {}
    TokenList(const TokenList&) = delete;
    TokenList& operator=(const TokenList&) = delete;

    Token& Append(std::u16string key, std::u16string value, int level);
    // Links a new token in directly behind `where`.
    Token& InsertAfter(Token& where, std::u16string key, std::u16string value, int level);

    Token* First() const { return first_; }
    Token* Last() const { return last_; }
    size_t Count() const { return tokens_.size(); }

    // Single lookup (mode 0): the first token with `key` (empty: any key) at `level` and, when
    // given, `value`, in the scope after `scope` (null: from the head of the list).
    Token* Find(const Token* scope, std::u16string_view key, int level,
                std::optional<std::u16string_view> value = std::nullopt);

    Messages& messages() const { return messages_; }

private:
    friend class TokenIteration;

    // The first token of the scope after `scope` for a lookup at `level`.
    Token* ScopeStart(const Token* scope, int level) const;

    Messages& messages_;
    std::deque<Token> tokens_;
    Token* first_ = nullptr;
    Token* last_ = nullptr;
    int8_t cursorDepth_ = -1; // index of the innermost active cursor
};

// An iteration (mode 1 or 2) over the matches of one lookup; it holds one of the list's 32 cursors
// for as long as it lives. When no cursor is free, 62203 is raised and the iteration finds
// nothing. Iterations nest: give the enclosing iteration's current token as the scope.
class TokenIteration {
public:
    TokenIteration(TokenList& list, const Token* scope, std::u16string_view key, int level,
                   std::optional<std::u16string_view> value = std::nullopt,
                   LookupMode mode = LookupMode::kIterate);
    ~TokenIteration();
    TokenIteration(const TokenIteration&) = delete;
    TokenIteration& operator=(const TokenIteration&) = delete;

    // The next match, or null when the scope is exhausted.
    Token* Next();
    // The token Next returned last, or null.
    Token* Current() const { return current_; }
    // 0, or the class of 62203 when the iteration got no cursor.
    int Result() const { return result_; }

private:
    TokenList& list_;
    std::u16string key_;
    std::optional<std::u16string> value_;
    int level_;
    LookupMode mode_;
    Token* start_ = nullptr; // the first token of the scope
    Token* last_ = nullptr;  // for kIterate: the list's last token when the iteration began
    Token* current_ = nullptr;
    bool holdsCursor_ = false;
    bool started_ = false;
    bool finished_ = false;
    int result_ = kSuccess;
};

} // namespace moltr::compiler
