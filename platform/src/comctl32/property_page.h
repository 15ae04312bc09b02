#pragma once
// A property sheet page: the copy CreatePropertySheetPageW keeps of its description, and the
// page's dialog window, made when the sheet first shows it.
#include "src/user32/user_dialog_template.h"

#include <prsht.h>
#include <string>
#include <vector>

struct _PSP {
    // The description as given (dwSize bytes, the caller's extra data included), never shorter
    // than a whole PROPSHEETPAGEW.
    std::vector<BYTE> bytes;
    PROPSHEETPAGEW& Description() { return *reinterpret_cast<PROPSHEETPAGEW*>(bytes.data()); }
};

namespace moltr::platform {

bool IsPropertyPage(HPROPSHEETPAGE page);
// The page's dialog template; false when it cannot be found or read.
bool PageTemplate(HPROPSHEETPAGE page, DialogTemplate& parsed);
// The tab's caption: the page's own title with PSP_USETITLE, else the template's caption.
std::u16string PageCaption(HPROPSHEETPAGE page, const DialogTemplate& parsed);
// The tab's icon (PSP_USEHICON or PSP_USEICONID); null for none.
HICON PageIcon(HPROPSHEETPAGE page);
// A text given as a string or as a string resource of `instance`.
std::u16string TextOrResource(HINSTANCE instance, LPCWSTR text);

// The page's window as a child of `sheet` at `at`, its controls made and WM_INITDIALOG sent with
// the page's description; null when the page's callback refuses it or its template is unusable.
HWND CreatePageWindow(HPROPSHEETPAGE page, HWND sheet, const RECT& at);

} // namespace moltr::platform
