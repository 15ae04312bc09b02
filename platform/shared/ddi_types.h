#pragma once
// The GDI device-driver interface as a printer graphics DLL sees it: the engine's objects handed
// to the Drv functions (surfaces, brushes, clipping, colour translation, strings, fonts, paths),
// the device description returned by DrvEnablePDEV (GDIINFO, DEVINFO), the function table of
// DrvEnableDriver, the Drv function types and the engine services the render plug-in calls.
// The same declarations serve both builds: the SDK's own DDI header cannot be used on Windows,
// as it needs the DirectDraw driver headers.
#include <windows.h>

typedef DWORD FLONG;
typedef LONG FIX;
typedef FIX* PFIX;
typedef ULONG ROP4;
typedef ULONG MIX;
typedef ULONG HGLYPH;
typedef HGLYPH* PHGLYPH;
typedef ULONG IDENT;
typedef LONG LDECI4;
typedef FLOAT FLOATL;
typedef LONG_PTR(APIENTRY* PFN)();

DECLARE_HANDLE(HSURF);
DECLARE_HANDLE(DHSURF);
DECLARE_HANDLE(DHPDEV);
DECLARE_HANDLE(HDEV);

#define HGLYPH_INVALID ((HGLYPH)-1)

// Driver versions for DRVENABLEDATA.iDriverVersion.
#define DDI_DRIVER_VERSION_NT4 0x00020000
#define DDI_DRIVER_VERSION_SP3 0x00020003
#define DDI_DRIVER_VERSION_NT5 0x00030000
#define DDI_DRIVER_VERSION_NT5_01 0x00030100

// Function indices of the DRVFN table.
#define INDEX_DrvEnablePDEV 0
#define INDEX_DrvCompletePDEV 1
#define INDEX_DrvDisablePDEV 2
#define INDEX_DrvEnableSurface 3
#define INDEX_DrvDisableSurface 4
#define INDEX_DrvAssertMode 5
#define INDEX_DrvOffset 6
#define INDEX_DrvResetPDEV 7
#define INDEX_DrvDisableDriver 8
#define INDEX_DrvCreateDeviceBitmap 10
#define INDEX_DrvDeleteDeviceBitmap 11
#define INDEX_DrvRealizeBrush 12
#define INDEX_DrvDitherColor 13
#define INDEX_DrvStrokePath 14
#define INDEX_DrvFillPath 15
#define INDEX_DrvStrokeAndFillPath 16
#define INDEX_DrvPaint 17
#define INDEX_DrvBitBlt 18
#define INDEX_DrvCopyBits 19
#define INDEX_DrvStretchBlt 20
#define INDEX_DrvSetPalette 22
#define INDEX_DrvTextOut 23
#define INDEX_DrvEscape 24
#define INDEX_DrvDrawEscape 25
#define INDEX_DrvQueryFont 26
#define INDEX_DrvQueryFontTree 27
#define INDEX_DrvQueryFontData 28
#define INDEX_DrvSetPointerShape 29
#define INDEX_DrvMovePointer 30
#define INDEX_DrvLineTo 31
#define INDEX_DrvSendPage 32
#define INDEX_DrvStartPage 33
#define INDEX_DrvEndDoc 34
#define INDEX_DrvStartDoc 35
#define INDEX_DrvGetGlyphMode 37
#define INDEX_DrvSynchronize 38
#define INDEX_DrvSaveScreenBits 40
#define INDEX_DrvGetModes 41
#define INDEX_DrvFree 42
#define INDEX_DrvDestroyFont 43
#define INDEX_DrvQueryFontCaps 44
#define INDEX_DrvLoadFontFile 45
#define INDEX_DrvUnloadFontFile 46
#define INDEX_DrvFontManagement 47
#define INDEX_DrvQueryTrueTypeTable 48
#define INDEX_DrvQueryTrueTypeOutline 49
#define INDEX_DrvGetTrueTypeFile 50
#define INDEX_DrvQueryFontFile 51
#define INDEX_DrvMovePanning 52
#define INDEX_DrvQueryAdvanceWidths 53
#define INDEX_DrvSetPixelFormat 54
#define INDEX_DrvDescribePixelFormat 55
#define INDEX_DrvSwapBuffers 56
#define INDEX_DrvStartBanding 57
#define INDEX_DrvNextBand 58
#define INDEX_DrvGetDirectDrawInfo 59
#define INDEX_DrvEnableDirectDraw 60
#define INDEX_DrvDisableDirectDraw 61
#define INDEX_DrvQuerySpoolType 62
#define INDEX_DrvIcmCreateColorTransform 64
#define INDEX_DrvIcmDeleteColorTransform 65
#define INDEX_DrvIcmCheckBitmapBits 66
#define INDEX_DrvIcmSetDeviceGammaRamp 67
#define INDEX_DrvGradientFill 68
#define INDEX_DrvStretchBltROP 69
#define INDEX_DrvPlgBlt 70
#define INDEX_DrvAlphaBlend 71
#define INDEX_DrvSynthesizeFont 72
#define INDEX_DrvGetSynthesizedFontFiles 73
#define INDEX_DrvTransparentBlt 74
#define INDEX_DrvQueryPerBandInfo 75
#define INDEX_DrvQueryDeviceSupport 76

