#pragma once
// Host stand-in for the visual styles header: the flags of EnableThemeDialogTexture, which the
// product looks up at run time in the theme library.
#include <windows.h>

#define ETDT_DISABLE 0x00000001
#define ETDT_ENABLE 0x00000002
#define ETDT_USETABTEXTURE 0x00000004
#define ETDT_ENABLETAB (ETDT_ENABLE | ETDT_USETABTEXTURE)
#define ETDT_USEAEROWIZARDTABTEXTURE 0x00000008
#define ETDT_ENABLEAEROWIZARDTAB (ETDT_ENABLE | ETDT_USEAEROWIZARDTABTEXTURE)
#define ETDT_VALIDBITS                                                                             \
    (ETDT_DISABLE | ETDT_ENABLE | ETDT_USETABTEXTURE | ETDT_USEAEROWIZARDTABTEXTURE)

extern "C" {
HRESULT WINAPI EnableThemeDialogTexture(HWND hwnd, DWORD dwFlags);
BOOL WINAPI IsThemeActive();
BOOL WINAPI IsAppThemed();
}
