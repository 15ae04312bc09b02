// LoadStringW and LoadStringA: strings from a module's string tables. Block n of RT_STRING holds
// the strings 16 * (n - 1) to 16 * n - 1, each a length word followed by that many characters.
#include "src/kernel32/resource_lookup.h"

#include <windows.h>
#include <algorithm>
#include <cstring>
#include <string>

using namespace moltr::platform;

namespace {

constexpr UINT kStringsPerBlock = 16;

// The string `id` of its block in the entry: its characters and length, or false when the block
// holds no such string or ends before it.
bool StringInBlock(const ResourceEntry& block, UINT id, const WCHAR*& text, WORD& length) {
    const size_t words = block.size / sizeof(WORD);
    size_t at = 0;
    for (UINT index = 0;; ++index) {
        if (at >= words) {
            return false;
        }
        const WORD count = ReadWord(block.data + at * sizeof(WORD));
        if (count > words - at - 1) {
            return false;
        }
        if (index == id % kStringsPerBlock) {
            text = reinterpret_cast<const WCHAR*>(block.data + (at + 1) * sizeof(WORD));
            length = count;
            return count != 0;
        }
        at += 1 + count;
    }
}

} // namespace

extern "C" {

int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
    if (!lpBuffer || cchBufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const UINT id = LOWORD(uID);
    DWORD error = ERROR_SUCCESS;
    const ResourceEntry* block = FindResourceEntry(
        hInstance, RT_STRING, MAKEINTRESOURCEW(id / kStringsPerBlock + 1), LANG_NEUTRAL, error);
    const WCHAR* text = nullptr;
    WORD length = 0;
    if (block && !StringInBlock(*block, id, text, length)) {
        error = ERROR_RESOURCE_NAME_NOT_FOUND;
        block = nullptr;
    }
    if (cchBufferMax == 0) {
        // The caller wants a read-only pointer to the string in the module; it is not terminated.
        std::memcpy(lpBuffer, &text, sizeof text);
    } else {
        const int copied = std::min<int>(length, cchBufferMax - 1);
        std::copy_n(text, copied, lpBuffer);
        lpBuffer[copied] = 0;
        length = static_cast<WORD>(copied);
    }
    if (!block) {
        SetLastError(error);
        return 0;
    }
    return length;
}

int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    if (!lpBuffer || cchBufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const WCHAR* text = nullptr;
    const int length = LoadStringW(hInstance, uID, reinterpret_cast<LPWSTR>(&text), 0);
    // Converted whole, then cut to the buffer like the wide string.
    const int bytes =
        length ? WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    std::string ansi(static_cast<size_t>(bytes), '\0');
    if (bytes) {
        WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), bytes, nullptr, nullptr);
    }
    const int copied = std::min(bytes, cchBufferMax - 1);
    std::copy_n(ansi.data(), copied, lpBuffer);
    lpBuffer[copied] = 0;
    return copied;
}
}
