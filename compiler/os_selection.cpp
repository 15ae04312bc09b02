#include "compiler/os_selection.h"

#include <algorithm>
#include "compiler/windows_version.h"

namespace moltr::compiler {

namespace {

// The name descriptions use for the running Windows version; empty for one they cannot name.
std::u16string_view OsName() {
    WindowsVersion version;
    if (!RunningWindowsVersion(version) || version.platform != VER_PLATFORM_WIN32_NT) {
        return {};
    }
    if (version.major == 5) {
        switch (version.minor) {
        case 0:
            return u"WIN2K";
        case 1:
            return u"WINXP";
        case 2:
            return u"WIN2003";
        default:
            return {};
        }
    }
    return version.major == 6 && version.minor == 0 ? u"WINLONGHORN" : u"";
}

// The key a block names as its target's type: a keyword, with its star.
std::u16string TargetKey(std::u16string_view type) {
    return !type.empty() && type[0] == u'*' ? std::u16string(type) : u"*" + std::u16string(type);
}

// Runs `apply` on each option token `optionKey` in every level-0 block `blockKey` selected by the
// running version, "32BIT" or "ALL", in that order.
template <typename Apply>
int ForEachSelectedOption(Compilation& compilation, std::u16string_view blockKey,
                          std::u16string_view optionKey, Apply apply) {
    const std::u16string_view selectors[] = {OsName(), u"32BIT", u"ALL"};
    TokenList& tokens = compilation.tokens;
    for (std::u16string_view selector : selectors) {
        TokenIteration blocks(tokens, nullptr, blockKey, 0, selector);
        while (Token* block = blocks.Next()) {
            TokenIteration options(tokens, block, optionKey, block->level + 1);
            while (Token* option = options.Next()) {
                const int result = apply(*option);
                if (result >= kError) {
                    return result;
                }
            }
            if (options.Result() != kSuccess) {
                return options.Result();
            }
        }
        if (blocks.Result() != kSuccess) {
            return blocks.Result();
        }
    }
    return kSuccess;
}

// Merges the tokens directly inside `source`'s block into `target`'s block: a token the target
// already has (same key and value) takes the merge one level down, any other is copied in.
int Merge(TokenList& tokens, Token& source, Token& target) {
    // Copies go in right behind the target, each ahead of the one before, unless the target ends
    // the list, where they follow in their own order.
    const bool append = tokens.Last() == &target;
    const int childLevel = target.level + 1;
    TokenIteration injected(tokens, &source, u"", source.level + 1);
    while (Token* token = injected.Next()) {
        if (Token* child = tokens.Find(&target, token->key, childLevel, token->value)) {
            const int result = Merge(tokens, *token, *child);
            if (result >= kError) {
                return result;
            }
        } else if (append) {
            tokens.Append(token->key, token->value, childLevel);
        } else {
            tokens.InsertAfter(target, token->key, token->value, childLevel);
        }
    }
    return injected.Result();
}

} // namespace

int ApplyExclusions(Compilation& compilation) {
    if (OsName().empty()) {
        return compilation.messages.Raise(message::kUnknownOsForExclusions);
    }
    TokenList& tokens = compilation.tokens;
    return ForEachSelectedOption(compilation, u"*EXCLUDE", u"*EXCLUDEOPTION", [&](Token& option) {
        const Token* type = tokens.Find(&option, u"*EXCLUDETYPE", option.level + 1);
        const Token* name = tokens.Find(&option, u"*EXCLUDENAME", option.level + 1);
        if (type != nullptr && name != nullptr) {
            if (Token* target =
                    tokens.Find(nullptr, TargetKey(type->value), kAnyLevel, name->value)) {
                // A key that no longer starts with a star matches no keyword.
                target->key[0] = u'x';
            }
        }
        return kSuccess;
    });
}

int ApplyInjections(Compilation& compilation) {
    if (OsName().empty()) {
        return compilation.messages.Raise(message::kUnknownOsForInjections);
    }
    TokenList& tokens = compilation.tokens;
    return ForEachSelectedOption(compilation, u"*INJECTION", u"*INJECTOPTION", [&](Token& option) {
        const Token* key = tokens.Find(&option, u"*KEY", option.level + 1);
        const Token* value = tokens.Find(&option, u"*VALUE", option.level + 1);
        if (key == nullptr || value == nullptr) {
            return kSuccess;
        }
        Token* target = tokens.Find(nullptr, TargetKey(key->value), kAnyLevel, value->value);
        if (target == nullptr) {
            return kSuccess;
        }
        TokenIteration infos(tokens, &option, u"*INJECTINFO", option.level + 1);
        while (Token* info = infos.Next()) {
            const int result = Merge(tokens, *info, *target);
            if (result >= kError) {
                return result;
            }
        }
        return infos.Result();
    });
}

} // namespace moltr::compiler
