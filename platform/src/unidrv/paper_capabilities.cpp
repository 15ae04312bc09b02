#include "src/unidrv/paper_capabilities.h"

#include <winspool.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "src/unidrv/gpd_configuration.h"
#include "src/unidrv/gpd_reader.h"

namespace moltr::unidrv {
namespace {

// The name a paper size shows: its *Name text in the system's code page, else its option name.
void PaperName(const GpdOption& option, WCHAR* entry) {
    std::string text = option.name;
    const GpdAttribute* name = FindAttribute(option.body, "*Name");
    if (name) {
        ParseGpdQuoted(name->value, &text);
    }
    std::memset(entry, 0, kPaperNameChars * sizeof(WCHAR));
    // A character takes at most four bytes in any code page, so this many bytes fill the entry.
    int length = static_cast<int>(std::min(text.size(), kPaperNameChars * 4));
    std::vector<WCHAR> wide(static_cast<size_t>(length) + 1);
    int written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), length + 1);
    std::memcpy(entry, wide.data(),
                std::min<size_t>(written > 0 ? written : 0, kPaperNameChars - 1) * sizeof(WCHAR));
}

} // namespace

DWORD PaperCapabilities(const GpdModel& model, WORD capability, void* output) {
    if (capability != DC_PAPERS && capability != DC_PAPERNAMES) {
        return GDI_ERROR;
    }
    const GpdFeature* paperSize = model.Feature("PaperSize");
    size_t count = paperSize ? paperSize->options.size() : 0;
    for (size_t i = 0; output && i < count; ++i) {
        if (capability == DC_PAPERS) {
            WORD code = PaperCode(*paperSize, i);
            std::memcpy(static_cast<BYTE*>(output) + i * sizeof(WORD), &code, sizeof(code));
        } else {
            PaperName(paperSize->options[i], static_cast<WCHAR*>(output) + i * kPaperNameChars);
        }
    }
    return static_cast<DWORD>(count);
}

} // namespace moltr::unidrv

DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR, WORD iDevCap, PVOID pvOutput,
                                   PDEVMODEW) {
    if (iDevCap != DC_PAPERS && iDevCap != DC_PAPERNAMES) {
        return GDI_ERROR;
    }
    DWORD needed = 0;
    GetPrinterDriverW(hPrinter, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(hPrinter, nullptr, 3, info.data(), needed, &needed)) {
        return GDI_ERROR;
    }
    const auto* driver = reinterpret_cast<const DRIVER_INFO_3W*>(info.data());
    moltr::unidrv::GpdReadResult gpd = moltr::unidrv::ReadGpdFile(driver->pDataFile);
    if (!gpd.ok) {
        SetLastError(ERROR_INVALID_DATA);
        return GDI_ERROR;
    }
    return moltr::unidrv::PaperCapabilities(gpd.model, iDevCap, pvOutput);
}
