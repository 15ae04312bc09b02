#include "compiler/upper_text.h"

#include <windows.h>

namespace moltr::compiler {

std::u16string UpperText(std::u16string_view text) {
    std::u16string upper(text);
    CharUpperBuffW(reinterpret_cast<LPWSTR>(upper.data()), static_cast<DWORD>(upper.size()));
    return upper;
}

} // namespace moltr::compiler
