// Opening files (CreateFileW with its access, sharing and creation dispositions) and working on the
// open handle: reading, writing, the file pointer, size, end of file and times.
#include "src/kernel32/file_object.h"
#include "src/core/file_paths.h"
#include "src/kernel32/file_times.h"
#include "src/kernel32/last_error_results.h"
#include "src/kernel32/named_pipes.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace moltr::sim {
namespace {

DWORD SpecificAccess(DWORD desired) {
    DWORD access = desired & (0xFFFF | DELETE);
    if (desired & GENERIC_READ) {
        access |= FILE_GENERIC_READ;
    }
    if (desired & GENERIC_WRITE) {
        access |= FILE_GENERIC_WRITE;
    }
    if (desired & GENERIC_EXECUTE) {
        access |= FILE_GENERIC_EXECUTE;
    }
    if (desired & GENERIC_ALL) {
        access |= FILE_ALL_ACCESS;
    }
    return access & (0xFFFF | DELETE);
}

DWORD ShareClasses(DWORD access) {
    DWORD classes = 0;
    if (access & (FILE_READ_DATA | FILE_EXECUTE)) {
        classes |= kShareRead;
    }
    if (access & (FILE_WRITE_DATA | FILE_APPEND_DATA)) {
        classes |= kShareWrite;
    }
    if (access & DELETE) {
        classes |= kShareDelete;
    }
    return classes;
}

std::shared_ptr<FileObject> FileOf(HANDLE handle) {
    return LookupHandleAs<FileObject>(handle);
}

// Opens an existing file or folder after the checks Windows makes before it touches the file.
HANDLE OpenExisting(const std::string& host, const FileTimes& status, DWORD access, DWORD share,
                    DWORD disposition, DWORD flags) {
    const bool truncate = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (disposition == CREATE_NEW) {
        return Fail(ERROR_FILE_EXISTS);
    }
    if (status.directory && (!(flags & FILE_FLAG_BACKUP_SEMANTICS) || truncate)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    const bool writes = access & (FILE_WRITE_DATA | FILE_APPEND_DATA);
    if (status.readOnly && (writes || truncate || (flags & FILE_FLAG_DELETE_ON_CLOSE))) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    int mode = status.directory ? O_RDONLY | O_DIRECTORY : (writes || truncate) ? O_RDWR : O_RDONLY;
    int fd = ::open(host.c_str(), mode | O_CLOEXEC);
    if (fd < 0) {
        return Fail(ErrorFromErrno(errno));
    }
    FileTimes opened;
    if (!ReadFileTimes(fd, host, opened)) {
        ::close(fd);
        return Fail(ERROR_GEN_FAILURE);
    }
    auto file = std::make_shared<FileObject>(fd, host, access, status.directory);
    DWORD shared =
        file->share().Acquire({opened.device, opened.inode}, ShareClasses(access), share);
    if (shared != ERROR_SUCCESS) {
        return Fail(shared);
    }
    if (truncate && ::ftruncate(fd, 0) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    HANDLE handle = InsertHandle(file);
    if (!handle) {
        return Fail(ERROR_TOO_MANY_OPEN_FILES);
    }
    if (flags & FILE_FLAG_DELETE_ON_CLOSE) {
        file->DeleteOnClose();
    }
    SetLastError(disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS ? ERROR_ALREADY_EXISTS
                                                                            : ERROR_SUCCESS);
    return handle;
}

// Creates a new file; EEXIST (another creator won the race) is reported to the caller.
HANDLE CreateNew(const std::string& host, DWORD access, DWORD share, DWORD flags, int& error) {
    int fd = ::open(host.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return Fail(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                        : ErrorFromErrno(errno));
    }
    if (flags & FILE_ATTRIBUTE_READONLY) {
        ::fchmod(fd, 0444);
    }
    FileTimes created;
    ReadFileTimes(fd, host, created);
    auto file = std::make_shared<FileObject>(fd, host, access, false);
    DWORD shared =
        file->share().Acquire({created.device, created.inode}, ShareClasses(access), share);
    if (shared != ERROR_SUCCESS) {
        return Fail(shared);
    }
    HANDLE handle = InsertHandle(file);
    if (!handle) {
        return Fail(ERROR_TOO_MANY_OPEN_FILES);
    }
    if (flags & FILE_FLAG_DELETE_ON_CLOSE) {
        file->DeleteOnClose();
    }
    SetLastError(ERROR_SUCCESS);
    return handle;
}

BOOL Seek(HANDLE hFile, LONGLONG distance, DWORD method, ULONGLONG& position) {
    auto file = FileOf(hFile);
    if (!file || file->directory()) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    if (method > FILE_END) {
        return FailBool(ERROR_INVALID_PARAMETER);
    }
    LONGLONG base = 0;
    if (method == FILE_CURRENT) {
        base = ::lseek(file->fd(), 0, SEEK_CUR);
    } else if (method == FILE_END) {
        base = ::lseek(file->fd(), 0, SEEK_END);
    }
    if (base < 0 || (distance < 0 && base + distance < 0)) {
        return FailBool(ERROR_NEGATIVE_SEEK);
    }
    off_t result = ::lseek(file->fd(), base + distance, SEEK_SET);
    if (result < 0) {
        return FailBool(ErrorFromErrno(errno));
    }
    position = static_cast<ULONGLONG>(result);
    return TRUE;
}

bool Status(HANDLE hFile, FileTimes& times) {
    auto file = FileOf(hFile);
    if (!file) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (!ReadFileTimes(file->fd(), file->path(), times)) {
        SetLastError(ErrorFromErrno(errno));
        return false;
    }
    return true;
}

} // namespace

FileObject::FileObject(int fd, std::string path, DWORD access, bool directory)
    : fd_(fd), path_(std::move(path)), access_(access), directory_(directory) {}

FileObject::~FileObject() {
    share_.Release();
    if (deleteOnClose_) {
        ForgetCreationTime(path_);
        ::unlink(path_.c_str());
    }
    ::close(fd_);
}

DWORD FileObject::Read(void* buffer, DWORD size, DWORD& done, const ULONGLONG* offset) {
    done = 0;
    if (directory_ || !Allows(FILE_READ_DATA)) {
        return ERROR_ACCESS_DENIED;
    }
    if (offset && ::lseek(fd_, static_cast<off_t>(*offset), SEEK_SET) < 0) {
        return ErrorFromErrno(errno);
    }
    while (done < size) {
        ssize_t got = ::read(fd_, static_cast<char*>(buffer) + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return ERROR_READ_FAULT;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<DWORD>(got);
    }
    // At the end of the file a synchronous read succeeds with 0 bytes; an offset read reports it.
    return offset && done == 0 && size > 0 ? ERROR_HANDLE_EOF : ERROR_SUCCESS;
}

DWORD FileObject::Write(const void* buffer, DWORD size, DWORD& done, const ULONGLONG* offset) {
    done = 0;
    const bool appendOnly = Allows(FILE_APPEND_DATA) && !Allows(FILE_WRITE_DATA);
    if (directory_ || !(Allows(FILE_WRITE_DATA) || appendOnly)) {
        return ERROR_ACCESS_DENIED;
    }
    off_t moved = appendOnly ? ::lseek(fd_, 0, SEEK_END)
                  : offset   ? ::lseek(fd_, static_cast<off_t>(*offset), SEEK_SET)
                             : 0;
    if (moved < 0) {
        return ErrorFromErrno(errno);
    }
    while (done < size) {
        ssize_t put = ::write(fd_, static_cast<const char*>(buffer) + done, size - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return errno == ENOSPC ? ERROR_DISK_FULL : ERROR_WRITE_FAULT;
        }
        done += static_cast<DWORD>(put);
    }
    return ERROR_SUCCESS;
}

DWORD FileObject::Flush() {
    if (!Allows(FILE_WRITE_DATA) && !Allows(FILE_APPEND_DATA)) {
        return ERROR_ACCESS_DENIED;
    }
    return ::fsync(fd_) == 0 ? ERROR_SUCCESS : ErrorFromErrno(errno);
}

} // namespace moltr::sim

using namespace moltr::sim;

namespace {

// ReadFile and WriteFile alike: the count is cleared first and set after; an OVERLAPPED structure
// gives the offset (the calls stay synchronous) and receives the count as well.
template <typename Operation>
BOOL Transfer(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD transferred, LPOVERLAPPED overlapped,
              Operation operation) {
    if (transferred) {
        *transferred = 0;
    }
    auto stream = LookupHandleAs<StreamObject>(file);
    if (!stream) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    if (!buffer && size) {
        return FailBool(ERROR_NOACCESS);
    }
    ULONGLONG offset = 0;
    if (overlapped) {
        offset = (static_cast<ULONGLONG>(overlapped->OffsetHigh) << 32) | overlapped->Offset;
    }
    DWORD done = 0;
    DWORD error = operation(*stream, done, overlapped ? &offset : nullptr);
    if (transferred) {
        *transferred = done;
    }
    if (overlapped) {
        overlapped->InternalHigh = done;
    }
    return error == ERROR_SUCCESS ? TRUE : FailBool(error);
}

} // namespace

extern "C" {

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE) {
    if (moltr::platform::IsPipeName(lpFileName)) {
        return moltr::platform::OpenPipeClient(lpFileName, dwDesiredAccess,
                                               lpSecurityAttributes &&
                                                   lpSecurityAttributes->bInheritHandle);
    }
    const DWORD access = SpecificAccess(dwDesiredAccess);
    if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING ||
        (dwCreationDisposition == TRUNCATE_EXISTING && !(access & FILE_WRITE_DATA)) ||
        (dwShareMode & ~(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE))) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::string host;
    DWORD mapped = MapPath(lpFileName, host);
    if (mapped != ERROR_SUCCESS) {
        return Fail(mapped);
    }
    // A second round only when another process created the file between the check and the create.
    for (int round = 0; round < 2; ++round) {
        FileTimes status;
        if (ReadFileTimes(-1, host, status)) {
            return OpenExisting(host, status, access, dwShareMode, dwCreationDisposition,
                                dwFlagsAndAttributes);
        }
        if (dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING) {
            return Fail(MissingPathError(host));
        }
        int error = 0;
        HANDLE created = CreateNew(host, access, dwShareMode, dwFlagsAndAttributes, error);
        if (error != EEXIST) {
            return created;
        }
    }
    return Fail(ERROR_SHARING_VIOLATION);
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
    return Transfer(hFile, lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead, lpOverlapped,
                    [&](StreamObject& stream, DWORD& done, ULONGLONG* offset) {
                        return stream.Read(lpBuffer, nNumberOfBytesToRead, done, offset);
                    });
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    return Transfer(hFile, lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten, lpOverlapped,
                    [&](StreamObject& stream, DWORD& done, ULONGLONG* offset) {
                        return stream.Write(lpBuffer, nNumberOfBytesToWrite, done, offset);
                    });
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
    auto stream = LookupHandleAs<StreamObject>(hFile);
    if (!stream) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    DWORD error = stream->Flush();
    return error == ERROR_SUCCESS ? TRUE : FailBool(error);
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                            DWORD dwMoveMethod) {
    LONGLONG distance =
        lpDistanceToMoveHigh
            ? static_cast<LONGLONG>((static_cast<ULONGLONG>(*lpDistanceToMoveHigh) << 32) |
                                    static_cast<DWORD>(lDistanceToMove))
            : lDistanceToMove;
    ULONGLONG position = 0;
    if (!Seek(hFile, distance, dwMoveMethod, position)) {
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh) {
        *lpDistanceToMoveHigh = static_cast<LONG>(position >> 32);
    } else if (position > 0xFFFFFFFFULL) {
        // Without the high part the new position must fit into the result.
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    // A position whose low part equals the failure value is told apart by the last error.
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(position);
}

BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove,
                             PLARGE_INTEGER lpNewFilePointer, DWORD dwMoveMethod) {
    ULONGLONG position = 0;
    if (!Seek(hFile, liDistanceToMove.QuadPart, dwMoveMethod, position)) {
        return FALSE;
    }
    if (lpNewFilePointer) {
        lpNewFilePointer->QuadPart = static_cast<LONGLONG>(position);
    }
    return TRUE;
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
    auto file = FileOf(hFile);
    if (!file || file->directory()) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    if (!file->Allows(FILE_WRITE_DATA)) {
        return FailBool(ERROR_ACCESS_DENIED);
    }
    off_t position = ::lseek(file->fd(), 0, SEEK_CUR);
    if (position < 0 || ::ftruncate(file->fd(), position) != 0) {
        return FailBool(ErrorFromErrno(errno));
    }
    return TRUE;
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    FileTimes status;
    if (!Status(hFile, status)) {
        return INVALID_FILE_SIZE;
    }
    if (lpFileSizeHigh) {
        *lpFileSizeHigh = static_cast<DWORD>(status.size >> 32);
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(status.size);
}

BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
    FileTimes status;
    if (!Status(hFile, status)) {
        return FALSE;
    }
    if (!lpFileSize) {
        return FailBool(ERROR_NOACCESS);
    }
    lpFileSize->QuadPart = static_cast<LONGLONG>(status.size);
    return TRUE;
}

BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                        LPFILETIME lpLastWriteTime) {
    FileTimes status;
    if (!Status(hFile, status)) {
        return FALSE;
    }
    if (lpCreationTime) {
        *lpCreationTime = status.creation;
    }
    if (lpLastAccessTime) {
        *lpLastAccessTime = status.access;
    }
    if (lpLastWriteTime) {
        *lpLastWriteTime = status.write;
    }
    return TRUE;
}

BOOL WINAPI SetFileTime(HANDLE hFile, const FILETIME* lpCreationTime,
                        const FILETIME* lpLastAccessTime, const FILETIME* lpLastWriteTime) {
    auto file = FileOf(hFile);
    if (!file) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    if (!file->Allows(FILE_WRITE_ATTRIBUTES)) {
        return FailBool(ERROR_ACCESS_DENIED);
    }
    if (!WriteFileTimes(file->fd(), lpCreationTime, lpLastAccessTime, lpLastWriteTime)) {
        return FailBool(ErrorFromErrno(errno));
    }
    return TRUE;
}
}
