#include "uiplugin/custom_medium.h"

namespace moltr::uiplugin {
namespace {

// Room for a form name's ANSI bytes, terminator included.
constexpr int kAnsiNameSize = 32;

std::string AnsiName(LPCWSTR formName) {
    int size = WideCharToMultiByte(CP_ACP, 0, formName, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, formName, -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size - 1 < kAnsiNameSize - 1 ? size - 1 : kAnsiNameSize - 1));
    return bytes;
}

bool Kept(unsigned char byte) {
    return (byte >= 0x2A && byte <= 0x3F) || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z');
}

std::string IdentifierOf(const std::string& ansi) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string identifier;
    for (char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        if (Kept(byte)) {
            identifier += static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte);
        } else {
            identifier += kDigits[byte >> 4];
            identifier += kDigits[byte & 0xF];
        }
    }
    return identifier;
}

} // namespace

std::string CustomMediumIdentifier(LPCWSTR formName) {
    return IdentifierOf(AnsiName(formName));
}

CustomMedium MakeCustomMedium(LPCWSTR formName, DWORD width, DWORD length) {
    std::string name = AnsiName(formName);
    std::string identifier = IdentifierOf(name);
    return {std::move(name), std::move(identifier), width, length};
}

} // namespace moltr::uiplugin
