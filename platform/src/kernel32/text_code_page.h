#pragma once
// Conversion through the ANSI code page for the format engine.
#include <windows.h>
#include <string>
#include <string_view>

namespace moltr::sim::text {

// As MultiByteToWideChar and WideCharToMultiByte convert with CP_ACP and no flags.
std::u16string AnsiToWide(std::string_view bytes);
std::string WideToAnsi(std::u16string_view text);

} // namespace moltr::sim::text
