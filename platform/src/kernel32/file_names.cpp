// Work on files and folders by name: attributes, creating and removing folders, deleting, moving
// and copying files, with the sharing checks Windows applies to open files.
#include "src/core/file_paths.h"
#include "src/kernel32/file_sharing.h"
#include "src/kernel32/file_times.h"
#include "sim/utf.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace moltr::sim;

namespace {

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Maps the path and reads the status of what it names: ERROR_SUCCESS, or the error for a path that
// is invalid or names nothing.
DWORD Lookup(LPCWSTR path, std::string& host, FileTimes& status) {
    DWORD mapped = MapPath(path, host);
    if (mapped != ERROR_SUCCESS) {
        return mapped;
    }
    return ReadFileTimes(-1, host, status) ? ERROR_SUCCESS : MissingPathError(host);
}

std::string LastComponent(LPCWSTR path) {
    std::u16string_view text = View(path);
    size_t slash = text.find_last_of(u"\\/");
    return Utf8(slash == std::u16string_view::npos ? text : text.substr(slash + 1));
}

DWORD Attributes(const FileTimes& status) {
    DWORD attributes = status.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    return status.readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes;
}

// Copies a file's content through the file functions, so that sharing holds as for any open.
DWORD CopyContent(LPCWSTR from, LPCWSTR to, bool failIfExists) {
    HANDLE source =
        CreateFileW(from, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (source == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    FILETIME written{};
    GetFileTime(source, nullptr, nullptr, &written);
    HANDLE target = CreateFileW(to, GENERIC_WRITE, 0, nullptr,
                                failIfExists ? CREATE_NEW : CREATE_ALWAYS, 0, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        CloseHandle(source);
        return error;
    }
    std::vector<char> buffer(1 << 16);
    DWORD error = ERROR_SUCCESS;
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            error = GetLastError();
            break;
        }
        if (got == 0) {
            break;
        }
        if (!WriteFile(target, buffer.data(), got, &put, nullptr)) {
            error = GetLastError();
            break;
        }
    }
    // A copy keeps the source's last-write time and gets a creation time of its own.
    if (error == ERROR_SUCCESS) {
        SetFileTime(target, nullptr, nullptr, &written);
    }
    CloseHandle(target);
    CloseHandle(source);
    return error;
}

} // namespace

extern "C" {

DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
    std::string host;
    FileTimes status;
    DWORD error = Lookup(lpFileName, host, status);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    return Attributes(status);
}

BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
    std::string host;
    DWORD mapped = MapPath(lpPathName, host);
    if (mapped != ERROR_SUCCESS) {
        return Fail(mapped);
    }
    if (::mkdir(host.c_str(), 0777) != 0) {
        return Fail(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                        : ErrorFromErrno(errno));
    }
    return TRUE;
}

BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName) {
    std::string host;
    FileTimes status;
    DWORD error = Lookup(lpPathName, host, status);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (!status.directory) {
        return Fail(ERROR_DIRECTORY);
    }
    if (CheckSharing({status.device, status.inode}, kShareDelete,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) != ERROR_SUCCESS) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    if (::rmdir(host.c_str()) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    return TRUE;
}

BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
    std::string host;
    FileTimes status;
    DWORD error = Lookup(lpFileName, host, status);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (status.directory || status.readOnly) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    // Deleting opens the file for DELETE access, sharing everything.
    if (CheckSharing({status.device, status.inode}, kShareDelete,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) != ERROR_SUCCESS) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    ForgetCreationTime(host);
    if (::unlink(host.c_str()) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    return TRUE;
}

BOOL WINAPI MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
    if (!lpNewFileName || (dwFlags & MOVEFILE_DELAY_UNTIL_REBOOT)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::string from, to;
    FileTimes source, target;
    DWORD error = Lookup(lpExistingFileName, from, source);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    DWORD mapped = MapPath(lpNewFileName, to);
    if (mapped != ERROR_SUCCESS) {
        return Fail(mapped);
    }
    if (CheckSharing({source.device, source.inode}, kShareDelete,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) != ERROR_SUCCESS) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    const bool sameFile = ReadFileTimes(-1, to, target) && target.device == source.device &&
                          target.inode == source.inode;
    if (sameFile) {
        // Another spelling of the same name: only the letter case changes.
        to = (std::filesystem::path(to).parent_path() / LastComponent(lpNewFileName)).string();
    } else if (ReadFileTimes(-1, to, target)) {
        if (!(dwFlags & MOVEFILE_REPLACE_EXISTING)) {
            return Fail(ERROR_ALREADY_EXISTS);
        }
        // A folder, a read-only file or a file that is open cannot be replaced.
        if (target.directory || source.directory || target.readOnly ||
            IsFileOpen({target.device, target.inode})) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        ForgetCreationTime(to);
    }
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        if (errno != EXDEV) {
            return Fail(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                            : ErrorFromErrno(errno));
        }
        if (!(dwFlags & MOVEFILE_COPY_ALLOWED) || source.directory) {
            return Fail(ERROR_NOT_SAME_DEVICE);
        }
        error = CopyContent(lpExistingFileName, lpNewFileName, false);
        if (error != ERROR_SUCCESS) {
            return Fail(error);
        }
        ForgetCreationTime(from);
        ::unlink(from.c_str());
    }
    if (dwFlags & MOVEFILE_WRITE_THROUGH) {
        ::sync();
    }
    return TRUE;
}

BOOL WINAPI CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
    std::string from;
    FileTimes source;
    DWORD error = Lookup(lpExistingFileName, from, source);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (source.directory) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    error = CopyContent(lpExistingFileName, lpNewFileName, bFailIfExists);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
}