// Surfaces.
#define STYPE_BITMAP 0
#define STYPE_DEVICE 1
#define STYPE_DEVBITMAP 3
#define BMF_1BPP 1
#define BMF_4BPP 2
#define BMF_8BPP 3
#define BMF_16BPP 4
#define BMF_24BPP 5
#define BMF_32BPP 6
#define BMF_4RLE 7
#define BMF_8RLE 8
#define BMF_JPEG 9
#define BMF_PNG 10
#define BMF_TOPDOWN 0x0001
#define BMF_NOZEROINIT 0x0002
#define BMF_DONTCACHE 0x0004
#define BMF_USERMEM 0x0008
#define BMF_KMSECTION 0x0010
#define BMF_NOTSYSMEM 0x0020
#define BMF_WINDOW_BLT 0x0040

// Clipping.
#define DC_TRIVIAL 0
#define DC_RECT 1
#define DC_COMPLEX 3
#define FC_RECT 1
#define FC_RECT4 2
#define FC_COMPLEX 3
#define TC_RECTANGLES 4
#define TC_PATHOBJ 2
#define OC_BANK_CLIP 1
#define CT_RECTANGLES 0
#define CD_RIGHTDOWN 0
#define CD_LEFTDOWN 1
#define CD_RIGHTUP 2
#define CD_LEFTUP 3
#define CD_ANY 4

// Brushes and colour translation.
#define BR_DEVICE_ICM 0x01
#define BR_HOST_ICM 0x02
#define BR_CMYKCOLOR 0x04
#define BR_ORIGCOLOR 0x08
#define XO_TRIVIAL 0x00000001
#define XO_TABLE 0x00000002
#define XO_TO_MONO 0x00000004
#define XO_FROM_CMYK 0x00000008
#define XO_DEVICE_ICM 0x00000010
#define XO_HOST_ICM 0x00000020
#define PAL_INDEXED 0x00000001
#define PAL_BITFIELDS 0x00000002
#define PAL_RGB 0x00000004
#define PAL_BGR 0x00000008
#define PAL_CMYK 0x00000010

