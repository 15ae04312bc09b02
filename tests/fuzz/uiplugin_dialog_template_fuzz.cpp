// Hostile dialog templates in the language module: the input's first byte chooses how the texts
// are taken (stored, from the string table, emptied), the rest is the template. The resources
// object localises it and makes its controls on a page, the dialog manager makes a dialog of the
// localised copy (which carries no size, so its reader must stay inside what the copy holds), and
// of the stored bytes through the module's resource.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "common/resources.h"
#include "resource_module_printer.h"

namespace {

constexpr WORD kDialog = 9500;

// A string-table block of 16 texts, each its length and its UTF-16 characters.
std::string StringBlock(const char16_t* text) {
    std::string block;
    const std::u16string_view view(text);
    for (int i = 0; i < 16; ++i) {
        block.push_back(static_cast<char>(view.size()));
        block.push_back(0);
        for (char16_t c : view) {
            block.push_back(static_cast<char>(c & 0xFF));
            block.push_back(static_cast<char>(c >> 8));
        }
    }
    return block;
}

INT_PTR CALLBACK Ignoring(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

void Show(HWND dialog) {
    if (dialog) {
        DestroyWindow(dialog);
    }
}

void Exercise(moltr::common::IDrvResources& resources, UINT textMode) {
    HWND page = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    if (const DLGTEMPLATE* localised = resources.GetDialogTemplate(kDialog, textMode)) {
        Show(CreateDialogIndirectParamW(nullptr, localised, page, Ignoring, 0));
    }
    resources.CreateDialogControls(kDialog, page, textMode);
    if (HMODULE module = resources.GetResourceModule()) {
        Show(CreateDialogParamW(module, MAKEINTRESOURCEW(kDialog), page, Ignoring, 0));
    }
    DestroyWindow(page);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static moltr::fuzz::ResourceModulePrinter printer;
    if (size < 1) {
        return 0;
    }
    const std::string dialog(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The dialog's texts and its controls' (ids 9488 to 9519), should they be asked for.
    printer.Write({{5, kDialog, 0, dialog},
                   {6, kDialog / 16 + 1, 0, StringBlock(u"Localised &text")},
                   {6, kDialog / 16 + 2, 0, StringBlock(u"")}});
    moltr::common::IDrvResources* resources = nullptr;
    if (moltr::common::CreatePrinterResources(&resources, printer.handle, nullptr) == S_OK) {
        Exercise(*resources, data[0] % 3);
        resources->Release();
    }
    return 0;
}
