// The forms calls: AddFormW, GetFormW, SetFormW, DeleteFormW, EnumFormsW (level 1). Reading
// needs any printer handle; changes need one that may administer the printer.
#include <windows.h>
#include <winspool.h>

#include "src/winspool/spool_fail.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_forms.h"
#include "src/winspool/spool_handles.h"
#include "src/winspool/spool_packer.h"
#include "sim/utf.h"

#include <cstring>

static_assert(sizeof(FORM_INFO_1W) == 40 && offsetof(FORM_INFO_1W, pName) == 8 &&
              offsetof(FORM_INFO_1W, Size) == 16 && offsetof(FORM_INFO_1W, ImageableArea) == 24);

namespace moltr::spool {
namespace {

constexpr DWORD kKnownFlags = FORM_USER | FORM_BUILTIN | FORM_PRINTER;

// The handle's error, or ERROR_ACCESS_DENIED for one that may not change forms.
DWORD CheckHandle(HANDLE handle, bool changing) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(handle, error);
    if (!open) {
        return error;
    }
    return changing && !(open->handle.access & PRINTER_ACCESS_ADMINISTER) ? ERROR_ACCESS_DENIED : 0;
}

// The form a caller describes, checked: a name, known flags but FORM_BUILTIN (only the
// machine's own forms are built in), a size, and an imageable area inside the sheet.
DWORD ReadForm(const BYTE* data, FormRecord& form) {
    FORM_INFO_1W info;
    std::memcpy(&info, data, sizeof info);
    form.name = sim::View(info.pName);
    if (form.name.empty()) {
        return ERROR_INVALID_FORM_NAME;
    }
    if ((info.Flags & ~kKnownFlags) || (info.Flags & FORM_BUILTIN)) {
        return ERROR_INVALID_PARAMETER;
    }
    const RECTL& area = info.ImageableArea;
    if (info.Size.cx <= 0 || info.Size.cy <= 0 || area.left < 0 || area.top < 0 ||
        area.right <= area.left || area.bottom <= area.top || area.right > info.Size.cx ||
        area.bottom > info.Size.cy) {
        return ERROR_INVALID_FORM_SIZE;
    }
    form.flags = info.Flags;
    form.size = info.Size;
    form.area = area;
    return 0;
}

void FillForm(const FormRecord& form, InfoPacker& packer, BYTE* fixed) {
    auto& info = *reinterpret_cast<FORM_INFO_1W*>(fixed);
    info.Flags = form.flags;
    info.pName = packer.String(form.name);
    info.Size = form.size;
    info.ImageableArea = form.area;
}

// An added form that may be changed or deleted: ERROR_INVALID_FORM_NAME for an unknown name,
// ERROR_INVALID_PARAMETER for a built-in form.
DWORD ChangeableForm(const WCHAR* name, FormRecord& form) {
    std::optional<FormRecord> found = FindForm(sim::View(name));
    if (!found) {
        return ERROR_INVALID_FORM_NAME;
    }
    if (found->flags & FORM_BUILTIN) {
        return ERROR_INVALID_PARAMETER;
    }
    form = std::move(*found);
    return 0;
}

// What AddFormW and SetFormW check first: the handle and its access, the level, the form.
DWORD CheckedChange(HANDLE handle, DWORD level, const BYTE* data, FormRecord& form) {
    DWORD error = CheckHandle(handle, true);
    if (error) {
        return error;
    }
    if (level != 1) {
        return ERROR_INVALID_LEVEL;
    }
    return data ? ReadForm(data, form) : ERROR_INVALID_PARAMETER;
}

DWORD AddOne(HANDLE handle, DWORD level, const BYTE* data) {
    FormRecord form;
    DWORD error = CheckedChange(handle, level, data, form);
    if (error) {
        return error;
    }
    SpoolLock lock;
    if (!lock.held()) {
        return ERROR_CANTWRITE;
    }
    if (FindForm(form.name)) {
        return ERROR_FILE_EXISTS;
    }
    return StoreForm(form) ? 0 : ERROR_CANTWRITE;
}

DWORD ChangeOne(HANDLE handle, const WCHAR* name, DWORD level, const BYTE* data) {
    FormRecord changed;
    DWORD error = CheckedChange(handle, level, data, changed);
    if (error) {
        return error;
    }
    SpoolLock lock;
    FormRecord form;
    error = lock.held() ? ChangeableForm(name, form) : ERROR_CANTWRITE;
    if (error) {
        return error;
    }
    // The form keeps its name; its flags, size and area change.
    changed.name = form.name;
    return StoreForm(changed) ? 0 : ERROR_CANTWRITE;
}

DWORD DeleteOne(HANDLE handle, const WCHAR* name) {
    DWORD error = CheckHandle(handle, true);
    if (error) {
        return error;
    }
    SpoolLock lock;
    FormRecord form;
    error = lock.held() ? ChangeableForm(name, form) : ERROR_CANTWRITE;
    if (error) {
        return error;
    }
    return EraseForm(form.name) ? 0 : ERROR_CANTWRITE;
}

DWORD GetOne(HANDLE handle, const WCHAR* name, DWORD level, BYTE* buffer, DWORD size,
             DWORD* needed) {
    DWORD error = CheckHandle(handle, false);
    if (error) {
        return error;
    }
    if (level != 1) {
        return ERROR_INVALID_LEVEL;
    }
    if (!needed) {
        return ERROR_INVALID_PARAMETER;
    }
    std::optional<FormRecord> form = FindForm(sim::View(name));
    if (!form) {
        return ERROR_INVALID_FORM_NAME;
    }
    return PackInfo(sizeof(FORM_INFO_1W), buffer, size, *needed,
                    [&](InfoPacker& packer, BYTE* fixed) { FillForm(*form, packer, fixed); });
}

DWORD EnumAll(HANDLE handle, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
              DWORD* returned) {
    DWORD error = CheckHandle(handle, false);
    if (error) {
        return error;
    }
    if (level != 1) {
        return ERROR_INVALID_LEVEL;
    }
    if (!needed || !returned) {
        return ERROR_INVALID_PARAMETER;
    }
    *returned = 0;
    const std::vector<FormRecord> forms = AllForms();
    error = PackInfo(forms.size() * sizeof(FORM_INFO_1W), buffer, size, *needed,
                     [&](InfoPacker& packer, BYTE* fixed) {
                         for (size_t i = 0; i < forms.size(); ++i) {
                             FillForm(forms[i], packer, fixed + i * sizeof(FORM_INFO_1W));
                         }
                     });
    if (!error) {
        *returned = static_cast<DWORD>(forms.size());
    }
    return error;
}

BOOL Answer(DWORD error) {
    return error ? Fail(error) : TRUE;
}

} // namespace
} // namespace moltr::spool