// Strings and fonts.
#define SO_FLAG_DEFAULT_PLACEMENT 0x00000001
#define SO_HORIZONTAL 0x00000002
#define SO_VERTICAL 0x00000004
#define SO_REVERSED 0x00000008
#define SO_ZERO_BEARINGS 0x00000010
#define SO_CHAR_INC_EQUAL_BM_BASE 0x00000020
#define SO_MAXEXT_EQUAL_BM_SIDE 0x00000040
#define SO_DO_NOT_SUBSTITUTE_DEVICE_FONT 0x00000080
#define SO_GLYPHINDEX_TEXTOUT 0x00000100
#define SO_ESC_NOT_ORIENT 0x00000200
#define SO_DXDY 0x00000400
#define SO_CHARACTER_EXTRA 0x00000800
#define SO_BREAK_EXTRA 0x00001000
#define FO_TYPE_RASTER RASTER_FONTTYPE
#define FO_TYPE_DEVICE DEVICE_FONTTYPE
#define FO_TYPE_TRUETYPE TRUETYPE_FONTTYPE
#define FO_TYPE_OPENTYPE 0x00000008
#define FO_SIM_BOLD 0x00002000
#define FO_SIM_ITALIC 0x00004000
#define FO_EM_HEIGHT 0x00008000
#define FO_GRAY16 0x00010000
#define FO_NOGRAY16 0x00020000
#define FO_NOHINTS 0x00040000
#define FO_NO_CHOICE 0x00080000
#define FO_HGLYPHS 0
#define FO_GLYPHBITS 1
#define FO_PATHOBJ 2

// Lines and paths.
#define LA_GEOMETRIC 0x00000001
#define LA_ALTERNATE 0x00000002
#define LA_STARTGAP 0x00000004
#define LA_STYLED 0x00000008
#define JOIN_ROUND 0
#define JOIN_BEVEL 1
#define JOIN_MITER 2
#define ENDCAP_ROUND 0
#define ENDCAP_SQUARE 1
#define ENDCAP_BUTT 2
#define PD_BEGINSUBPATH 0x00000001
#define PD_ENDSUBPATH 0x00000002
#define PD_RESETSTYLE 0x00000004
#define PD_CLOSEFIGURE 0x00000008
#define PD_BEZIERS 0x00000010
#define PO_BEZIERS 0x00000001
#define PO_ELLIPSE 0x00000002
#define PO_ALL_INTEGERS 0x00000004
#define PO_ENUM_AS_INTEGERS 0x00000008
#define FP_ALTERNATEMODE 1
#define FP_WINDINGMODE 2

// The end of a document (DrvEndDoc).
#define ED_ABORTDOC 0x00000001

#pragma pack(push, 8)

typedef union _FLOAT_LONG {
    FLOATL e;
    LONG l;
} FLOAT_LONG, *PFLOAT_LONG;

typedef struct _POINTFIX {
    FIX x;
    FIX y;
} POINTFIX, *PPOINTFIX;

typedef struct _RECTFX {
    FIX xLeft;
    FIX yTop;
    FIX xRight;
    FIX yBottom;
} RECTFX, *PRECTFX;

typedef struct _SURFOBJ {
    DHSURF dhsurf;
    HSURF hsurf;
    DHPDEV dhpdev;
    HDEV hdev;
    SIZEL sizlBitmap;
    ULONG cjBits;
    PVOID pvBits;
    PVOID pvScan0;
    LONG lDelta;
    ULONG iUniq;
    ULONG iBitmapFormat;
    USHORT iType;
    USHORT fjBitmap;
} SURFOBJ;

typedef struct _BRUSHOBJ {
    ULONG iSolidColor;
    PVOID pvRbrush;
    FLONG flColorType;
} BRUSHOBJ;

typedef struct _CLIPOBJ {
    ULONG iUniq;
    RECTL rclBounds;
    BYTE iDComplexity;
    BYTE iFComplexity;
    BYTE iMode;
    BYTE fjOptions;
} CLIPOBJ;

typedef struct _XLATEOBJ {
    ULONG iUniq;
    FLONG flXlate;
    USHORT iSrcType;
    USHORT iDstType;
    ULONG cEntries;
    ULONG* pulXlate;
} XLATEOBJ;

typedef struct _PATHOBJ {
    FLONG fl;
    ULONG cCurves;
} PATHOBJ;

typedef struct _GLYPHBITS {
    POINTL ptlOrigin;
    SIZEL sizlBitmap;
    BYTE aj[1];
} GLYPHBITS;

typedef union _GLYPHDEF {
    GLYPHBITS* pgb;
    PATHOBJ* ppo;
} GLYPHDEF;

