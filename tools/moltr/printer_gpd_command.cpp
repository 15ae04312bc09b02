#include "moltr/printer_gpd_command.h"

#include <winspool.h>
#include <cstdio>
#include <memory>
#include "common/data_file.h"
#include "moltr/command_line.h"
#include "moltr/named_printer.h"
#include "sim/utf.h"

namespace moltr::tool {

const char kPrinterGpdUsage[] =
    "usage: moltr printer gpd NAME\n"
    "Prints the driver's description file of the printer (its data file, a GPD or PPD) byte for\n"
    "byte, as the printer's driver reads it: the custom media and RTI blocks the plug-in writes\n"
    "can be read there.\n";

int RunPrinterGpd(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Fail("usage: moltr printer gpd NAME");
    }
    NamedPrinter printer;
    if (std::string error = printer.Open(args[0]); !error.empty()) {
        return Fail(error);
    }
    DWORD needed = 0;
    GetPrinterDriverW(printer.handle(), nullptr, 3, nullptr, 0, &needed);
    std::unique_ptr<BYTE[]> info(new BYTE[needed > 0 ? needed : 1]);
    if (needed < sizeof(DRIVER_INFO_3W) ||
        !GetPrinterDriverW(printer.handle(), nullptr, 3, info.get(), needed, &needed) ||
        reinterpret_cast<const DRIVER_INFO_3W*>(info.get())->pDataFile == nullptr) {
        return Fail("the driver of '" + args[0] + "' cannot be read");
    }
    const LPCWSTR path = reinterpret_cast<const DRIVER_INFO_3W*>(info.get())->pDataFile;
    std::unique_ptr<char[]> text;
    DWORD length = 0;
    if (FAILED(common::ReadDataFile(path, &text, &length))) {
        return Fail("the description file " + sim::Utf8(path) + " cannot be read");
    }
    std::fwrite(text.get(), 1, length, stdout);
    return 0;
}

} // namespace moltr::tool
