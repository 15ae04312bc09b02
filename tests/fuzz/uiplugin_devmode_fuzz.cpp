// Hostile devmodes as applications hand them to DocumentPropertiesW: the input overwrites, from
// its start, the default devmode of the sample printer (whose driver carries MOLTRUIP.DLL), and
// the devmode's own header then decides its length, as it does for every caller; the result is
// merged into a new devmode through the driver and the UI plug-in.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>
#include "uiplugin_printer.h"

namespace {

// The printer with its default devmode, the base every input overwrites.
struct Printer {
    Printer() {
        LONG size = DocumentPropertiesW(nullptr, printer.handle, nullptr, nullptr, nullptr, 0);
        defaults.assign(size > 0 ? static_cast<size_t>(size) : sizeof(DEVMODEW), 0);
        DocumentPropertiesW(nullptr, printer.handle, nullptr,
                            reinterpret_cast<DEVMODEW*>(defaults.data()), nullptr, DM_OUT_BUFFER);
    }

    moltr::fuzz::UiPluginPrinter printer;
    std::vector<BYTE> defaults;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Printer printer;
    std::vector<BYTE> input = printer.defaults;
    input.resize(std::max(input.size(), size));
    std::memcpy(input.data(), data, size);
    if (input.size() < offsetof(DEVMODEW, dmDriverExtra) + sizeof(WORD)) {
        return 0;
    }
    DEVMODEW header;
    std::memcpy(&header, input.data(), offsetof(DEVMODEW, dmFields));
    // The caller's buffer holds what its header claims, and at least the header.
    input.resize(std::max<size_t>(static_cast<size_t>(header.dmSize) + header.dmDriverExtra,
                                  offsetof(DEVMODEW, dmFields) + sizeof(DWORD)),
                 0);
    std::vector<BYTE> output(printer.defaults.size(), 0);
    DocumentPropertiesW(nullptr, printer.printer.handle, nullptr,
                        reinterpret_cast<DEVMODEW*>(output.data()),
                        reinterpret_cast<DEVMODEW*>(input.data()), DM_IN_BUFFER | DM_OUT_BUFFER);
    return 0;
}
