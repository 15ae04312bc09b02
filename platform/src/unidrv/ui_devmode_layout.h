#pragma once
// The devmode the universal driver hands applications: the public DEVMODEW, then the driver's own
// private part (DriverPrivateHeader), then the UI plug-in's part, which starts with its size and
// the signature its GetInfo answers. The renderer finds the plug-in's part the same way.
#include <windows.h>
#include <cstddef>

namespace moltr::unidrv {

#pragma pack(push, 1)
struct DriverPrivateHeader {
    DWORD signature; // kDriverPrivateSignature
    WORD version;    // kDriverPrivateVersion
    WORD size;       // of this header
};
#pragma pack(pop)
static_assert(sizeof(DriverPrivateHeader) == 8);

// "UNID" in memory order.
inline constexpr DWORD kDriverPrivateSignature = 'U' | ('N' << 8) | ('I' << 16) | ('D' << 24);
inline constexpr WORD kDriverPrivateVersion = 0x0100;

// The plug-in's part of `devmode` when the devmode has the driver's private part and behind it a
// block of at least 8 bytes whose size (its first DWORD) fits in dmDriverExtra and whose second
// DWORD is `signature`; null otherwise. `size` receives the block's size.
const BYTE* PluginPrivatePart(const DEVMODEW* devmode, DWORD signature, DWORD* size);

} // namespace moltr::unidrv
