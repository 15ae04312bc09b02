#include "moltr/named_printer.h"

#include <winspool.h>
#include <cstdio>
#include "moltr/scratch_printer.h"
#include "sim/utf.h"

namespace moltr::tool {

NamedPrinter::~NamedPrinter() {
    if (handle_ != nullptr) {
        ClosePrinter(handle_);
    }
}

std::string NamedPrinter::Open(const std::string& name) {
    name_ = sim::Utf16(name);
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(sim::W(name_), &handle_, &defaults)) {
        handle_ = nullptr;
        return "no such printer: " + name;
    }
    return {};
}

std::string NamedPrinter::Layout(const std::u16string& root, StoredStructure& structure) const {
    std::vector<BYTE> image = ReadPrinterData(name_, root);
    if (image.empty()) {
        return "the printer has no " + sim::Utf8(root) + " (run moltr printer compile)";
    }
    std::vector<StoredStructure> structures;
    std::string error;
    if (!ReadStoredImage(image, structures, error) || structures.empty()) {
        return "the stored " + sim::Utf8(root) + " cannot be read: " + error;
    }
    structure = structures[0];
    return {};
}

common::IDrvSettings* NamedPrinter::Settings(DWORD mode, std::string& error) const {
    common::IDrvSettings* settings = nullptr;
    HRESULT result = common::CreateDrvSettings(mode, handle_, &settings);
    if (FAILED(result)) {
        char text[96];
        std::snprintf(text, sizeof text,
                      "the settings object cannot be created (0x%08lx; run moltr printer compile)",
                      static_cast<unsigned long>(result));
        error = text;
        return nullptr;
    }
    return settings;
}

std::string NamedPrinter::PrinterSettings(common::IDrvSettings* settings, std::vector<BYTE>& data) {
    DWORD size = 0;
    settings->GetValue(nullptr, L"_SIZE", &size, sizeof size, common::kLayoutPrinterSettings);
    data.assign(size, 0);
    if (size == 0 || FAILED(settings->GetValue(nullptr, L"_SIZE", data.data(), size,
                                               common::kLayoutPrinterSettings))) {
        return "the printer settings cannot be read";
    }
    return {};
}

} // namespace moltr::tool
