#pragma once
// Fields of description records read the way the plug-in's sheets need them: numbers of any width
// as one value, texts as their stored string.
#include <windows.h>
#include "store/xpr.h"

namespace moltr::ui {

// A numeric field of up to 8 bytes; 0 when it is missing or cannot be read.
ULONG_PTR FieldNumber(store::StructureHandle handle, LPCWSTR name);

// A STRING field's text, or null.
LPCWSTR FieldText(store::StructureHandle handle, LPCWSTR name);

} // namespace moltr::ui
