#include "moltr/scratch_printer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::tool {

namespace {

namespace fs = std::filesystem;

constexpr char16_t kPrinterName[] = u"MOLTR scratch printer";
constexpr char kFallbackDriverName[] = "MOLTR scratch driver";
// The language module the family's descriptions name; a build of its own beats the sample's
// stand-in.
constexpr char kLanguageModule[] = "MOLTRRES.DLL";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string ModelName(const fs::path& source) {
    std::ifstream in(source, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("*ModelName:", 0) != 0) {
            continue;
        }
        size_t open = line.find('"');
        size_t close = open == std::string::npos ? open : line.find('"', open + 1);
        if (close != std::string::npos) {
            return line.substr(open + 1, close - open - 1);
        }
    }
    return {};
}

std::vector<std::string> DependentFiles(const fs::path& source) {
    std::vector<std::string> files;
    bool languageModule = false;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(source.parent_path(), error)) {
        std::string extension = Lower(entry.path().extension().string());
        if (!entry.is_regular_file() || fs::equivalent(entry.path(), source, error) ||
            (extension != ".xpd" && extension != ".gpd" && extension != ".dll" &&
             extension != ".ini")) {
            continue;
        }
        languageModule =
            languageModule || Lower(entry.path().filename().string()) == Lower(kLanguageModule);
        files.push_back(entry.path().string());
    }
    if (!languageModule) {
        fs::path build = fs::read_symlink("/proc/self/exe", error).parent_path().parent_path();
        for (const char* folder : {"modules", "samples"}) {
            fs::path candidate = build / folder / kLanguageModule;
            if (fs::is_regular_file(candidate, error)) {
                files.push_back(candidate.string());
                break;
            }
        }
    }
    return files;
}

ScratchPrinter::~ScratchPrinter() {
    if (!name_.empty()) {
        sim::RemovePrinter(name_);
    }
}

std::string ScratchPrinter::Create(const std::string& source, const std::string& driverName,
                                   const std::string& embedded,
                                   compiler::CompileRequestData& request) {
    std::error_code error;
    fs::path path = fs::absolute(source, error);
    if (!fs::is_regular_file(path, error)) {
        return "no such file: " + source;
    }
    std::string driver = !driverName.empty() ? driverName : ModelName(path);
    if (driver.empty()) {
        driver = kFallbackDriverName;
    }
    sim::RemovePrinter(kPrinterName);
    sim::DriverSetup setup;
    setup.name = sim::Utf16(driver);
    setup.dataFile = path.string();
    setup.dependentFiles = DependentFiles(path);
    if (!sim::InstallDriver(setup)) {
        return "cannot install a driver for " + source;
    }
    sim::PrinterSetup printer;
    printer.name = kPrinterName;
    printer.driver = setup.name;
    if (!sim::AddPrinter(printer)) {
        return "cannot add a printer for " + source;
    }
    name_ = kPrinterName;

    HANDLE handle = nullptr;
    std::u16string name = name_;
    if (!OpenPrinterW(sim::W(name), &handle, nullptr)) {
        return "cannot open the printer made for " + source;
    }
    DWORD needed = 0;
    GetPrinterDriverW(handle, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    bool read = needed && GetPrinterDriverW(handle, nullptr, 3, info.data(), needed, &needed);
    ClosePrinter(handle);
    if (!read) {
        return "cannot read the driver made for " + source;
    }
    std::u16string dataFile(sim::View(reinterpret_cast<DRIVER_INFO_3W*>(info.data())->pDataFile));

    request = {};
    std::u16string driver16 = setup.name;
    lstrcpynW(request.printerName, sim::W(name), compiler::kPathChars);
    lstrcpynW(request.driverName, sim::W(driver16), compiler::kPathChars);
    lstrcpynW(request.sourcePath, sim::W(dataFile), compiler::kPathChars);
    request.embedded =
        embedded.empty() ? compiler::IsEmbeddedSource(dataFile) : embedded == "embedded";
    return {};
}

std::vector<BYTE> ReadPrinterData(const std::u16string& printer, const std::u16string& valueName) {
    std::u16string name = printer;
    std::u16string value = valueName;
    HANDLE handle = nullptr;
    std::vector<BYTE> data;
    if (!OpenPrinterW(sim::W(name), &handle, nullptr)) {
        return data;
    }
    DWORD type = 0;
    DWORD needed = 0;
    if (GetPrinterDataW(handle, sim::W(value), &type, nullptr, 0, &needed) == ERROR_MORE_DATA) {
        data.resize(needed);
        if (GetPrinterDataW(handle, sim::W(value), &type, data.data(), needed, &needed) !=
            ERROR_SUCCESS) {
            data.clear();
        }
    }
    ClosePrinter(handle);
    return data;
}

} // namespace moltr::tool
