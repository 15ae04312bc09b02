#pragma once
// Resolution of the paths that name description files (the main source, includes, resource
// modules): quoted paths, bare names in the printer driver directory, the [SYSDIR], [WINDIR] and
// [PRINTPROCDIR] prefixes, the default extension .XPD.
#include <string>
#include <string_view>

namespace moltr::compiler {

// The resolved, lower-cased path for `path` as written; false when a directory it needs cannot be
// obtained.
bool ResolveSourcePath(std::u16string_view path, std::u16string& resolved);

// The extension of the path's file name, from its last dot ("" when the name has none): dots in
// folder names are no extensions.
std::u16string_view FileExtension(std::u16string_view path);

} // namespace moltr::compiler