typedef struct _GLYPHPOS {
    HGLYPH hg;
    GLYPHDEF* pgdf;
    POINTL ptl;
} GLYPHPOS, *PGLYPHPOS;

typedef struct _STROBJ {
    ULONG cGlyphs;
    FLONG flAccel;
    ULONG ulCharInc;
    RECTL rclBkGround;
    GLYPHPOS* pgp;
    LPWSTR pwszOrg;
} STROBJ;

typedef struct _FONTOBJ {
    ULONG iUniq;
    ULONG iFace;
    ULONG cxMax;
    FLONG flFontType;
    ULONG_PTR iTTUniq;
    ULONG_PTR iFile;
    SIZE sizLogResPpi;
    ULONG ulStyleSize;
    PVOID pvConsumer;
    PVOID pvProducer;
} FONTOBJ;

// The font's metrics block; only ever handed on by pointer here.
struct _IFIMETRICS;
typedef struct _IFIMETRICS IFIMETRICS;
typedef IFIMETRICS* PIFIMETRICS;

typedef struct _XFORMOBJ {
    ULONG ulReserved;
} XFORMOBJ;

typedef struct _XFORML {
    FLOATL eM11;
    FLOATL eM12;
    FLOATL eM21;
    FLOATL eM22;
    FLOATL eDx;
    FLOATL eDy;
} XFORML, *PXFORML;

typedef struct _LINEATTRS {
    FLONG fl;
    ULONG iJoin;
    ULONG iEndCap;
    FLOAT_LONG elWidth;
    FLOATL eMiterLimit;
    ULONG cstyle;
    PFLOAT_LONG pstyle;
    FLOAT_LONG elStyleState;
} LINEATTRS, *PLINEATTRS;

typedef struct _BLENDOBJ {
    BLENDFUNCTION BlendFunction;
} BLENDOBJ, *PBLENDOBJ;

typedef struct _CIECHROMA {
    LDECI4 x;
    LDECI4 y;
    LDECI4 Y;
} CIECHROMA;

typedef struct _COLORINFO {
    CIECHROMA Red;
    CIECHROMA Green;
    CIECHROMA Blue;
    CIECHROMA Cyan;
    CIECHROMA Magenta;
    CIECHROMA Yellow;
    CIECHROMA AlignmentWhite;
    LDECI4 RedGamma;
    LDECI4 GreenGamma;
    LDECI4 BlueGamma;
    LDECI4 MagentaInCyanDye;
    LDECI4 YellowInCyanDye;
    LDECI4 CyanInMagentaDye;
    LDECI4 YellowInMagentaDye;
    LDECI4 CyanInYellowDye;
    LDECI4 MagentaInYellowDye;
} COLORINFO, *PCOLORINFO;

typedef struct _GDIINFO {
    ULONG ulVersion;
    ULONG ulTechnology;
    ULONG ulHorzSize;
    ULONG ulVertSize;
    ULONG ulHorzRes;
    ULONG ulVertRes;
    ULONG cBitsPixel;
    ULONG cPlanes;
    ULONG ulNumColors;
    ULONG flRaster;
    ULONG ulLogPixelsX;
    ULONG ulLogPixelsY;
    ULONG flTextCaps;
    ULONG ulDACRed;
    ULONG ulDACGreen;
    ULONG ulDACBlue;
    ULONG ulAspectX;
    ULONG ulAspectY;
    ULONG ulAspectXY;
    LONG xStyleStep;
    LONG yStyleStep;
    LONG denStyleStep;
    POINTL ptlPhysOffset;
    SIZEL szlPhysSize;
    ULONG ulNumPalReg;
    COLORINFO ciDevice;
    ULONG ulDevicePelsDPI;
    ULONG ulPrimaryOrder;
    ULONG ulHTPatternSize;
    ULONG ulHTOutputFormat;
    ULONG flHTFlags;
    ULONG ulVRefresh;
    ULONG ulBltAlignment;
    ULONG ulPanningHorzRes;
    ULONG ulPanningVertRes;
    ULONG xPanningAlignment;
    ULONG yPanningAlignment;
    ULONG cxHTPat;
    ULONG cyHTPat;
    LPBYTE pHTPatA;
    LPBYTE pHTPatB;
    LPBYTE pHTPatC;
    ULONG flShadeBlend;
    ULONG ulPhysicalPixelCharacteristics;
    ULONG ulPhysicalPixelGamma;
} GDIINFO, *PGDIINFO;

