// Searching a folder: FindFirstFileW, FindNextFileW and FindClose with the wildcards * and ?. Names
// match ignoring case; a search lists its entries in the order of their upper-cased names, as NTFS
// does, taken when the search starts.
#include "src/core/file_paths.h"
#include "src/kernel32/file_times.h"
#include "src/core/wide_text.h"
#include "sim/utf.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <unordered_set>
#include <vector>

namespace fs = std::filesystem;
using namespace moltr::sim;

namespace {

struct Entry {
    std::u16string name;
    FileTimes status;
};

struct Search {
    std::vector<Entry> entries;
    size_t next = 0;
};

struct Searches {
    std::mutex lock;
    std::unordered_set<Search*> open;
};

Searches& TheSearches() {
    static Searches* searches = new Searches;
    return *searches;
}

bool Matches(std::u16string_view pattern, std::u16string_view name) {
    size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == u'?' || UpperChar(pattern[p]) == UpperChar(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

// "*.*" is the old way of writing "everything", names without a dot included.
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name) {
    return pattern == u"*.*" || Matches(pattern, name);
}

void Fill(const Entry& entry, WIN32_FIND_DATAW& data) {
    std::memset(&data, 0, sizeof(data));
    data.dwFileAttributes =
        entry.status.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (entry.status.readOnly) {
        data.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    }
    data.ftCreationTime = entry.status.creation;
    data.ftLastAccessTime = entry.status.access;
    data.ftLastWriteTime = entry.status.write;
    data.nFileSizeHigh = entry.status.directory ? 0 : static_cast<DWORD>(entry.status.size >> 32);
    data.nFileSizeLow = entry.status.directory ? 0 : static_cast<DWORD>(entry.status.size);
    size_t length = std::min<size_t>(entry.name.size(), MAX_PATH - 1);
    std::memcpy(data.cFileName, entry.name.data(), length * sizeof(WCHAR));
}

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

} // namespace

extern "C" {

HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
    std::u16string_view path = View(lpFileName);
    size_t slash = path.find_last_of(u"\\/");
    if (!lpFindFileData || slash == std::u16string_view::npos) {
        return Fail(slash == std::u16string_view::npos ? ERROR_PATH_NOT_FOUND
                                                       : ERROR_INVALID_PARAMETER);
    }
    std::u16string folder(path.substr(0, slash + 1));
    std::u16string_view pattern = path.substr(slash + 1);
    if (pattern.find_first_of(u"<>|\":") != std::u16string_view::npos) {
        return Fail(ERROR_INVALID_NAME);
    }
    std::string host;
    DWORD mapped = MapPath(W(folder), host);
    FileTimes status;
    if (mapped != ERROR_SUCCESS) {
        return Fail(mapped);
    }
    if (!ReadFileTimes(-1, host, status) || !status.directory) {
        return Fail(ERROR_PATH_NOT_FOUND);
    }
    if (pattern.empty()) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    auto search = std::make_unique<Search>();
    // Every folder but a drive's root lists itself and its parent first.
    if (folder.size() > 3) {
        for (const char16_t* dot : {u".", u".."}) {
            Entry entry{dot, {}};
            if (MatchesPattern(pattern, entry.name) &&
                ReadFileTimes(-1, (fs::path(host) / Utf8(dot)).string(), entry.status)) {
                search->entries.push_back(entry);
            }
        }
    }
    std::vector<Entry> found;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(host, ec)) {
        Entry entry{Utf16(item.path().filename().string()), {}};
        if (MatchesPattern(pattern, entry.name) &&
            ReadFileTimes(-1, item.path().string(), entry.status)) {
            found.push_back(std::move(entry));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Entry& a, const Entry& b) { return Upper(a.name) < Upper(b.name); });
    search->entries.insert(search->entries.end(), found.begin(), found.end());
    if (search->entries.empty()) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    Fill(search->entries[0], *lpFindFileData);
    search->next = 1;
    Searches& searches = TheSearches();
    std::lock_guard guard(searches.lock);
    Search* handle = search.release();
    searches.open.insert(handle);
    SetLastError(ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
    Searches& searches = TheSearches();
    std::lock_guard guard(searches.lock);
    auto* search = static_cast<Search*>(hFindFile);
    if (!searches.open.count(search)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!lpFindFileData) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    if (search->next >= search->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    Fill(search->entries[search->next++], *lpFindFileData);
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile) {
    Searches& searches = TheSearches();
    std::lock_guard guard(searches.lock);
    auto* search = static_cast<Search*>(hFindFile);
    if (!searches.open.erase(search)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete search;
    return TRUE;
}
}
