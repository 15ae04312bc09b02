#include "common/setting_symbols.h"

#include <algorithm>
#include <cstring>
#include "store/image_layout.h"

namespace moltr::common {
namespace {

constexpr DWORD kMaxSymbolBytes = 64;

// A text symbol ends at its first control character: a line break in a setting must not add lines
// to the description file.
size_t SymbolTextLength(std::u16string_view text) {
    const auto control =
        std::find_if(text.begin(), text.end(), [](char16_t c) { return c < u' ' || c == u'\x7F'; });
    return static_cast<size_t>(control - text.begin());
}

} // namespace

std::string AnsiText(const WCHAR* text, int length) {
    if (length <= 0) {
        return {};
    }
    int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), size, nullptr, nullptr);
    }
    return ansi;
}

std::vector<std::string> SettingSymbols(store::StructureHandle printerSettings) {
    std::vector<std::string> symbols;
    if (printerSettings == nullptr) {
        return symbols;
    }
    bool afterVersion = false;
    for (WORD index = 0; index < printerSettings->fieldCount; ++index) {
        const store::FieldDescriptor* field = store::FieldAt(printerSettings, index);
        // Names may lie at odd addresses of the image.
        WCHAR name[store::kNameChars];
        std::memcpy(name, store::NameOf(field), sizeof name);
        name[store::kNameChars - 1] = L'\0';
        std::string ansiName = AnsiText(name, lstrlenW(name));
        if (!afterVersion) {
            afterVersion = ansiName == "_VERSION";
            continue;
        }
        void* pointer = nullptr;
        if (ansiName.find("_RESERVE") != std::string::npos || field->type == store::kTypeString ||
            field->type == store::kTypeXpdStruct || field->type == store::kTypeDynamic ||
            store::GetFieldPointer(printerSettings, name, &pointer) != store::kClassSuccess ||
            pointer == nullptr) {
            continue;
        }
        const BYTE* bytes = static_cast<const BYTE*>(pointer);
        DWORD size = store::ValueSize(field);
        if (field->type == store::kTypeChar) {
            std::u16string text(size / sizeof(WCHAR), u'\0');
            std::memcpy(text.data(), bytes, text.size() * sizeof(WCHAR));
            text.resize(SymbolTextLength(text));
            if (!text.empty()) {
                symbols.push_back(AnsiText(reinterpret_cast<const WCHAR*>(text.data()),
                                           static_cast<int>(text.size())));
            }
            continue;
        }
        std::string symbol = ansiName + "_";
        static const char kDigits[] = "0123456789abcdef";
        for (DWORD i = 0; i < size && i < kMaxSymbolBytes; ++i) {
            symbol += kDigits[bytes[i] >> 4];
            symbol += kDigits[bytes[i] & 0x0F];
        }
        symbols.push_back(std::move(symbol));
    }
    return symbols;
}

} // namespace moltr::common
