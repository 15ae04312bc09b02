#include "compiler/tokenizer.h"

#include "compiler/character_pass.h"
#include "compiler/token_pass.h"

namespace moltr::compiler {

namespace {

constexpr std::string_view kBeginTag = "*% XPD BEGIN - DO NOT REMOVE THIS TAG";
constexpr std::string_view kEndTag = "*% XPD END - DO NOT REMOVE THIS TAG";

} // namespace

std::string_view LocateXpdText(std::string_view file) {
    const size_t begin = file.find(kBeginTag);
    const size_t block = begin == std::string_view::npos
                             ? begin
                             : file.find("*IgnoreBlock", begin + kBeginTag.size());
    const size_t brace = block == std::string_view::npos ? block : file.find("{\r\n", block);
    if (brace == std::string_view::npos) {
        return file;
    }
    const size_t start = brace + 3;
    const size_t end = file.find(kEndTag, start);
    if (end == std::string_view::npos) {
        return file;
    }
    const size_t closing = file.substr(start, end - start).rfind('}');
    if (closing == std::string_view::npos) {
        return file;
    }
    return file.substr(start, closing);
}

int TokenizeText(Compilation& compilation, std::string& text, std::u16string_view file,
                 bool gpdInclude) {
    const int result = CompactText(text, file, gpdInclude, compilation.messages);
    if (result >= kError) {
        return result;
    }
    AppendTokens(text, compilation.tokens);
    return result;
}

} // namespace moltr::compiler
