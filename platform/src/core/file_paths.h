#pragma once
// Windows paths of the file functions mapped onto the host, and host errors mapped onto Win32 ones.
#include <windows.h>
#include <string>

namespace moltr::sim {

// ERROR_SUCCESS with the host path; ERROR_INVALID_NAME for a character Windows refuses in a name;
// ERROR_PATH_NOT_FOUND for a path that does not map (empty, relative, no machine).
DWORD MapPath(LPCWSTR path, std::string& host);
// The error for a host path that does not exist: ERROR_FILE_NOT_FOUND when its folder exists, else
// ERROR_PATH_NOT_FOUND.
DWORD MissingPathError(const std::string& host);
DWORD ErrorFromErrno(int error);

} // namespace moltr::sim
