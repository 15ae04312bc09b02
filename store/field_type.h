#pragma once
// Type codes of structure fields, as stored in field descriptors and dynamic values.
#include <windows.h>

namespace moltr::store {

constexpr DWORD kTypeByte = 1;
constexpr DWORD kTypeChar = 2;
constexpr DWORD kTypeWord = 3;
constexpr DWORD kTypeShort = 4;
constexpr DWORD kTypeDword = 5;
constexpr DWORD kTypeDword64 = 6;
constexpr DWORD kTypeLong = 7;
constexpr DWORD kTypeLong64 = 8;
constexpr DWORD kTypeColorref = 9;
constexpr DWORD kTypeString = 100;
constexpr DWORD kTypeXpdStruct = 200;
constexpr DWORD kTypeDynamic = 201;

// Element sizes of the fixed types; 0 for a code that is none of them.
constexpr WORD ElementSizeOf(DWORD type) {
    switch (type) {
    case kTypeByte:
        return 1;
    case kTypeChar:
    case kTypeWord:
    case kTypeShort:
        return 2;
    case kTypeDword:
    case kTypeLong:
    case kTypeColorref:
        return 4;
    case kTypeDword64:
    case kTypeLong64:
    case kTypeString:
    case kTypeDynamic:
        return 8;
    case kTypeXpdStruct:
        return 12;
    default:
        return 0;
    }
}

// Longest structure or field name in characters; the stored name has room for the terminator too.
constexpr size_t kMaxNameLength = 47;

} // namespace moltr::store
