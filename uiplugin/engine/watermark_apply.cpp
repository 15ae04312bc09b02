// Saved watermark to page items.
#include "uiplugin/engine/watermark_apply.h"

#include <cstring>
#include "store/field_type.h"
#include "uiplugin/engine/opt_item_handler.h"
#include "uiplugin/engine/opt_item_handler_factory.h"

namespace moltr::ui {
namespace {

constexpr DWORD kMaxDialogIds = 64;

struct DialogIds {
    WORD ids[kMaxDialogIds] = {};
    DWORD count = 0;
};

DialogIds ReadDialogIds(store::StructureHandle root) {
    DialogIds list;
    const WORD size = store::GetFieldSize(root, L"DIALOGIDS");
    const WORD count = size / sizeof(WORD);
    void* ids = nullptr;
    if (store::GetFieldPointer(root, L"DIALOGIDS", &ids) != store::kClassSuccess ||
        ids == nullptr) {
        return list;
    }
    list.count = count < kMaxDialogIds ? count : kMaxDialogIds;
    std::memcpy(list.ids, ids, list.count * sizeof(WORD));
    return list;
}

// The current field as a number, by the width of its type; false for a type that has none.
bool ReadNumber(store::StructureHandle option, DWORD type, LONG_PTR& value) {
    BYTE bytes[4] = {};
    DWORD width = 0;
    switch (type) {
    case store::kTypeByte:
    case store::kTypeChar:
        width = 1;
        break;
    case store::kTypeWord:
    case store::kTypeShort:
        width = 2;
        break;
    case store::kTypeDword:
    case store::kTypeLong:
    case store::kTypeColorref:
        width = 4;
        break;
    default:
        return false;
    }
    void* data = nullptr;
    if (store::GetFieldPointer(option, nullptr, &data) != store::kClassSuccess || data == nullptr) {
        return false;
    }
    std::memcpy(bytes, data, width);
    const DWORD raw =
        bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24;
    value = type == store::kTypeShort  ? static_cast<SHORT>(raw)
            : type == store::kTypeLong ? static_cast<LONG>(raw)
                                       : static_cast<LONG_PTR>(raw);
    return true;
}

// The current field as text: an array's inline characters, or a STRING's text. Copied, as text
// inside an image need not lie at an even address.
bool ReadText(store::StructureHandle option, DWORD type, WCHAR (&text)[kOptionTextMax]) {
    void* data = nullptr;
    if (store::GetFieldPointer(option, nullptr, &data) != store::kClassSuccess || data == nullptr) {
        return false;
    }
    if (type == store::kTypeString) {
        LPCWSTR string = nullptr;
        std::memcpy(&string, data, sizeof string);
        lstrcpynW(text, string != nullptr ? string : L"", kOptionTextMax);
        return true;
    }
    const DWORD size = store::GetFieldSize(option, nullptr);
    const DWORD kept = size < sizeof text - sizeof(WCHAR) ? size : sizeof text - sizeof(WCHAR);
    std::memset(text, 0, sizeof text);
    std::memcpy(text, data, kept);
    return true;
}

void ApplyField(store::StructureHandle option, VORTAOptItemHandler& handler) {
    const DWORD type = store::GetFieldType(option, nullptr);
    if (store::GetFieldCount(option, nullptr) >= 2 || type == store::kTypeString) {
        WCHAR text[kOptionTextMax];
        if (ReadText(option, type, text)) {
            handler.SetSelectionFromText(text);
        }
        return;
    }
    LONG_PTR value = 0;
    if (ReadNumber(option, type, value)) {
        handler.SetSelectionByValue(value, nullptr);
    }
}

} // namespace

void ApplyWatermark(store::StructureRecord* record, DWORD index,
                    VORTAOptItemHandlerFactory& factory) {
    store::StructureHandle root = nullptr;
    store::StructureHandle option = nullptr;
    if (record == nullptr ||
        store::GetStructure(record, L"WATERMARKSETTINGS", &root, nullptr) != store::kClassSuccess) {
        return;
    }
    const DialogIds ids = ReadDialogIds(root);
    for (DWORD i = 0; i <= index; ++i) {
        if (store::GetStructure(record, L"OPTION", &option, nullptr) != store::kClassSuccess) {
            return;
        }
    }
    WCHAR name[kOptionTextMax];
    if (store::SelectField(option, L"_TEXT") != store::kClassSuccess ||
        !ReadText(option, store::GetFieldType(option, nullptr), name) || name[0] == 0) {
        return;
    }
    // Fields beyond the last id are skipped; the walk ends with the record's last field.
    for (DWORD k = 0; k < ids.count && store::SelectField(option, nullptr) == store::kClassSuccess;
         ++k) {
        VORTAOptItemHandler* handler = ids.ids[k] != 0 ? factory.Find(ids.ids[k]) : nullptr;
        if (handler != nullptr) {
            ApplyField(option, *handler);
        }
    }
}

} // namespace moltr::ui
