#pragma once
// Reading description files into the token list: locating the XPD text (the embedded block of a
// GPD file, or a whole XPD file), the character pass that compacts it, the token pass that cuts it
// into tokens, and the includes.
#include <string>
#include <string_view>
#include "compiler/compilation.h"

namespace moltr::compiler {

// Resolves `path`, reads the file and appends its tokens, then reads every file its *INCLUDE
// tokens name (and theirs), each once. `embedded` is set when the source is a GPD file that
// carries the XPD text between its tag lines. Returns the result class.
int Tokenize(Compilation& compilation, std::u16string_view path, bool embedded);

// The XPD text inside a GPD file: the lines between the *IgnoreBlock braces of the tagged block,
// or the whole file when any of its markers is missing.
std::string_view LocateXpdText(std::string_view file);

// The character and token passes over `text` (single-byte text in the ANSI code page), which is
// compacted in place. `file` names the text in messages; `gpdInclude` is the lenient mode of an
// included .gpd file. Appends the tokens unless the character pass raised an error; returns the
// result class.
int TokenizeText(Compilation& compilation, std::string& text, std::u16string_view file,
                 bool gpdInclude);

} // namespace moltr::compiler
