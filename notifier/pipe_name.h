#pragma once
// The notifier pipe's name: "\\.\pipe\" followed by the notifier program's file name cut at its
// last
// ".". The server derives it from its own module base name, the application from the notifier's
// path; both give the same name.
#include <windows.h>

namespace moltr::notifier {

inline constexpr DWORD kPipeNameChars = 9 + MAX_PATH;

// The file name of `path`: the text after its last backslash, the whole path when it has none.
LPCWSTR FileNameOf(LPCWSTR path);

// Writes the pipe name for the program at `path` (a full path or a bare file name) into `name`.
// False when the path is null, has no file name, or the name does not fit.
bool NotifierPipeName(LPCWSTR path, WCHAR (&name)[kPipeNameChars]);

} // namespace moltr::notifier
