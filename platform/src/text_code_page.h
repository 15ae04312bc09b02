#pragma once
// Code-page conversion shared by MultiByteToWideChar, WideCharToMultiByte and the format engine.
#include <windows.h>
#include <string>
#include <string_view>

namespace moltr::sim::text {

enum class Conversion { Done, InvalidChars, UnknownCodePage };

// The page that CP_ACP, CP_THREAD_ACP and CP_OEMCP stand for; any other page as given.
UINT ActualCodePage(UINT codePage);
bool IsKnownCodePage(UINT codePage);

// Bytes to UTF-16. Ill-formed UTF-8 becomes U+FFFD, or fails with InvalidChars when `strict`.
Conversion Decode(UINT codePage, std::string_view bytes, bool strict, std::u16string& out);
// UTF-16 to bytes. A character the single-byte page lacks becomes `defaultChar` and sets
// `usedDefault`; an unpaired surrogate becomes U+FFFD in UTF-8, or fails when `strict`.
Conversion Encode(UINT codePage, std::u16string_view text, bool strict, char defaultChar,
                  bool& usedDefault, std::string& out);

// Conversions through the ANSI code page with the defaults of the Win32 calls.
std::u16string AnsiToWide(std::string_view bytes);
std::string WideToAnsi(std::u16string_view text);

} // namespace moltr::sim::text
