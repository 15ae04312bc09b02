#include "uiplugin/record_fields.h"

namespace moltr::ui {

ULONG_PTR FieldNumber(store::StructureHandle handle, LPCWSTR name) {
    const WORD size = store::GetFieldSize(handle, name);
    unsigned long long value = 0;
    if (size == 0 || size > sizeof value ||
        store::GetField(handle, name, &value, size) != store::kClassSuccess) {
        return 0;
    }
    return static_cast<ULONG_PTR>(value);
}

LPCWSTR FieldText(store::StructureHandle handle, LPCWSTR name) {
    LPCWSTR text = nullptr;
    return store::GetField(handle, name, &text, sizeof text) == store::kClassSuccess ? text
                                                                                     : nullptr;
}

} // namespace moltr::ui
