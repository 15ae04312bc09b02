#include "common/plugin_info.h"

#include "prcomoem.h"

namespace moltr::common {
namespace {

// The signature DWORD: the first four characters of the record signature in memory order.
constexpr DWORD kSignature = 'M' | ('O' << 8) | ('L' << 16) | ('T' << 24);
constexpr DWORD kVersion = 0x100;

} // namespace

HRESULT AnswerPluginInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    if (needed == nullptr || (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION)) {
        return E_INVALIDARG;
    }
    if (buffer == nullptr || size < sizeof(DWORD)) {
        *needed = sizeof(DWORD);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    *static_cast<DWORD*>(buffer) = mode == OEMGI_GETSIGNATURE ? kSignature : kVersion;
    return S_OK;
}

} // namespace moltr::common
