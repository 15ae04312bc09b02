#include "compiler/translation.h"

#include "compiler/references.h"

namespace moltr::compiler {

UINT StringIdOf(std::u16string_view text) {
    if (text.empty() || text.size() > 5 || text[0] == u'0') {
        return 0;
    }
    UINT id = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return 0;
        }
        id = id * 10 + (c - u'0');
    }
    return id <= 0xFFFF ? id : 0;
}

bool Translation::LoadNamedString(std::u16string_view text, bool plainNumber,
                                  std::u16string& loaded) {
    size_t dot = text.rfind(u'.');
    if (dot != std::u16string_view::npos) {
        UINT id = StringIdOf(text.substr(dot + 1));
        std::u16string_view alias = text.substr(0, dot + 1);
        if (id != 0 && modules_.HasAlias(alias)) {
            return modules_.LoadString(compilation_.messages, alias, id, loaded);
        }
    }
    UINT id = plainNumber ? StringIdOf(text) : 0;
    return id != 0 && modules_.LoadString(compilation_.messages, {}, id, loaded);
}

std::u16string Translation::Translate(std::u16string_view key, std::u16string_view value) {
    bool resourceKey = key.substr(0, 3) == u"*RC";
    std::u16string loaded;
    if (!value.empty() && value[0] == u'=') {
        Macro* macro = compilation_.macros.Find(value.substr(1));
        if (!macro) {
            compilation_.messages.Raise(message::kMacroNotFound, {value.substr(1)});
            return std::u16string(value);
        }
        // A loaded string replaces the macro's value, so that later uses need no lookup.
        if (LoadNamedString(macro->value, resourceKey, loaded)) {
            macro->value = std::move(loaded);
        }
        return macro->value;
    }
    if (LoadNamedString(value, resourceKey, loaded)) {
        return loaded;
    }
    return std::u16string(value);
}

int Translation::AddReference(std::u16string_view value, ReferenceList& references) {
    return ResolveReference(compilation_, *this, value, references);
}

} // namespace moltr::compiler
