#include "uiplugin/devmode_override.h"

namespace moltr::ui {
namespace {

// United States English: the one locale whose default paper is Letter.
constexpr LCID kUnitedStatesLocale = 1033;

} // namespace

HRESULT OverrideDevMode(DWORD mode, POEMDMPARAM param) {
    if (mode != OEMDM_DEFAULT) {
        return E_NOTIMPL;
    }
    DEVMODEW* devmode = param->pPublicDMOut;
    if (devmode == nullptr) {
        return E_PENDING;
    }
    short paper = GetSystemDefaultLCID() == kUnitedStatesLocale ? DMPAPER_LETTER : DMPAPER_A4;
    if (devmode->dmPaperSize != paper) {
        devmode->dmPaperSize = paper;
        devmode->dmFields |= DM_PAPERSIZE;
    }
    devmode->dmTTOption = DMTT_DOWNLOAD;
    devmode->dmFields |= DM_TTOPTION;
    return E_PENDING;
}

} // namespace moltr::ui
