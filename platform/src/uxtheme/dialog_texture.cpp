// UXTHEME.DLL: the visual-styles calls dialogs make. The simulated desktop always shows styles;
// a dialog's texture request is kept per window.
#include "sim/themes.h"

#include <windows.h>
#include <uxtheme.h>
#include <map>
#include <mutex>

namespace moltr::platform {
namespace {

struct Textures {
    std::mutex lock;
    std::map<HWND, DWORD> flags;
};

Textures& TheTextures() {
    static Textures textures;
    return textures;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

namespace moltr::sim {

DWORD DialogTexture(HWND window) {
    Textures& textures = TheTextures();
    std::lock_guard guard(textures.lock);
    const auto found = textures.flags.find(window);
    // A destroyed window keeps no texture.
    return found != textures.flags.end() && IsWindow(window) ? found->second : 0;
}

} // namespace moltr::sim

extern "C" {

HRESULT WINAPI EnableThemeDialogTexture(HWND hwnd, DWORD dwFlags) {
    if ((dwFlags & ~static_cast<DWORD>(ETDT_VALIDBITS)) != 0 ||
        (dwFlags & (ETDT_DISABLE | ETDT_ENABLE)) == (ETDT_DISABLE | ETDT_ENABLE)) {
        return E_INVALIDARG;
    }
    if (!IsWindow(hwnd)) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    }
    Textures& textures = TheTextures();
    std::lock_guard guard(textures.lock);
    textures.flags[hwnd] = dwFlags;
    return S_OK;
}

BOOL WINAPI IsThemeActive() {
    return TRUE;
}

BOOL WINAPI IsAppThemed() {
    return TRUE;
}
}
