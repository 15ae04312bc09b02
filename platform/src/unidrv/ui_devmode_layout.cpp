#include "src/unidrv/ui_devmode_layout.h"

#include <cstring>

namespace moltr::unidrv {

const BYTE* PluginPrivatePart(const DEVMODEW* devmode, DWORD signature, DWORD* size) {
    constexpr DWORD kPluginHeader = 2 * sizeof(DWORD);
    if (!devmode || devmode->dmDriverExtra < sizeof(DriverPrivateHeader) + kPluginHeader) {
        return nullptr;
    }
    const BYTE* extra = reinterpret_cast<const BYTE*>(devmode) + devmode->dmSize;
    DriverPrivateHeader header;
    std::memcpy(&header, extra, sizeof header);
    if (header.signature != kDriverPrivateSignature || header.size != sizeof header) {
        return nullptr;
    }
    const BYTE* part = extra + sizeof header;
    DWORD claimed = 0;
    DWORD found = 0;
    std::memcpy(&claimed, part, sizeof claimed);
    std::memcpy(&found, part + sizeof claimed, sizeof found);
    // The claimed size must lie inside the driver-extra bytes, so no read goes beyond them.
    if (found != signature || claimed < kPluginHeader ||
        claimed > devmode->dmDriverExtra - sizeof header) {
        return nullptr;
    }
    *size = claimed;
    return part;
}

} // namespace moltr::unidrv
