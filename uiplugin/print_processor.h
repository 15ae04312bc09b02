#pragma once
// The print processor of a printer on the Windows versions that need the product's own.
#include <windows.h>

namespace moltr::ui {

inline constexpr WCHAR kPrintProcessorName[] = L"vorta MOLTR Processor";

// On Windows NT 5.0 and 5.1 sets the printer's print processor to kPrintProcessorName through
// SetPrinterW level 2; elsewhere does nothing. E_FAIL when the printer's information cannot be
// read.
HRESULT SetProductPrintProcessor(HANDLE printer);

} // namespace moltr::ui