typedef struct _DEVINFO {
    FLONG flGraphicsCaps;
    LOGFONTW lfDefaultFont;
    LOGFONTW lfAnsiVarFont;
    LOGFONTW lfAnsiFixFont;
    ULONG cFonts;
    ULONG iDitherFormat;
    USHORT cxDither;
    USHORT cyDither;
    HPALETTE hpalDefault;
    FLONG flGraphicsCaps2;
} DEVINFO, *PDEVINFO;

typedef struct _DRVFN {
    ULONG iFunc;
    PFN pfn;
} DRVFN, *PDRVFN;

typedef struct _DRVENABLEDATA {
    ULONG iDriverVersion;
    ULONG c;
    DRVFN* pdrvfn;
} DRVENABLEDATA, *PDRVENABLEDATA;

#pragma pack(pop)

// The Drv functions that the render plug-in hooks, as the function table holds them.
typedef BOOL(APIENTRY* PFN_DrvAlphaBlend)(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco,
                                          XLATEOBJ* pxlo, RECTL* prclDest, RECTL* prclSrc,
                                          BLENDOBJ* pBlendObj);
typedef BOOL(APIENTRY* PFN_DrvBitBlt)(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMask,
                                      CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclTrg, POINTL* pptlSrc,
                                      POINTL* pptlMask, BRUSHOBJ* pbo, POINTL* pptlBrush,
                                      ROP4 rop4);
typedef BOOL(APIENTRY* PFN_DrvCopyBits)(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco,
                                        XLATEOBJ* pxlo, RECTL* prclDest, POINTL* pptlSrc);
typedef HSURF(APIENTRY* PFN_DrvEnableSurface)(DHPDEV dhpdev);
typedef BOOL(APIENTRY* PFN_DrvEndDoc)(SURFOBJ* pso, FLONG fl);
typedef BOOL(APIENTRY* PFN_DrvFillPath)(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo,
                                        POINTL* pptlBrushOrg, MIX mix, FLONG flOptions);
typedef BOOL(APIENTRY* PFN_DrvGradientFill)(SURFOBJ* psoDest, CLIPOBJ* pco, XLATEOBJ* pxlo,
                                            TRIVERTEX* pVertex, ULONG nVertex, PVOID pMesh,
                                            ULONG nMesh, RECTL* prclExtents, POINTL* pptlDitherOrg,
                                            ULONG ulMode);
typedef ULONG(APIENTRY* PFN_DrvGetGlyphMode)(DHPDEV dhpdev, FONTOBJ* pfo);
typedef BOOL(APIENTRY* PFN_DrvLineTo)(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, LONG x1, LONG y1,
                                      LONG x2, LONG y2, RECTL* prclBounds, MIX mix);
typedef BOOL(APIENTRY* PFN_DrvNextBand)(SURFOBJ* pso, POINTL* pptl);
typedef BOOL(APIENTRY* PFN_DrvPaint)(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo,
                                     POINTL* pptlBrushOrg, MIX mix);
typedef BOOL(APIENTRY* PFN_DrvPlgBlt)(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMsk,
                                      CLIPOBJ* pco, XLATEOBJ* pxlo, COLORADJUSTMENT* pca,
                                      POINTL* pptlBrushOrg, POINTFIX* pptfx, RECTL* prcl,
                                      POINTL* pptl, ULONG iMode);
typedef BOOL(APIENTRY* PFN_DrvRealizeBrush)(BRUSHOBJ* pbo, SURFOBJ* psoTarget, SURFOBJ* psoPattern,
                                            SURFOBJ* psoMask, XLATEOBJ* pxlo, ULONG iHatch);
