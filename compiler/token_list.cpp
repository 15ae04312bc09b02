#include "compiler/token_list.h"

namespace moltr::compiler {

namespace {

bool Matches(const Token& token, std::u16string_view key, int level,
             const std::optional<std::u16string_view>& value) {
    return (key.empty() || token.key == key) && (level == kAnyLevel || token.level == level) &&
           (!value || token.value == *value);
}

} // namespace

Token& TokenList::Append(std::u16string key, std::u16string value, int level) {
    Token& token = tokens_.emplace_back();
    token.key = std::move(key);
    token.value = std::move(value);
    token.level = static_cast<int8_t>(level);
    token.previous_ = last_;
    if (last_ != nullptr) {
        last_->next_ = &token;
    } else {
        first_ = &token;
    }
    last_ = &token;
    return token;
}

Token& TokenList::InsertAfter(Token& where, std::u16string key, std::u16string value, int level) {
    Token& token = tokens_.emplace_back();
    token.key = std::move(key);
    token.value = std::move(value);
    token.level = static_cast<int8_t>(level);
    token.previous_ = &where;
    token.next_ = where.next_;
    if (where.next_ != nullptr) {
        where.next_->previous_ = &token;
    } else {
        last_ = &token;
    }
    where.next_ = &token;
    return token;
}

Token* TokenList::ScopeStart(const Token* scope, int level) const {
    if (level == kAnyLevel || scope == nullptr || level < scope->level) {
        return first_;
    }
    return scope->next_;
}

Token* TokenList::Find(const Token* scope, std::u16string_view key, int level,
                       std::optional<std::u16string_view> value) {
    for (Token* token = ScopeStart(scope, level); token != nullptr; token = token->next_) {
        if (level != kAnyLevel && token->level < level) {
            break;
        }
        if (Matches(*token, key, level, value)) {
            return token;
        }
    }
    return nullptr;
}

TokenIteration::TokenIteration(TokenList& list, const Token* scope, std::u16string_view key,
                               int level, std::optional<std::u16string_view> value, LookupMode mode)
    : list_(list), key_(key), level_(level), mode_(mode) {
    if (value) {
        value_.emplace(*value);
    }
    if (list_.cursorDepth_ + 1 >= kMaxCursors) {
        result_ = list_.messages().RaiseInternal(message::kNoTokenSlots, __FILE__, __LINE__);
        finished_ = true;
        return;
    }
    ++list_.cursorDepth_;
    holdsCursor_ = true;
    start_ = list_.ScopeStart(scope, level);
    last_ = list_.last_;
}

TokenIteration::~TokenIteration() {
    if (holdsCursor_) {
        --list_.cursorDepth_;
    }
}

Token* TokenIteration::Next() {
    if (finished_) {
        return nullptr;
    }
    Token* token = started_ ? current_->next_ : start_;
    started_ = true;
    const bool bounded = mode_ != LookupMode::kGrow;
    while (token != nullptr) {
        if (level_ != kAnyLevel && token->level < level_) {
            break;
        }
        const bool atBound = bounded && token == last_;
        if (Matches(*token, key_, level_, value_)) {
            current_ = token;
            finished_ = atBound;
            return token;
        }
        if (atBound) {
            break;
        }
        token = token->next_;
    }
    finished_ = true;
    current_ = nullptr;
    return nullptr;
}

} // namespace moltr::compiler
