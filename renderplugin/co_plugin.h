#pragma once
// CoPlugin: the render plug-in object that the universal driver's renderer drives through
// IPrintOemUni3. A generic shell: each method offers the call to its PluginHooks entry first.
#include <windows.h>
#include "common/drv_settings.h"
#include "common/resources.h"
#include "plugin_hooks.h"
#include "prcomoem.h"

namespace moltr::render {

// {6D6ABF26-9F38-11D1-882A-00C04FB961EC}
inline constexpr CLSID CLSID_MoltrRenderPlugin = {
    0x6d6abf26, 0x9f38, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};

class CoPlugin final : public IPrintOemUni3 {
public:
    CoPlugin();
    CoPlugin(const CoPlugin&) = delete;
    CoPlugin& operator=(const CoPlugin&) = delete;

    // The settings object, once a DevMode call has made it.
    common::IDrvSettings* settings() const { return settings_; }

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(GetInfo)(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override;
    STDMETHOD(DevMode)(DWORD mode, POEMDMPARAM param) override;

    STDMETHOD(EnableDriver)(DWORD driverVersion, DWORD size, PDRVENABLEDATA table) override;
    STDMETHOD(DisableDriver)() override;
    STDMETHOD(EnablePDEV)
    (PDEVOBJ devobj, PWSTR printerName, ULONG patterns, HSURF* patternSurfaces, ULONG gdiSize,
     GDIINFO* gdiInfo, ULONG devSize, DEVINFO* devInfo, DRVENABLEDATA* driverTable,
     PDEVOEM* pdev) override;
    STDMETHOD(DisablePDEV)(PDEVOBJ devobj) override;
    STDMETHOD(ResetPDEV)(PDEVOBJ oldDevobj, PDEVOBJ newDevobj) override;

    STDMETHOD(PublishDriverInterface)(IUnknown* driver) override;
    STDMETHOD(GetImplementedMethod)(PSTR methodName) override;
    STDMETHOD(DriverDMS)(PVOID devobj, PVOID buffer, DWORD size, PDWORD needed) override;
    STDMETHOD(CommandCallback)
    (PDEVOBJ devobj, DWORD id, DWORD count, PDWORD params, INT* result) override;
    STDMETHOD(ImageProcessing)
    (PDEVOBJ devobj, PBYTE bitmap, PBITMAPINFOHEADER header, PBYTE colorTable, DWORD id,
     PIPPARAMS params, PBYTE* result) override;
    STDMETHOD(FilterGraphics)(PDEVOBJ devobj, PBYTE buffer, DWORD length) override;
    STDMETHOD(Compression)
    (PDEVOBJ devobj, PBYTE in, PBYTE out, DWORD inLength, DWORD outLength, INT* result) override;
    STDMETHOD(HalftonePattern)
    (PDEVOBJ devobj, PBYTE pattern, DWORD width, DWORD height, DWORD count, DWORD id,
     PBYTE resource, DWORD resourceSize) override;
    STDMETHOD(MemoryUsage)(PDEVOBJ devobj, POEMMEMORYUSAGE usage) override;
    STDMETHOD(TTYGetInfo)
    (PDEVOBJ devobj, DWORD index, PVOID buffer, DWORD size, DWORD* needed) override;
    STDMETHOD(DownloadFontHeader)(PDEVOBJ devobj, PUNIFONTOBJ font, DWORD* result) override;
    STDMETHOD(DownloadCharGlyph)
    (PDEVOBJ devobj, PUNIFONTOBJ font, HGLYPH glyph, PDWORD width, DWORD* result) override;
    STDMETHOD(TTDownloadMethod)(PDEVOBJ devobj, PUNIFONTOBJ font, DWORD* result) override;
    STDMETHOD(OutputCharStr)
    (PDEVOBJ devobj, PUNIFONTOBJ font, DWORD type, DWORD count, PVOID glyphs) override;
    STDMETHOD(SendFontCmd)(PDEVOBJ devobj, PUNIFONTOBJ font, PFINVOCATION invocation) override;
    STDMETHOD(TextOutAsBitmap)
    (SURFOBJ* surface, STROBJ* text, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra, RECTL* opaque,
     BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* origin, MIX mix) override;

    STDMETHOD(WritePrinter)(PDEVOBJ devobj, PVOID buffer, DWORD size, PDWORD written) override;
    STDMETHOD(GetPDEVAdjustment)
    (PDEVOBJ devobj, DWORD type, PVOID buffer, DWORD size, BOOL* done) override;
    STDMETHOD(DownloadPattern)
    (PDEVOBJ devobj, PBYTE buffer, DWORD id, DWORD size) override;

private:
    ~CoPlugin();

    HRESULT DefaultDevMode(DWORD mode, POEMDMPARAM param);
    bool AtDeviceLevel() const { return level_ == 1; }

    LONG references_ = 1;
    DWORD level_ = 0;
    // 0: the PDL type comes from the private devmode's _PDLTYPE.
    DWORD fixedPdlType_ = 0;
    PluginHooks hooks_;
    IPrintOemDriverUni* driver_ = nullptr;
    common::IDrvSettings* settings_ = nullptr;
    common::IDrvResources* resources_ = nullptr;
};

} // namespace moltr::render
