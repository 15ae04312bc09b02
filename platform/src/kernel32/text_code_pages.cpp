// Code pages: the machine's ANSI page, the OEM page and UTF-8.
//
// The OEM page is 437, the US one, whatever the ANSI page. A character that a single-byte page
// lacks becomes its best fit (U+0100 to 'A' ...) unless WC_NO_BEST_FIT_CHARS is given, else the
// default character. MB_COMPOSITE, MB_USEGLYPHCHARS,
// WC_COMPOSITECHECK, WC_DISCARDNS, WC_SEPCHARS and WC_DEFAULTCHAR are accepted and change nothing.
#include "src/kernel32/text_code_page.h"
#include "src/kernel32/text_best_fit.h"
#include "src/kernel32/text_code_page_tables.h"
#include "src/core/text_utf8.h"
#include "sim/machine.h"

#include <climits>
#include <cstring>

namespace moltr::sim::text {
namespace {

enum class Conversion { Done, InvalidChars, UnknownCodePage };

constexpr UINT kOemCodePage = 437;

// What to put for a character that the page lacks.
struct Replacement {
    bool bestFit;
    char defaultChar;
};

void EncodeSingleByte(const char16_t* high, std::u16string_view text, Replacement replacement,
                      bool& usedDefault, std::string& out) {
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        size_t index = 0;
        while (index < 128 && high[index] != c) {
            ++index;
        }
        const char fit = replacement.bestFit ? BestFitCharacter(c) : 0;
        if (index < 128) {
            out += static_cast<char>(0x80 + index);
        } else if (fit) {
            out += fit;
        } else {
            out += replacement.defaultChar;
            usedDefault = true;
        }
    }
}

UINT MachineAnsiCodePage() {
    return CurrentConfig().ansiCodePage;
}

// The documented sizing protocol: capacity 0 asks for the size; a buffer too small fails.
template <typename Char, typename Text> int CopyOut(const Text& text, Char* out, int capacity) {
    if (text.size() > static_cast<size_t>(INT_MAX)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const int size = static_cast<int>(text.size());
    if (capacity == 0) {
        return size;
    }
    if (size > capacity) {
        std::memcpy(out, text.data(), static_cast<size_t>(capacity) * sizeof(Char));
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, text.data(), text.size() * sizeof(Char));
    return size;
}

// The page that CP_ACP, CP_THREAD_ACP and CP_OEMCP stand for; any other page as given.
UINT ActualCodePage(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP:
        return MachineAnsiCodePage();
    case CP_OEMCP:
        return kOemCodePage;
    default:
        return codePage;
    }
}

bool IsKnownCodePage(UINT codePage) {
    return codePage == CP_UTF8 || HighHalf(codePage);
}

// Ill-formed UTF-8 becomes U+FFFD, or fails with InvalidChars when `strict`.
Conversion Decode(UINT codePage, std::string_view bytes, bool strict, std::u16string& out) {
    codePage = ActualCodePage(codePage);
    if (codePage == CP_UTF8) {
        return DecodeUtf8(bytes, strict, out) ? Conversion::Done : Conversion::InvalidChars;
    }
    const char16_t* high = HighHalf(codePage);
    if (!high) {
        return Conversion::UnknownCodePage;
    }
    for (char b : bytes) {
        const unsigned char byte = static_cast<unsigned char>(b);
        out += byte < 0x80 ? static_cast<char16_t>(byte) : high[byte - 0x80];
    }
    return Conversion::Done;
}

// A character the single-byte page lacks becomes `defaultChar` and sets `usedDefault`; an
// unpaired surrogate becomes U+FFFD in UTF-8, or fails with InvalidChars when `strict`.
Conversion Encode(UINT codePage, std::u16string_view text, bool strict, Replacement replacement,
                  bool& usedDefault, std::string& out) {
    codePage = ActualCodePage(codePage);
    if (codePage == CP_UTF8) {
        return EncodeUtf8(text, strict, out) ? Conversion::Done : Conversion::InvalidChars;
    }
    const char16_t* high = HighHalf(codePage);
    if (!high) {
        return Conversion::UnknownCodePage;
    }
    EncodeSingleByte(high, text, replacement, usedDefault, out);
    return Conversion::Done;
}

} // namespace

std::u16string AnsiToWide(std::string_view bytes) {
    std::u16string out;
    Decode(CP_ACP, bytes, false, out);
    return out;
}

std::string WideToAnsi(std::u16string_view text) {
    std::string out;
    bool usedDefault = false;
    Encode(CP_ACP, text, false, {true, '?'}, usedDefault, out);
    return out;
}

} // namespace moltr::sim::text

using namespace moltr::sim::text;

extern "C" {

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (!lpWideCharStr && cchWideChar != 0) ||
        static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const UINT page = ActualCodePage(CodePage);
    if (!IsKnownCodePage(page)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed =
        page == CP_UTF8 ? MB_ERR_INVALID_CHARS
                        : MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
    if ((dwFlags & ~allowed) != 0 ||
        (dwFlags & (MB_PRECOMPOSED | MB_COMPOSITE)) == (MB_PRECOMPOSED | MB_COMPOSITE)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const size_t length =
        cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    std::u16string wide;
    if (Decode(page, std::string_view(lpMultiByteStr, length),
               (dwFlags & MB_ERR_INVALID_CHARS) != 0, wide) != Conversion::Done) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return CopyOut(wide, reinterpret_cast<char16_t*>(lpWideCharStr), cchWideChar);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (!lpMultiByteStr && cbMultiByte != 0) ||
        static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const UINT page = ActualCodePage(CodePage);
    if (!IsKnownCodePage(page) || (page == CP_UTF8 && (lpDefaultChar || lpUsedDefaultChar))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = page == CP_UTF8 ? WC_ERR_INVALID_CHARS
                                          : WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS |
                                                WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS;
    if ((dwFlags & ~allowed) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const auto* wide = reinterpret_cast<const char16_t*>(lpWideCharStr);
    const size_t length = cchWideChar == -1 ? std::char_traits<char16_t>::length(wide) + 1
                                            : static_cast<size_t>(cchWideChar);
    std::string bytes;
    bool usedDefault = false;
    if (Encode(page, std::u16string_view(wide, length), (dwFlags & WC_ERR_INVALID_CHARS) != 0,
               {(dwFlags & WC_NO_BEST_FIT_CHARS) == 0, lpDefaultChar ? *lpDefaultChar : '?'},
               usedDefault, bytes) != Conversion::Done) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (lpUsedDefaultChar) {
        *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
    }
    return CopyOut(bytes, lpMultiByteStr, cbMultiByte);
}

UINT WINAPI GetACP(void) {
    return ActualCodePage(CP_ACP);
}

UINT WINAPI GetOEMCP(void) {
    return ActualCodePage(CP_OEMCP);
}

// The pages the conversions know are the machine's installed ones; CP_ACP and the other stand-ins
// name no page of their own.
BOOL WINAPI IsValidCodePage(UINT CodePage) {
    return IsKnownCodePage(CodePage) ? TRUE : FALSE;
}

// Every page the simulation knows has single-byte characters only.
BOOL WINAPI IsDBCSLeadByte(BYTE) {
    return FALSE;
}
}
