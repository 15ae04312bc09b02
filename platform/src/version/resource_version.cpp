// Version information: the VS_VERSIONINFO resource of a module file and the queries into it. The
// resource is a tree of blocks, each {length, value length, type, key, value, children} with the
// value and every child DWORD-aligned; a text value's length counts characters.
#include "src/kernel32/resource_lookup.h"
#include "sim/utf.h"

#include <windows.h>
#include <algorithm>
#include <cstring>

using namespace moltr::platform;

namespace {

constexpr size_t kBlockHeader = 3 * sizeof(WORD);

struct Block {
    const BYTE* start = nullptr;
    size_t length = 0;
    std::u16string_view key;
    const BYTE* value = nullptr;
    UINT valueLength = 0;
    size_t children = 0; // offset of the first child from start
};

// Reads the block at `start`, which has `room` bytes before its parent ends.
bool ReadBlock(const BYTE* start, size_t room, Block& block) {
    if (room < kBlockHeader) {
        return false;
    }
    block.start = start;
    block.length = ReadWord(start);
    const WORD valueLength = ReadWord(start + 2);
    const bool text = ReadWord(start + 4) == 1;
    if (block.length < kBlockHeader || block.length > room) {
        return false;
    }
    size_t at = kBlockHeader;
    const size_t keyStart = at;
    while (at + 2 <= block.length && ReadWord(start + at) != 0) {
        at += 2;
    }
    if (at + 2 > block.length) {
        return false;
    }
    block.key = std::u16string_view(reinterpret_cast<const char16_t*>(start + keyStart),
                                    (at - keyStart) / 2);
    at = AlignDword(at + 2);
    const size_t valueBytes = text ? valueLength * sizeof(WCHAR) : valueLength;
    if (valueLength && at + valueBytes > block.length) {
        return false;
    }
    block.value = start + std::min(at, block.length);
    block.valueLength = valueLength;
    block.children = std::min(AlignDword(at + valueBytes), block.length);
    return true;
}

// Whether `key` names the same block as `wanted`, ignoring case.
bool SameKey(std::u16string_view key, std::u16string_view wanted) {
    return UpperName(key) == UpperName(wanted);
}

// The module holding `fileName`'s resources, loaded as a data file for the caller to free.
HMODULE OpenVersionSource(LPCWSTR fileName, DWORD& error) {
    HMODULE module =
        fileName ? LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_AS_DATAFILE) : nullptr;
    error = fileName ? GetLastError() : ERROR_INVALID_PARAMETER;
    return module;
}

const ResourceEntry* VersionResource(HMODULE module, DWORD& error) {
    const ResourceEntry* entry = FindResourceEntry(
        module, RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), LANG_NEUTRAL, error);
    Block root;
    if (entry && !ReadBlock(entry->data, entry->size, root)) {
        error = ERROR_RESOURCE_DATA_NOT_FOUND;
        entry = nullptr;
    }
    return entry;
}

} // namespace

extern "C" {

DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR lptstrFilename, LPDWORD lpdwHandle) {
    if (lpdwHandle) {
        *lpdwHandle = 0;
    }
    DWORD error = ERROR_SUCCESS;
    HMODULE module = OpenVersionSource(lptstrFilename, error);
    const ResourceEntry* entry = module ? VersionResource(module, error) : nullptr;
    const DWORD size = entry ? entry->size : 0;
    if (module) {
        FreeLibrary(module);
    }
    if (!entry) {
        SetLastError(error);
    }
    return size;
}

BOOL WINAPI GetFileVersionInfoW(LPCWSTR lptstrFilename, DWORD, DWORD dwLen, LPVOID lpData) {
    if (!lpData || dwLen < kBlockHeader) {
        SetLastError(lpData ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD error = ERROR_SUCCESS;
    HMODULE module = OpenVersionSource(lptstrFilename, error);
    const ResourceEntry* entry = module ? VersionResource(module, error) : nullptr;
    if (entry) {
        const DWORD copied = std::min(dwLen, entry->size);
        std::memcpy(lpData, entry->data, copied);
        // A cut copy says so in its root length, so that queries stay inside the buffer.
        if (copied < ReadWord(entry->data)) {
            const WORD rootLength = static_cast<WORD>(copied);
            std::memcpy(lpData, &rootLength, sizeof rootLength);
        }
    }
    if (module) {
        FreeLibrary(module);
    }
    if (!entry) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI VerQueryValueW(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen) {
    if (lplpBuffer) {
        *lplpBuffer = nullptr;
    }
    if (puLen) {
        *puLen = 0;
    }
    if (!pBlock || !lpSubBlock || !lplpBuffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const BYTE* start = static_cast<const BYTE*>(pBlock);
    Block block;
    bool found = ReadBlock(start, ReadWord(start), block);
    std::u16string_view path = moltr::sim::View(lpSubBlock);
    while (found && !path.empty()) {
        const size_t skip = path.find_first_not_of(u'\\');
        path.remove_prefix(std::min(skip, path.size()));
        if (path.empty()) {
            break;
        }
        const std::u16string_view wanted = path.substr(0, path.find(u'\\'));
        path.remove_prefix(wanted.size());
        found = false;
        for (size_t at = block.children; at < block.length;) {
            Block child;
            if (!ReadBlock(block.start + at, block.length - at, child)) {
                break;
            }
            if (SameKey(child.key, wanted)) {
                block = child;
                found = true;
                break;
            }
            at = AlignDword(at + child.length);
        }
    }
    if (!found) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    *lplpBuffer = const_cast<BYTE*>(block.value);
    if (puLen) {
        *puLen = block.valueLength;
    }
    return TRUE;
}
}
