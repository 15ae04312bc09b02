#pragma once
// What the value compiler takes from the compile driver: translation of values (macros and
// resource strings) and the references that give DYNAMIC fields their type.
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

namespace moltr::compiler {

// One resolved *REFERENCES entry F(V) of a record.
struct Reference {
    std::u16string fieldDescriptor; // F: dotted path of the setting field
    std::u16string valueDescriptor; // V: dotted path of the DYNAMIC field
    std::u16string valueField;      // the last component of V: the DYNAMIC field it types
    DWORD type = 0;                 // type, element size and count of the setting field
    WORD elementSize = 0;
    WORD elementCount = 0;
};
using ReferenceList = std::vector<Reference>;

class ValueServices {
public:
    // The value `value` of a token with key `key` after macro and resource-string translation.
    virtual std::u16string Translate(std::u16string_view key, std::u16string_view value) = 0;
    // Resolves the *REFERENCES value `value` of a record and adds it to `references`; returns the
    // result class.
    virtual int AddReference(std::u16string_view value, ReferenceList& references) = 0;

protected:
    ~ValueServices() = default;
};

} // namespace moltr::compiler
