#include "src/unidrv/ui_printer_choices.h"

#include <winspool.h>
#include <string>
#include <vector>

namespace moltr::unidrv {
namespace {

// The NUL-terminated strings of a value up to its final empty one; empty when the value does
// not end in one.
template <typename Char>
std::vector<std::basic_string<Char>> Strings(const std::vector<BYTE>& bytes) {
    std::vector<std::basic_string<Char>> strings;
    const size_t count = bytes.size() / sizeof(Char);
    const Char* text = reinterpret_cast<const Char*>(bytes.data());
    std::basic_string<Char> current;
    for (size_t i = 0; i < count; ++i) {
        if (text[i] != 0) {
            current.push_back(text[i]);
        } else if (current.empty()) {
            return strings;
        } else {
            strings.push_back(std::move(current));
            current.clear();
        }
    }
    return {};
}

std::vector<BYTE> Value(HANDLE printer, LPCWSTR name) {
    DWORD type = 0;
    DWORD needed = 0;
    GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
    std::vector<BYTE> bytes(needed);
    if (needed == 0 ||
        GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, bytes.data(), needed, &needed) !=
            ERROR_SUCCESS ||
        type != REG_BINARY) {
        return {};
    }
    return bytes;
}

template <typename Char>
void Append(std::vector<BYTE>* bytes, const std::basic_string<Char>& text) {
    const BYTE* from = reinterpret_cast<const BYTE*>(text.c_str());
    bytes->insert(bytes->end(), from, from + (text.size() + 1) * sizeof(Char));
}

} // namespace

PrinterChoices ReadPrinterChoices(HANDLE printer) {
    PrinterChoices choices;
    auto features = Strings<char>(Value(printer, L"FeatureKeyword"));
    for (size_t i = 0; i + 1 < features.size(); i += 2) {
        choices.features.emplace_back(features[i], features[i + 1]);
    }
    auto trays = Strings<char16_t>(Value(printer, L"TrayFormTable"));
    for (size_t i = 0; i + 1 < trays.size(); i += 2) {
        std::string tray(trays[i].begin(), trays[i].end()); // tray keywords are ASCII
        choices.trayForms.emplace_back(tray, trays[i + 1]);
    }
    return choices;
}

DWORD WritePrinterChoices(HANDLE printer, const PrinterChoices& choices) {
    std::vector<BYTE> features;
    for (const auto& [feature, option] : choices.features) {
        Append(&features, feature);
        Append(&features, option);
    }
    features.push_back(0);
    std::vector<BYTE> trays;
    for (const auto& [tray, form] : choices.trayForms) {
        Append(&trays, std::u16string(tray.begin(), tray.end()));
        Append(&trays, form);
    }
    trays.resize(trays.size() + sizeof(char16_t));
    DWORD result = SetPrinterDataW(printer, const_cast<LPWSTR>(L"FeatureKeyword"), REG_BINARY,
                                   features.data(), static_cast<DWORD>(features.size()));
    const DWORD second = SetPrinterDataW(printer, const_cast<LPWSTR>(L"TrayFormTable"), REG_BINARY,
                                         trays.data(), static_cast<DWORD>(trays.size()));
    return result != ERROR_SUCCESS ? result : second;
}

} // namespace moltr::unidrv
