#include "moltr/private_devmode.h"

#include <winspool.h>
#include <algorithm>
#include <cstddef>
#include <cstring>

namespace moltr::tool {
namespace {

constexpr char kSignature[] = "MOLT";

} // namespace

std::optional<size_t> FindPrivateDevMode(const std::vector<BYTE>& devmode, DWORD size) {
    if (devmode.size() < offsetof(DEVMODEW, dmFields)) {
        return std::nullopt;
    }
    const auto* header = reinterpret_cast<const DEVMODEW*>(devmode.data());
    const size_t start = header->dmSize;
    const size_t end = std::min(devmode.size(), start + header->dmDriverExtra);
    for (size_t at = start; at + size <= end && size >= 8; ++at) {
        DWORD found = 0;
        std::memcpy(&found, devmode.data() + at, sizeof found);
        if (found == size && std::memcmp(devmode.data() + at + 4, kSignature, 4) == 0) {
            return at;
        }
    }
    return std::nullopt;
}

std::vector<BYTE> DefaultPrivateDevMode(common::IDrvSettings* settings) {
    DWORD size = 0;
    std::vector<BYTE> devmode;
    if (SUCCEEDED(settings->GetDevModeSize(&size)) && size > 0) {
        devmode.resize(size);
        if (FAILED(settings->GetDefaultDevMode(&size, devmode.data()))) {
            devmode.clear();
        }
    }
    return devmode;
}

std::vector<BYTE> PrinterDevMode(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!GetPrinterW(printer, 2, info.data(), needed, &needed)) {
        return {};
    }
    const DEVMODEW* devmode = reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode;
    if (devmode == nullptr) {
        return {};
    }
    const BYTE* bytes = reinterpret_cast<const BYTE*>(devmode);
    return std::vector<BYTE>(bytes, bytes + devmode->dmSize + devmode->dmDriverExtra);
}

std::string PrivateDevModeLayout(const NamedPrinter& printer, StoredStructure& layout,
                                 DWORD& size) {
    std::string error = printer.Layout(u"OEMDEVMODE", layout);
    if (!error.empty()) {
        return error;
    }
    common::IDrvSettings* settings = printer.Settings(common::kModeDocument, error);
    if (settings == nullptr) {
        return error;
    }
    const HRESULT result = settings->GetDevModeSize(&size);
    settings->Release();
    return SUCCEEDED(result) ? std::string() : "the printer's private devmode has no size";
}

} // namespace moltr::tool