typedef BOOL(APIENTRY* PFN_DrvSendPage)(SURFOBJ* pso);
typedef BOOL(APIENTRY* PFN_DrvStartBanding)(SURFOBJ* pso, POINTL* pptl);
typedef BOOL(APIENTRY* PFN_DrvStartDoc)(SURFOBJ* pso, LPWSTR pwszDocName, DWORD dwJobId);
typedef BOOL(APIENTRY* PFN_DrvStartPage)(SURFOBJ* pso);
typedef BOOL(APIENTRY* PFN_DrvStretchBlt)(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask,
                                          CLIPOBJ* pco, XLATEOBJ* pxlo, COLORADJUSTMENT* pca,
                                          POINTL* pptlHTOrg, RECTL* prclDest, RECTL* prclSrc,
                                          POINTL* pptlMask, ULONG iMode);
typedef BOOL(APIENTRY* PFN_DrvStretchBltROP)(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask,
                                             CLIPOBJ* pco, XLATEOBJ* pxlo, COLORADJUSTMENT* pca,
                                             POINTL* pptlHTOrg, RECTL* prclDest, RECTL* prclSrc,
                                             POINTL* pptlMask, ULONG iMode, BRUSHOBJ* pbo,
                                             DWORD rop4);
typedef BOOL(APIENTRY* PFN_DrvStrokeAndFillPath)(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco,
                                                 XFORMOBJ* pxo, BRUSHOBJ* pboStroke,
                                                 LINEATTRS* plineattrs, BRUSHOBJ* pboFill,
                                                 POINTL* pptlBrushOrg, MIX mixFill,
                                                 FLONG flOptions);
typedef BOOL(APIENTRY* PFN_DrvStrokePath)(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo,
                                          BRUSHOBJ* pbo, POINTL* pptlBrushOrg,
                                          LINEATTRS* plineattrs, MIX mix);
typedef BOOL(APIENTRY* PFN_DrvTextOut)(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco,
                                       RECTL* prclExtra, RECTL* prclOpaque, BRUSHOBJ* pboFore,
                                       BRUSHOBJ* pboOpaque, POINTL* pptlOrg, MIX mix);
typedef BOOL(APIENTRY* PFN_DrvTransparentBlt)(SURFOBJ* psoDst, SURFOBJ* psoSrc, CLIPOBJ* pco,
                                              XLATEOBJ* pxlo, RECTL* prclDst, RECTL* prclSrc,
                                              ULONG iTransColor, ULONG ulReserved);
typedef HANDLE(APIENTRY* PFN_DrvIcmCreateColorTransform)(DHPDEV dhpdev,
                                                         LPLOGCOLORSPACEW pLogColorSpace,
                                                         PVOID pvSourceProfile,
                                                         ULONG cjSourceProfile, PVOID pvDestProfile,
                                                         ULONG cjDestProfile, PVOID pvTargetProfile,
                                                         ULONG cjTargetProfile, DWORD dwReserved);
typedef BOOL(APIENTRY* PFN_DrvIcmDeleteColorTransform)(DHPDEV dhpdev, HANDLE hcmXform);
typedef BOOL(APIENTRY* PFN_DrvIcmCheckBitmapBits)(DHPDEV dhpdev, HANDLE hColorTransform,
                                                  SURFOBJ* pso, PBYTE paResults);
typedef ULONG(APIENTRY* PFN_DrvEscape)(SURFOBJ* pso, ULONG iEsc, ULONG cjIn, PVOID pvIn,
                                       ULONG cjOut, PVOID pvOut);
typedef ULONG(APIENTRY* PFN_DrvDrawEscape)(SURFOBJ* pso, ULONG iEsc, CLIPOBJ* pco, RECTL* prcl,
                                           ULONG cjIn, PVOID pvIn);

extern "C" {
BOOL APIENTRY EngTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco, RECTL* prclExtra,
                         RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL* pptlOrg,
                         MIX mix);
}
