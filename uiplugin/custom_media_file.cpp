#include "uiplugin/custom_media_file.h"

#include <string>
#include "uiplugin/custom_media_gpd_writer.h"
#include "uiplugin/custom_media_ppd_writer.h"

namespace moltr::uiplugin {
namespace {

// The path's extension from its last ".", compared ignoring case.
bool HasExtension(LPCWSTR path, LPCWSTR extension) {
    LPCWSTR dot = nullptr;
    for (LPCWSTR at = path; *at; ++at) {
        if (*at == L'.') {
            dot = at;
        }
    }
    return dot && lstrcmpiW(dot, extension) == 0;
}

} // namespace

HRESULT WriteCustomMediaFile(LPCWSTR path, const std::vector<CustomMedium>& media,
                             const common::FileRetries& retries) {
    const bool gpd = HasExtension(path, L".GPD");
    if (!gpd && !HasExtension(path, L".PPD")) {
        return S_FALSE;
    }
    std::unique_ptr<char[]> text;
    DWORD length = 0;
    HRESULT result = common::ReadDataFile(path, &text, &length, retries);
    if (FAILED(result)) {
        return result;
    }
    const std::string_view old(text.get(), length);
    std::string written;
    const bool tagged = gpd ? WriteGpdCustomMedia(old, media, ReadMasterUnits(old), &written)
                            : WritePpdCustomMedia(old, media, &written);
    if (!tagged) {
        return S_FALSE;
    }
    return common::ReplaceDataFile(path, written.data(), static_cast<DWORD>(written.size()),
                                   retries);
}

} // namespace moltr::uiplugin
