#include "moltr/devmode_command.h"

#include <winspool.h>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include "moltr/command_line.h"
#include "moltr/document_devmode.h"
#include "moltr/field_value.h"
#include "moltr/named_printer.h"

namespace moltr::tool {
namespace {

constexpr char kSignature[] = "MOLT";

// The private devmode inside the driver-extra bytes of the printer's own devmode. Empty when there
// is none.
std::vector<BYTE> PrinterPrivateDevMode(HANDLE printer, DWORD size) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!GetPrinterW(printer, 2, info.data(), needed, &needed)) {
        return {};
    }
    const DEVMODEW* devmode = reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode;
    BYTE* found = FindPrivateDevMode(const_cast<DEVMODEW*>(devmode), size);
    return found ? std::vector<BYTE>(found, found + size) : std::vector<BYTE>();
}

} // namespace

BYTE* FindPrivateDevMode(DEVMODEW* devmode, DWORD size) {
    if (devmode == nullptr || size < 8 || devmode->dmDriverExtra < size) {
        return nullptr;
    }
    BYTE* extra = reinterpret_cast<BYTE*>(devmode) + devmode->dmSize;
    for (DWORD at = 0; at + size <= devmode->dmDriverExtra; ++at) {
        DWORD found = 0;
        std::memcpy(&found, extra + at, sizeof found);
        if (found == size && std::memcmp(extra + at + 4, kSignature, 4) == 0) {
            return extra + at;
        }
    }
    return nullptr;
}

int RunDevMode(const std::vector<std::string>& args) {
    if (std::find(args.begin(), args.end(), "--document") != args.end()) {
        return RunDocumentDevMode(args);
    }
    std::string name;
    bool hex = false;
    bool defaults = false;
    for (const std::string& arg : args) {
        if (arg == "--hex" || arg == "--default") {
            (arg == "--hex" ? hex : defaults) = true;
        } else if (name.empty()) {
            name = arg;
        } else {
            return Fail("usage: moltr devmode NAME [--default] [--hex]");
        }
    }
    NamedPrinter printer;
    StoredStructure layout;
    std::string error =
        name.empty() ? "usage: moltr devmode NAME [--default] [--hex]" : printer.Open(name);
    if (error.empty()) {
        error = printer.Layout(u"OEMDEVMODE", layout);
    }
    common::IDrvSettings* settings =
        error.empty() ? printer.Settings(common::kModeDocument, error) : nullptr;
    if (settings == nullptr) {
        return Fail(error);
    }
    DWORD size = 0;
    std::vector<BYTE> devmode;
    if (SUCCEEDED(settings->GetDevModeSize(&size))) {
        devmode = defaults ? std::vector<BYTE>() : PrinterPrivateDevMode(printer.handle(), size);
        if (devmode.empty()) {
            if (!defaults) {
                std::fprintf(stderr, "moltr: the printer's devmode has no private part; "
                                     "showing the default\n");
            }
            devmode.resize(size);
            if (FAILED(settings->GetDefaultDevMode(&size, devmode.data()))) {
                devmode.clear();
            }
        }
    }
    settings->Release();
    if (devmode.empty()) {
        return Fail("the printer has no private devmode");
    }
    if (hex) {
        PrintHex(devmode);
    } else {
        PrintBlock(layout, devmode);
    }
    return 0;
}

} // namespace moltr::tool
