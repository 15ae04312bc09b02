// Hostile devmodes as applications hand them to DocumentPropertiesW: the input overwrites, from
// its start, the default devmode of the sample printer (whose driver carries MOLTRUIP.DLL), and
// the devmode's own header then decides its length, as it does for every caller; the result is
// merged into a new devmode through the driver and the UI plug-in.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace {

namespace fs = std::filesystem;

struct Printer {
    Printer() {
        fs::path build = fs::canonical("/proc/self/exe").parent_path().parent_path();
        std::string source = machine.root() + "/source";
        fs::create_directories(source);
        fs::copy_file(fs::path(MOLTR_SOURCE_DIR) / "samples/MOLTR4KC.GPD",
                      source + "/MOLTR4KC.GPD");
        std::ofstream(source + "/MOLTR4KC.INI", std::ios::binary)
            << "[UIPSETTINGS]\r\nUIPLANG=0\r\n[OEMFiles]\r\nOEMConfigFile1=MOLTRUIP.DLL\r\n";
        moltr::sim::DriverSetup driver;
        driver.name = u"MOLTR ColorLaser 4000 PCL5c";
        driver.dataFile = source + "/MOLTR4KC.GPD";
        driver.dependentFiles = {source + "/MOLTR4KC.INI",
                                 (build / "modules/MOLTRRES.DLL").string(),
                                 (build / "bin/MOLTRUIP.DLL").string()};
        moltr::sim::InstallDriver(driver);
        moltr::sim::PrinterSetup setup;
        setup.name = name;
        setup.driver = driver.name;
        moltr::sim::AddPrinter(setup);
        OpenPrinterW(moltr::sim::W(name), &handle, nullptr);
        LONG size = DocumentPropertiesW(nullptr, handle, nullptr, nullptr, nullptr, 0);
        defaults.assign(size > 0 ? static_cast<size_t>(size) : sizeof(DEVMODEW), 0);
        DocumentPropertiesW(nullptr, handle, nullptr, reinterpret_cast<DEVMODEW*>(defaults.data()),
                            nullptr, DM_OUT_BUFFER);
    }

    moltr::sim::TestMachine machine;
    std::u16string name = u"Fuzz";
    HANDLE handle = nullptr;
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
    // The caller's buffer holds what its header claims.
    input.resize(static_cast<size_t>(header.dmSize) + header.dmDriverExtra + 1, 0);
    std::vector<BYTE> output(printer.defaults.size(), 0);
    DocumentPropertiesW(nullptr, printer.handle, nullptr,
                        reinterpret_cast<DEVMODEW*>(output.data()),
                        reinterpret_cast<DEVMODEW*>(input.data()), DM_IN_BUFFER | DM_OUT_BUFFER);
    return 0;
}
