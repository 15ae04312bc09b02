// Hostile print tickets and capabilities documents: the input is parsed by the machine's XML DOM
// and, when it is a document, handed to the sample printer's print-ticket provider in MOLTRUIP
// (CompletePrintCapabilities with its debugger dump, then ValidatePrintTicket).
#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>
#include <winspool.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include "sim/debug_log.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"
#include "src/unidrv/ui_ticket_provider.h"

namespace {

namespace fs = std::filesystem;

struct Provider {
    Provider() {
        fs::path build = fs::canonical("/proc/self/exe").parent_path().parent_path();
        std::string source = machine.root() + "/source";
        fs::create_directories(source);
        fs::copy_file(fs::path(MOLTR_SOURCE_DIR) / "samples/MOLTR4KC.GPD",
                      source + "/MOLTR4KC.GPD");
        std::ofstream(source + "/MOLTR4KC.INI", std::ios::binary)
            << "[OEMFiles]\r\nOEMConfigFile1=MOLTRUIP.DLL\r\n";
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
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        provider.Load(handle);
    }

    moltr::sim::TestMachine machine;
    std::u16string name = u"Fuzz";
    HANDLE handle = nullptr;
    moltr::unidrv::UiTicketProvider provider;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Provider provider;
    IXMLDOMDocument2* document = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IXMLDOMDocument2, reinterpret_cast<void**>(&document)))) {
        return 0;
    }
    std::u16string text = moltr::sim::Utf16(std::string(reinterpret_cast<const char*>(data), size));
    BSTR xml = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                 static_cast<UINT>(text.size()));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (xml && document->loadXML(xml, &loaded) == S_OK && loaded == VARIANT_TRUE) {
        provider.provider.CompletePrintCapabilities(nullptr, document);
        provider.provider.ValidatePrintTicket(document);
    }
    SysFreeString(xml);
    document->Release();
    // The dump would fill the log without end.
    moltr::sim::ClearDebugLog();
    return 0;
}
