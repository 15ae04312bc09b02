// A whole compile of an arbitrary description: tokenizing, macros, exclusions and injections,
// structures, values, references and storing, on a printer of a simulated machine.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <winspool.h>
#include "compiler/compile_driver.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace {

struct Printer {
    Printer() {
        std::u16string path = u"C:\\Windows\\Temp\\fuzz.xpd";
        source = moltr::sim::HostPath(moltr::sim::W(path));
        std::ofstream(source) << "*X: 1\r\n";
        moltr::sim::DriverSetup driver;
        driver.name = u"Fuzz driver";
        driver.dataFile = source;
        moltr::sim::InstallDriver(driver);
        setup.name = u"Fuzz";
        setup.driver = driver.name;
        request = {};
        lstrcpynW(request.printerName, moltr::sim::W(setup.name), moltr::compiler::kPathChars);
        lstrcpynW(request.driverName, moltr::sim::W(driver.name), moltr::compiler::kPathChars);
        lstrcpynW(request.sourcePath, moltr::sim::W(path), moltr::compiler::kPathChars);
    }

    moltr::sim::TestMachine machine;
    std::string source;
    moltr::sim::PrinterSetup setup;
    moltr::compiler::CompileRequestData request;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Printer printer;
    std::ofstream(printer.source, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    // A fresh printer has no "Timestamp", so every input is compiled; the first byte chooses
    // between a plain XPD file and a GPD with an embedded block.
    moltr::sim::RemovePrinter(printer.setup.name);
    moltr::sim::AddPrinter(printer.setup);
    printer.request.embedded = size > 0 && (data[0] & 1);
    moltr::compiler::CompileRequest(printer.request);
    return 0;
}
