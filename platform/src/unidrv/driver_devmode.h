#pragma once
// The devmode as the universal driver lays it out, for its user interface and its renderer alike:
// the public DEVMODEW (dmSize bytes), then in its dmDriverExtra bytes the driver's own private
// part, and after it the plug-in's private part, which begins with its own size and signature.
// The UI plug-in and the render plug-in of one driver share that part (both answer the same
// signature), as the devmode an application gets from the UI is the one the job carries. The
// driver's public defaults come from the GPD's default options.
#include <windows.h>
#include <cstddef>
#include <vector>
#include "src/unidrv/gpd_model.h"

namespace moltr::unidrv {

// The page layout the driver imposes on the sheets itself: its pages-per-sheet choice (0 reads
// as 1) with its flags. The plug-in mirrors it from its own settings; nothing else reads it.
struct DriverLayout {
    WORD pagesPerSheet;
    WORD flags;
};
// Each sheet's pages framed by a border.
inline constexpr WORD kLayoutPageBorders = 0x0001;
// Two pages a side in booklet order.
inline constexpr WORD kLayoutBooklet = 0x0002;
// The printer is told to make one copy; the print processor replays each page instead.
inline constexpr WORD kLayoutProcessorCopies = 0x0004;

// The driver's own private part: its size and signature, its version, its page layout.
struct DriverPrivatePart {
    DWORD size;
    DWORD signature;
    DWORD version;
    DriverLayout layout;
};
static_assert(sizeof(DriverLayout) == 4);
static_assert(sizeof(DriverPrivatePart) == 16);
static_assert(offsetof(DriverPrivatePart, layout) == 12);

inline constexpr DWORD kDriverPrivateSignature = 'U' | ('D' << 8) | ('R' << 16) | ('V' << 24);
// The sizes a plug-in's part may have: its own size and signature at least, and room left for
// the driver's part in dmDriverExtra.
inline constexpr DWORD kMinPluginPart = 2 * sizeof(DWORD);
inline constexpr DWORD kMaxPluginPart = 0xFFFF - sizeof(DriverPrivatePart);
// The shortest public part a job may hand in: up to and including dmFields.
inline constexpr WORD kMinPublicSize = offsetof(DEVMODEW, dmFields) + sizeof(DWORD);

// The public devmode of the GPD's default options, named after `deviceName` (cut to fit).
DEVMODEW DefaultPublicDevmode(const GpdModel& model, LPCWSTR deviceName);

// The fields that `source` flags in dmFields and holds within its dmSize, copied over `base`
// and flagged in its dmFields.
void MergePublicFields(const DEVMODEW& source, DEVMODEW* base);

// The plug-in's private part of a whole devmode (dmSize + dmDriverExtra bytes at `devmode`):
// null when the extra bytes do not hold the driver's part followed by a plug-in part whose size
// (at least its size and signature) fits in what is left.
const BYTE* PluginPart(const DEVMODEW& devmode, DWORD* size);
// The same, and null too when `devmode` is null or the part's signature is not `signature`.
const BYTE* PluginPart(const DEVMODEW* devmode, DWORD signature, DWORD* size);

// The page layout of a whole devmode's driver part; zeros (one page a sheet, no flags) when the
// extra bytes hold no driver part.
DriverLayout LayoutOf(const DEVMODEW& devmode);

// A whole devmode: the public part (a full DEVMODEW), the driver's part with `layout`, `size`
// plug-in bytes (zeros when `plugin` is null).
std::vector<BYTE> ComposeDevmode(const DEVMODEW& publicPart, const BYTE* plugin, DWORD size,
                                 DriverLayout layout = {});

// Where the plug-in's part of a composed devmode begins.
inline constexpr size_t kPluginPartOffset = sizeof(DEVMODEW) + sizeof(DriverPrivatePart);

} // namespace moltr::unidrv
