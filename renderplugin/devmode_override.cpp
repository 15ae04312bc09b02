#include "renderplugin/devmode_override.h"

#include <winspool.h>
#include <psapi.h>
#include <memory>
#include "renderplugin/settings_view.h"
#include "store/ascii_case.h"

namespace moltr::render {

namespace {

constexpr WORD kLetter = 1;
constexpr WORD kA4 = 9;
constexpr LANGID kUnitedStates = 1033;
constexpr DWORD kFormListLength = 7;
// DC_PAPERNAMES entries are 64 characters each.
constexpr int kPaperNameLength = 64;

struct FormName {
    WORD paperSize;
    LPCWSTR name;
};

constexpr FormName kFormNames[] = {
    {1, L"LT 8.5 x 11 in"},     {5, L"LGL 8.5 x 14 in"},        {6, L"HLT 5.5 x 8.5 in"},
    {7, L"EXE 7.25 x 10.5 in"}, {9, L"A4 210 x 297 mm"},        {11, L"A5 148 x 210 mm"},
    {13, L"B5 182 x 257 mm"},   {14, L"GLG 8.5 x 13 in"},       {20, L"C10 4.125 x 9.5 in"},
    {27, L"DL 110 x 220 mm"},   {28, L"C5 162 x 229 mm"},       {31, L"C6 114 x 162 mm"},
    {34, L"IB5 176 x 250 mm"},  {37, L"MON 3.875 x 7.5 in"},    {60, L"F4 210 x 330 mm"},
    {258, L"GLT 8 x 10.5 in"},  {259, L"A3F 311.2 x 457.2 mm"},
};

LPCWSTR FormNameOf(WORD paperSize) {
    for (const FormName& row : kFormNames) {
        if (row.paperSize == paperSize) {
            return row.name;
        }
    }
    return nullptr;
}

bool SameName(LPCWSTR a, const WCHAR* entry) {
    int i = 0;
    for (; i < kPaperNameLength && a[i] != L'\0' && a[i] == entry[i]; ++i) {
    }
    return i == kPaperNameLength || a[i] == entry[i];
}

// The printer's level 5 record (its name and port).
std::unique_ptr<BYTE[]> PrinterLevel(HANDLE printer, DWORD level) {
    DWORD needed = 0;
    GetPrinterW(printer, level, nullptr, 0, &needed);
    if (needed == 0) {
        return nullptr;
    }
    auto info = std::make_unique<BYTE[]>(needed);
    return GetPrinterW(printer, level, info.get(), needed, &needed) ? std::move(info) : nullptr;
}

WORD LookUpPaperIndex(HANDLE printer, LPCWSTR formName) {
    std::unique_ptr<BYTE[]> info = PrinterLevel(printer, 5);
    if (info == nullptr) {
        return 0;
    }
    const auto* level5 = reinterpret_cast<const PRINTER_INFO_5W*>(info.get());
    int count = DeviceCapabilitiesW(level5->pPrinterName, level5->pPortName, DC_PAPERNAMES, nullptr,
                                    nullptr);
    if (count <= 0 || DeviceCapabilitiesW(level5->pPrinterName, level5->pPortName, DC_PAPERS,
                                          nullptr, nullptr) != count) {
        return 0;
    }
    auto names = std::make_unique<WCHAR[]>(static_cast<size_t>(count) * kPaperNameLength);
    auto papers = std::make_unique<WORD[]>(static_cast<size_t>(count));
    if (DeviceCapabilitiesW(level5->pPrinterName, level5->pPortName, DC_PAPERNAMES, names.get(),
                            nullptr) != count ||
        DeviceCapabilitiesW(level5->pPrinterName, level5->pPortName, DC_PAPERS,
                            reinterpret_cast<LPWSTR>(papers.get()), nullptr) != count) {
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        if (SameName(formName, names.get() + static_cast<size_t>(i) * kPaperNameLength)) {
            return papers[i];
        }
    }
    return 0;
}

HRESULT DefaultPaper(POEMDMPARAM param) {
    PDEVMODEW devmode = param->pPublicDMIn;
    if (devmode != nullptr && devmode->dmPaperSize == kLetter &&
        LOWORD(GetSystemDefaultLCID()) != kUnitedStates) {
        devmode->dmPaperSize = kA4;
        devmode->dmFields |= DM_PAPERSIZE;
    }
    return E_PENDING;
}

HRESULT AssignForm(common::IDrvSettings* settings, POEMDMPARAM param) {
    SettingsView view(settings, nullptr);
    PDEVMODEW devmode = param->pPublicDMOut;
    if (devmode == nullptr || view.Printer(L"_FORMASSIGN") != 1) {
        return E_PENDING;
    }
    for (DWORD i = 0; i < kFormListLength; ++i) {
        WORD index = DriverPaperIndex(param->hPrinter, view.PrinterWord(L"_FORMSIZE_LIST", i));
        if (index != 0 && index == devmode->dmPaperSize) {
            return E_PENDING;
        }
    }
    WORD assigned =
        DriverPaperIndex(param->hPrinter, static_cast<WORD>(view.Printer(L"_FORMSIZE")));
    if (assigned != 0) {
        devmode->dmPaperSize = assigned;
    }
    return E_PENDING;
}

} // namespace

WORD DriverPaperIndex(HANDLE printer, WORD paperSize) {
    LPCWSTR formName = FormNameOf(paperSize);
    // Sizes without a form name (A3, B4 and 11x17 among them) are their own paper index.
    return formName != nullptr ? LookUpPaperIndex(printer, formName) : paperSize;
}

HRESULT OverrideDevMode(CoPlugin& plugin, DWORD mode, POEMDMPARAM param) {
    switch (mode) {
    case OEMDM_DEFAULT:
        return DefaultPaper(param);
    case OEMDM_MERGE:
        return AssignForm(plugin.settings(), param);
    default:
        return E_NOTIMPL;
    }
}

bool InSpooler() {
    constexpr WCHAR kSpooler[] = L"spoolsv.exe";
    constexpr int kLength = static_cast<int>(sizeof kSpooler / sizeof kSpooler[0]) - 1;
    WCHAR base[kLength + 2];
    const DWORD length = GetModuleBaseNameW(GetCurrentProcess(), nullptr, base, kLength + 2);
    if (length != kLength) {
        return false;
    }
    for (int i = 0; i < kLength; ++i) {
        if (store::UpperAscii(base[i]) != store::UpperAscii(kSpooler[i])) {
            return false;
        }
    }
    return true;
}

namespace {

// Output paper sizes of the booklet values.
struct BookletPaper {
    DWORD first;
    DWORD last;
    WORD paperSize;
};
constexpr BookletPaper kBookletPapers[] = {
    {2, 3, 1},   {4, 5, 5},   {6, 7, 9},    {10, 11, 11}, {12, 13, 13},
    {14, 15, 6}, {20, 21, 8}, {22, 23, 12}, {24, 25, 17},
};
constexpr DWORD kNoBooklet = 1;
constexpr DWORD kSignature = 'M' | ('O' << 8) | ('L' << 16) | ('T' << 24);

WORD GlobalPaperSize(HANDLE printer) {
    std::unique_ptr<BYTE[]> info = PrinterLevel(printer, 8);
    const DEVMODEW* devmode =
        info != nullptr ? reinterpret_cast<const PRINTER_INFO_8W*>(info.get())->pDevMode : nullptr;
    return devmode != nullptr ? devmode->dmPaperSize : 0;
}

bool AcceptsPrivateDevMode(common::IDrvSettings* settings, POEMDMPARAM param) {
    SettingsView view(settings, param->pOEMDMIn);
    const DEVMODEW* in = param->pPublicDMIn;
    DWORD size = view.Job(L"_SIZE");
    return in != nullptr && size <= static_cast<DWORD>(in->dmSize) + in->dmDriverExtra &&
           size == param->cbBufSize && view.Job(L"_SIGNATURE") == kSignature;
}

} // namespace

HRESULT MergeInSpooler(common::IDrvSettings* settings, POEMDMPARAM param) {
    if (!InSpooler()) {
        return S_OK;
    }
    if (param->pOEMDMIn == nullptr || param->pPublicDMOut == nullptr ||
        !AcceptsPrivateDevMode(settings, param)) {
        return E_FAIL;
    }
    SettingsView view(settings, param->pOEMDMIn);
    DWORD booklet = view.Job(L"_BOOKLET");
    PDEVMODEW out = param->pPublicDMOut;
    if (booklet == kNoBooklet) {
        if (view.Job(L"_SCALEDOCON_ENABLED") != 0) {
            WORD size = static_cast<WORD>(view.Job(L"_SCALEDOCON_SIZE"));
            size = size != 0 ? size : GlobalPaperSize(param->hPrinter);
            out->dmPaperSize = size != 0 ? size : out->dmPaperSize;
        }
        return S_OK;
    }
    for (const BookletPaper& row : kBookletPapers) {
        if (booklet >= row.first && booklet <= row.last &&
            param->pPublicDMIn->dmPaperSize != row.paperSize) {
            out->dmPaperSize = row.paperSize;
        }
    }
    return S_OK;
}

} // namespace moltr::render