using namespace moltr::spool;

extern "C" {

BOOL WINAPI AddFormW(HANDLE hPrinter, DWORD Level, LPBYTE pForm) {
    return Answer(AddOne(hPrinter, Level, pForm));
}

BOOL WINAPI DeleteFormW(HANDLE hPrinter, LPWSTR pFormName) {
    return Answer(DeleteOne(hPrinter, pFormName));
}

BOOL WINAPI GetFormW(HANDLE hPrinter, LPWSTR pFormName, DWORD Level, LPBYTE pForm, DWORD cbBuf,
                     LPDWORD pcbNeeded) {
    return Answer(GetOne(hPrinter, pFormName, Level, pForm, cbBuf, pcbNeeded));
}

BOOL WINAPI SetFormW(HANDLE hPrinter, LPWSTR pFormName, DWORD Level, LPBYTE pForm) {
    return Answer(ChangeOne(hPrinter, pFormName, Level, pForm));
}

BOOL WINAPI EnumFormsW(HANDLE hPrinter, DWORD Level, LPBYTE pForm, DWORD cbBuf, LPDWORD pcbNeeded,
                       LPDWORD pcReturned) {
    return Answer(EnumAll(hPrinter, Level, pForm, cbBuf, pcbNeeded, pcReturned));
}

} // extern "C"
