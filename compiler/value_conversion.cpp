#include "compiler/value_conversion.h"

#include <algorithm>
#include <vector>
#include "compiler/decimal_number.h"
#include "compiler/field_type_name.h"
#include "store/field_type.h"

namespace moltr::compiler {

namespace {

void WriteLittleEndian(unsigned long long value, WORD size, BYTE* destination) {
    for (WORD at = 0; at < size; ++at) {
        destination[at] = static_cast<BYTE>(value >> (8 * at));
    }
}

// The number that starts at `at`; 0 when there is none.
LONG NumberAfter(std::u16string_view text, size_t at) {
    return at == std::u16string_view::npos || at >= text.size() ? 0
                                                                : ParseSigned32(text.substr(at));
}

// Converts one element's (translated) text; returns false when the text is no value of the type.
bool ConvertElement(DWORD type, WORD elementSize, std::u16string_view text, BYTE* destination) {
    switch (type) {
    case store::kTypeByte:
    case store::kTypeWord:
    case store::kTypeShort:
        WriteLittleEndian(static_cast<DWORD>(ParseSigned32(text)), elementSize, destination);
        return true;
    case store::kTypeColorref: {
        if (text.find(u"RGB(") == std::u16string_view::npos) {
            return false;
        }
        const size_t firstComma = text.find(u',');
        const size_t lastComma = text.rfind(u',');
        const DWORD red = static_cast<BYTE>(NumberAfter(text, 4));
        const DWORD green = static_cast<BYTE>(NumberAfter(
            text, firstComma == std::u16string_view::npos ? firstComma : firstComma + 1));
        const DWORD blue = static_cast<BYTE>(
            NumberAfter(text, lastComma == std::u16string_view::npos ? lastComma : lastComma + 1));
        WriteLittleEndian(red | green << 8 | blue << 16, elementSize, destination);
        return true;
    }
    default: // DWORD, LONG, DWORD64, LONG64: unsigned 32-bit parsing, zero-extended
        WriteLittleEndian(ParseUnsigned32(text), elementSize, destination);
        return true;
    }
}

std::vector<std::u16string_view> SplitList(std::u16string_view value,
                                           std::u16string_view separator) {
    std::vector<std::u16string_view> elements;
    size_t start = 0;
    for (;;) {
        const size_t at = value.find(separator, start);
        if (at == std::u16string_view::npos) {
            elements.push_back(value.substr(start));
            return elements;
        }
        elements.push_back(value.substr(start, at - start));
        start = at + separator.size();
    }
}

int RaiseDoesNotFit(Messages& messages, const ValueTarget& target, std::u16string_view value) {
    return messages.Raise(
        message::kValuesDoNotFit,
        {value, FieldTypeName(target.type), target.fieldName, NumberText(target.elementCount)});
}

} // namespace

int ConvertValue(Messages& messages, ValueServices& services, const ValueTarget& target,
                 std::u16string_view key, std::u16string_view value, BYTE* destination) {
    if (target.type == store::kTypeChar) {
        const std::u16string text = services.Translate(key, value);
        const size_t length = std::min<size_t>(text.size(), target.elementCount);
        for (size_t at = 0; at < length; ++at) {
            WriteLittleEndian(text[at], target.elementSize, destination + at * target.elementSize);
        }
        return text.size() > target.elementCount ? RaiseDoesNotFit(messages, target, value)
                                                 : kSuccess;
    }
    // COLORREF values hold commas themselves: their list elements end with "),".
    const std::u16string_view separator = target.type == store::kTypeColorref ? u")," : u",";
    int result = kSuccess;
    if (target.elementCount == 1) {
        std::u16string text = services.Translate(key, value);
        const size_t at = text.find(separator);
        if (at != std::u16string::npos) {
            result = RaiseDoesNotFit(messages, target, value);
            text.resize(at + separator.size() - 1);
        }
        if (!ConvertElement(target.type, target.elementSize, text, destination)) {
            result = std::max(result, RaiseDoesNotFit(messages, target, value));
        }
        return result;
    }
    const std::vector<std::u16string_view> elements = SplitList(value, separator);
    for (size_t index = 0; index < elements.size(); ++index) {
        if (index == target.elementCount) {
            return std::max(result, RaiseDoesNotFit(messages, target, value));
        }
        const std::u16string text = services.Translate(key, elements[index]);
        if (!ConvertElement(target.type, target.elementSize, text,
                            destination + index * target.elementSize)) {
            result = std::max(result, RaiseDoesNotFit(messages, target, value));
        }
    }
    return result;
}

int ConvertStrings(Messages& messages, ValueServices& services, const ValueTarget& target,
                   std::u16string_view key, std::u16string_view value,
                   std::optional<std::u16string>* destination) {
    if (target.elementCount == 1) {
        destination[0] = services.Translate(key, value);
        return kSuccess;
    }
    const std::vector<std::u16string_view> elements = SplitList(value, u",");
    for (size_t index = 0; index < elements.size(); ++index) {
        if (index == target.elementCount) {
            return RaiseDoesNotFit(messages, target, value);
        }
        destination[index] = services.Translate(key, elements[index]);
    }
    return kSuccess;
}

} // namespace moltr::compiler
