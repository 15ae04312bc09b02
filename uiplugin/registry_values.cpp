#include "uiplugin/registry_values.h"

#include <winspool.h>
#include "store/xpr.h"

namespace moltr::ui {
namespace {

LPCWSTR TextField(store::StructureHandle entry, LPCWSTR name) {
    LPCWSTR text = nullptr;
    return store::GetField(entry, name, &text, sizeof text) == store::kClassSuccess ? text
                                                                                    : nullptr;
}

// A text value is written as REG_SZ with its terminator, else the number as REG_DWORD.
void WriteEntry(HANDLE printer, store::StructureHandle entry) {
    LPCWSTR name = TextField(entry, L"VALUENAME");
    if (name == nullptr || name[0] == 0) {
        return;
    }
    LPCWSTR text = TextField(entry, L"VALUESTR");
    if (text != nullptr && text[0] != 0) {
        SetPrinterDataW(printer, const_cast<LPWSTR>(name), REG_SZ,
                        reinterpret_cast<LPBYTE>(const_cast<LPWSTR>(text)),
                        static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(WCHAR)));
        return;
    }
    DWORD number = 0;
    store::GetField(entry, L"VALUENUM", &number, sizeof number);
    SetPrinterDataW(printer, const_cast<LPWSTR>(name), REG_DWORD, reinterpret_cast<LPBYTE>(&number),
                    sizeof number);
}

} // namespace

HRESULT WriteRegistryValues(LPCWSTR printerName) {
    store::StructureRecord* record = nullptr;
    if (store::OpenByName(printerName, L"REGINFO", &record) >= store::kClassError) {
        return E_NOTIMPL;
    }
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults)) {
        store::StructureHandle info = nullptr;
        while (store::GetStructure(record, L"REGINFO", &info, nullptr) == store::kClassSuccess) {
            store::StructureHandle entry = nullptr;
            while (store::GetStructure(record, L"REGENTRY", &entry, nullptr) ==
                   store::kClassSuccess) {
                WriteEntry(printer, entry);
            }
        }
        ClosePrinter(printer);
    }
    store::Close(&record);
    return S_OK;
}

} // namespace moltr::ui
