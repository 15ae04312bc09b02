// A hostile language module: the input supplies the data of each resource that the resources
// object reads (icons and their group, a cursor and its group, a bitmap, a dialog template, two
// string-table blocks, the version information and raw data); the module file MOLTRRES.DLL of a
// printer's driver is made from them, and every lookup of the resources object runs on it.
#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "common/resources.h"
#include "resource_module_printer.h"

namespace {

using moltr::test::ResourceData;

constexpr WORD kIconGroup = 9522;
constexpr WORD kCursorGroup = 9521;
constexpr WORD kBitmap = 9520;
constexpr WORD kDialog = 9500;
constexpr WORD kRawData = 9530;

// The resources the input fills, in input order: each takes a little-endian length word and that
// many bytes; an input that ends early leaves the remaining resources out.
constexpr struct {
    WORD type;
    WORD name;
} kSlots[] = {
    {3, 1},       {3, 2},   {14, kIconGroup}, {1, 1},  {12, kCursorGroup}, {2, kBitmap},
    {5, kDialog}, {6, 594}, {6, 595},         {16, 1}, {10, kRawData},
};

std::vector<ResourceData> Resources(const uint8_t* data, size_t size) {
    std::vector<ResourceData> resources;
    size_t at = 0;
    for (const auto& slot : kSlots) {
        if (size - at < 2) {
            break;
        }
        const size_t length = std::min<size_t>(data[at] | (data[at + 1] << 8), size - at - 2);
        resources.push_back({slot.type, slot.name, 0,
                             std::string(reinterpret_cast<const char*>(data) + at + 2, length)});
        at += 2 + length;
    }
    return resources;
}

void Exercise(moltr::common::IDrvResources& resources) {
    HICON icon = nullptr;
    for (UINT size : {16u, 32u, 48u}) {
        resources.LoadIcon(kIconGroup, size, &icon);
    }
    resources.GetCursor(kCursorGroup);
    if (HBITMAP bitmap = resources.GetBitmap(kBitmap)) {
        DeleteObject(bitmap);
    }
    resources.GetDialogTemplate(kDialog, 1);
    HWND window = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    resources.CreateDialogControls(kDialog, window, 1);
    DestroyWindow(window);
    WCHAR text[256];
    for (UINT id = kDialog - 12; id < kDialog + 20; ++id) {
        resources.LoadString(id, text, 8);
        resources.LoadString(id, text, 256);
    }
    DWORD size = 0;
    resources.GetRawResource(kRawData, &size);
    resources.GetModuleVersions();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static moltr::fuzz::ResourceModulePrinter printer;
    printer.Write(Resources(data, size));
    moltr::common::IDrvResources* resources = nullptr;
    if (moltr::common::CreatePrinterResources(&resources, printer.handle, nullptr) == S_OK) {
        Exercise(*resources);
        resources->Release();
    }
    return 0;
}
