#include "common/data_file.h"

#include <new>

namespace moltr::common {
namespace {

template <class Open> HANDLE OpenWithRetries(const FileRetries& retries, Open open) {
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < retries.tries; ++attempt) {
        if (attempt > 0) {
            Sleep(retries.pause);
        }
        file = open();
        if (file != INVALID_HANDLE_VALUE) {
            break;
        }
    }
    return file;
}

bool WriteAll(HANDLE file, const char* text, DWORD length) {
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(file, text, length, &written, nullptr) || written == 0) {
            return false;
        }
        text += written;
        length -= written;
    }
    return FlushFileBuffers(file) != FALSE;
}

// Creates or truncates `path` for writing, as the description file is written, and writes `text`.
bool WriteNewFile(LPCWSTR path, const char* text, DWORD length, const FileRetries& retries) {
    HANDLE file = OpenWithRetries(retries, [&] {
        return CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    });
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool written = WriteAll(file, text, length);
    CloseHandle(file);
    return written;
}

// The folder part of `path` with its trailing separator; false when it has none or is too long.
bool FolderOf(LPCWSTR path, WCHAR (&folder)[MAX_PATH]) {
    int length = lstrlenW(path);
    int end = length;
    while (end > 0 && path[end - 1] != L'\\' && path[end - 1] != L'/') {
        --end;
    }
    if (end == 0 || end >= MAX_PATH) {
        return false;
    }
    lstrcpynW(folder, path, end + 1);
    return true;
}

} // namespace

HRESULT ReadDataFile(LPCWSTR path, std::unique_ptr<char[]>* text, DWORD* length,
                     const FileRetries& retries) {
    HANDLE file = OpenWithRetries(retries, [&] {
        return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    });
    if (file == INVALID_HANDLE_VALUE) {
        return E_FAIL;
    }
    HRESULT result = E_FAIL;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    if (size != INVALID_FILE_SIZE && high == 0 && size > 0 && size < 0x7FFFFFFF) {
        std::unique_ptr<char[]> buffer(new (std::nothrow) char[size + 1]);
        DWORD done = 0;
        while (buffer && done < size) {
            DWORD read = 0;
            if (!ReadFile(file, buffer.get() + done, size - done, &read, nullptr) || read == 0) {
                break;
            }
            done += read;
        }
        if (!buffer) {
            result = E_OUTOFMEMORY;
        } else if (done == size) {
            buffer[size] = '\0';
            *text = std::move(buffer);
            *length = size;
            result = S_OK;
        }
    }
    CloseHandle(file);
    return result;
}

HRESULT ReplaceDataFile(LPCWSTR path, const char* text, DWORD length, const FileRetries& retries) {
    WCHAR folder[MAX_PATH];
    WCHAR temporary[MAX_PATH];
    if (!FolderOf(path, folder) || GetTempFileNameW(folder, L"MOL", 0, temporary) == 0) {
        return E_FAIL;
    }
    // The whole text must reach the disk before the file is touched at all.
    bool replaced = WriteNewFile(temporary, text, length, retries) &&
                    (MoveFileExW(temporary, path,
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE ||
                     WriteNewFile(path, text, length, retries));
    DeleteFileW(temporary); // nothing left to delete after a move
    return replaced ? S_OK : E_FAIL;
}

} // namespace moltr::common
