#include "uiplugin/form_table.h"

#include <winspool.h>

namespace moltr::ui {
namespace {

// Form names are at most this long in the spooler's forms database.
constexpr UINT kFormNameChars = 64;

} // namespace

void AddPrinterForms(HANDLE printer, common::IResources& resources) {
    for (const FormRow& row : kFormTable) {
        WCHAR name[kFormNameChars] = {};
        if (FAILED(resources.LoadString(row.nameId, name, kFormNameChars)) || name[0] == 0) {
            continue;
        }
        FORM_INFO_1W form = {};
        form.Flags = FORM_PRINTER;
        form.pName = name;
        form.Size = {row.width, row.length};
        form.ImageableArea = {0, 0, row.width, row.length};
        AddFormW(printer, 1, reinterpret_cast<LPBYTE>(&form));
    }
}

} // namespace moltr::ui
