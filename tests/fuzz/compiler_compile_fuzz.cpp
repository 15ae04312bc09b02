// A whole compile of an arbitrary description: tokenizing, macros, exclusions and injections,
// structures, values, references and storing, on a printer of a simulated machine.
//
// The machine, the driver and the printer are made once. An input changes only the source file and
// the printer data the compile writes, so after each input those values are deleted again: the next
// input finds a printer without a "Timestamp" and is compiled in full.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>
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
        moltr::sim::PrinterSetup setup;
        setup.name = u"Fuzz";
        setup.driver = driver.name;
        moltr::sim::AddPrinter(setup);
        request = {};
        lstrcpynW(request.printerName, moltr::sim::W(setup.name), moltr::compiler::kPathChars);
        lstrcpynW(request.driverName, moltr::sim::W(driver.name), moltr::compiler::kPathChars);
        lstrcpynW(request.sourcePath, moltr::sim::W(path), moltr::compiler::kPathChars);
        PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
        OpenPrinterW(request.printerName, &admin, &all);
    }

    // Deletes what the last compile wrote.
    void ForgetCompile(const std::vector<std::u16string>& stored) {
        DeletePrinterDataW(admin, const_cast<LPWSTR>(moltr::compiler::kTimestampValue));
        for (std::u16string name : stored) {
            DeletePrinterDataW(admin, moltr::sim::W(name));
        }
    }

    moltr::sim::TestMachine machine;
    std::string source;
    moltr::compiler::CompileRequestData request;
    HANDLE admin = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Printer printer;
    std::ofstream(printer.source, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    // The first byte chooses between a plain XPD file and a GPD with an embedded block.
    printer.request.embedded = size > 0 && (data[0] & 1);
    std::vector<std::u16string> stored;
    moltr::compiler::CompileRequest(printer.request, nullptr, &stored);
    printer.ForgetCompile(stored);
    return 0;
}
