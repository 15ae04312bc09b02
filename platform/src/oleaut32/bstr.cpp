// BSTRs: length-prefixed UTF-16 strings. The allocation holds a 4-byte byte count, the text, and
// a NUL code unit; the BSTR points at the text, so it reads as a plain wide string too.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kPrefix = sizeof(DWORD);
// The byte count must fit the 32-bit prefix with the terminator and the prefix itself.
constexpr size_t kMaxBytes = 0xFFFFFFFFu - kPrefix - sizeof(WCHAR) - 1;

DWORD* PrefixOf(BSTR text) {
    return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(text) - kPrefix);
}

// A BSTR of `bytes` bytes, copied from `source` when there is one; the content is followed by
// a NUL code unit (and, for an odd byte count, a NUL byte before it).
BSTR AllocateBytes(const void* source, size_t bytes) {
    if (bytes > kMaxBytes) {
        return nullptr;
    }
    auto* block = static_cast<BYTE*>(std::malloc(kPrefix + bytes + sizeof(WCHAR) + 1));
    if (!block) {
        return nullptr;
    }
    const DWORD count = static_cast<DWORD>(bytes);
    std::memcpy(block, &count, kPrefix);
    BYTE* text = block + kPrefix;
    if (source) {
        std::memcpy(text, source, bytes);
    }
    std::memset(text + bytes, 0, sizeof(WCHAR) + 1);
    return reinterpret_cast<BSTR>(text);
}

} // namespace

extern "C" {

BSTR WINAPI SysAllocString(const OLECHAR* psz) {
    if (!psz) {
        return nullptr;
    }
    return AllocateBytes(psz, static_cast<size_t>(lstrlenW(psz)) * sizeof(WCHAR));
}

BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    return AllocateBytes(strIn, static_cast<size_t>(ui) * sizeof(WCHAR));
}

BSTR WINAPI SysAllocStringByteLen(LPCSTR psz, UINT len) {
    return AllocateBytes(psz, len);
}

INT WINAPI SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
    if (!pbstr) {
        return FALSE;
    }
    BSTR copy = SysAllocString(psz);
    if (psz && !copy) {
        return FALSE;
    }
    SysFreeString(*pbstr);
    *pbstr = copy;
    return TRUE;
}

void WINAPI SysFreeString(BSTR bstrString) {
    if (bstrString) {
        std::free(PrefixOf(bstrString));
    }
}

UINT WINAPI SysStringLen(BSTR pbstr) {
    return pbstr ? static_cast<UINT>(*PrefixOf(pbstr) / sizeof(WCHAR)) : 0;
}

UINT WINAPI SysStringByteLen(BSTR bstr) {
    return bstr ? static_cast<UINT>(*PrefixOf(bstr)) : 0;
}

} // extern "C"
