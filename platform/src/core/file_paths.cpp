#include "src/core/file_paths.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <cerrno>
#include <filesystem>

#include <sys/stat.h>

namespace moltr::sim {

DWORD MapPath(LPCWSTR path, std::string& host) {
    std::u16string_view text = View(path);
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < 32 || c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*' ||
            (c == u':' && i != 1)) {
            return ERROR_INVALID_NAME;
        }
    }
    host = HostPath(path);
    return host.empty() ? ERROR_PATH_NOT_FOUND : ERROR_SUCCESS;
}

DWORD MissingPathError(const std::string& host) {
    std::filesystem::path parent = std::filesystem::path(host).parent_path();
    struct stat st {};
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                   : ERROR_PATH_NOT_FOUND;
}

DWORD ErrorFromErrno(int error) {
    switch (error) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
        return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    default:
        return ERROR_GEN_FAILURE;
    }
}

} // namespace moltr::sim
