#pragma once
// Translation of values: a value =NAME takes the macro NAME's value, a value ALIAS.n (and, for keys
// beginning with *RC, a plain number n) takes string n of a resource module. The compile driver
// hands this to the value compiler, together with the resolution of references.
#include <string>
#include <string_view>
#include "compiler/compilation.h"
#include "compiler/resource_modules.h"
#include "compiler/value_services.h"

namespace moltr::compiler {

class Translation : public ValueServices {
public:
    Translation(Compilation& compilation, ResourceModules& modules)
        : compilation_(compilation), modules_(modules) {}

    std::u16string Translate(std::u16string_view key, std::u16string_view value) override;
    int AddReference(std::u16string_view value, ReferenceList& references) override;

private:
    // The string that `text` (ALIAS.n, or n where `plainNumber` allows it) names, if any.
    bool LoadNamedString(std::u16string_view text, bool plainNumber, std::u16string& loaded);

    Compilation& compilation_;
    ResourceModules& modules_;
};

// The string id that `text` renders exactly (decimal, no sign or leading zero, 1 to 65535), or 0.
UINT StringIdOf(std::u16string_view text);

} // namespace moltr::compiler
