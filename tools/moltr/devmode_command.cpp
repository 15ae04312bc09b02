#include "moltr/devmode_command.h"

#include <winspool.h>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include "moltr/command_line.h"
#include "moltr/document_devmode.h"
#include "moltr/field_value.h"
#include "moltr/named_printer.h"
#include "moltr/private_devmode.h"

namespace moltr::tool {
namespace {

// The private devmode of the printer's own devmode; empty when it has none.
std::vector<BYTE> PrinterPrivateDevMode(HANDLE printer, DWORD size) {
    std::vector<BYTE> devmode = PrinterDevMode(printer);
    std::optional<size_t> at = FindPrivateDevMode(devmode, size);
    if (!at) {
        return {};
    }
    return std::vector<BYTE>(devmode.begin() + static_cast<ptrdiff_t>(*at),
                             devmode.begin() + static_cast<ptrdiff_t>(*at + size));
}

} // namespace

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
    if (!defaults && SUCCEEDED(settings->GetDevModeSize(&size))) {
        devmode = PrinterPrivateDevMode(printer.handle(), size);
        if (devmode.empty()) {
            std::fprintf(stderr, "moltr: the printer's devmode has no private part; "
                                 "showing the default\n");
        }
    }
    if (devmode.empty()) {
        devmode = DefaultPrivateDevMode(settings);
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
