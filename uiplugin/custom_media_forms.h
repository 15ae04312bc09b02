#pragma once
// The custom media of a printer: user forms of the spooler's forms database that carry the
// printer's mark, as the custom-size dialog adds, resizes, renames and deletes them, and the list
// of them the custom-size combo box shows. Every operation answers TRUE on success.
#include <windows.h>
#include <winspool.h>
#include <vector>
#include "uiplugin/custom_medium.h"
#include "uiplugin/paper_limits.h"

namespace moltr::uiplugin {

// How many custom media the custom-size list holds before its command entry.
inline constexpr DWORD kCustomSizeListMedia = 30;
// Longest form name the list keeps, terminator included.
inline constexpr DWORD kCustomMediumNameMax = 32;

// Whether `formName` carries `printer`'s custom-media mark.
bool HasCustomMediumMark(HANDLE printer, LPCWSTR formName);

// Why a new custom medium may not be called `name` on `printer`: null when it may, else a short
// reason. A name is refused when its identifier is empty, holds a character that means something
// in a description file, or is the identifier of another custom medium of the printer
// (`renamedFrom`, which may be null, is the medium being renamed and does not count).
const char* CustomMediumNameProblem(HANDLE printer, LPCWSTR name, LPCWSTR renamedFrom);

BOOL AddCustomMedium(LPCWSTR printerName, LPCWSTR name, DWORD width, DWORD length);
BOOL ResizeCustomMedium(LPCWSTR printerName, LPCWSTR name, DWORD width, DWORD length);
BOOL RenameCustomMedium(LPCWSTR printerName, LPCWSTR oldName, LPCWSTR newName);
// The result is DeleteFormW's.
BOOL DeleteCustomMedium(LPCWSTR printerName, LPCWSTR name);

struct FormFacts {
    SIZEL size;      // micrometres
    DWORD flags;     // FORM_USER, FORM_BUILTIN, FORM_PRINTER
    bool areaOffset; // the imageable area does not start at (0, 0)
};
BOOL ReadForm(HANDLE printer, LPCWSTR name, FormFacts* facts);

// The DMPAPER value the printer's device capabilities give the paper named `formName`; 0 when
// none is named so.
DWORD PaperIndexOfForm(HANDLE printer, LPCWSTR formName);

struct CustomSizeEntry {
    WCHAR name[kCustomMediumNameMax];
    SIZEL size;       // micrometres
    DWORD paperIndex; // PaperIndexOfForm
    bool listed;      // within the paper limits and among the first kCustomSizeListMedia
};

// The paper limits of `printer`'s model, or the fall-back row `settings` (may be null) chooses.
ui::PaperLimits PaperLimitsOfPrinter(HANDLE printer, common::IDrvSettings* settings);

// Every marked user form of `printer` in the forms database's order; the listed ones are those
// the custom-size list and the description file hold.
std::vector<CustomSizeEntry> EnumerateCustomMedia(HANDLE printer, const ui::PaperLimits& limits);

// Writes the listed custom media of `printer` into its driver's description file. S_FALSE when
// the file holds no custom-media block; E_FAIL when the driver or its file cannot be read or
// replaced, which leaves the file as it was.
HRESULT WriteCustomMediaOfPrinter(HANDLE printer, const ui::PaperLimits& limits);

} // namespace moltr::uiplugin
