// Saved watermarks and document settings, between their records and a combo box's entries.
#include "uiplugin/engine/named_list.h"

#include <cstring>

namespace moltr::ui {
namespace {

LPCWSTR RootName(NamedListKind kind) {
    return kind == NamedListKind::kWatermarks ? L"WATERMARKSETTINGS" : L"DOCUMENTSETTINGS";
}

// The OPTION records of the kind's structure, with the first one selected; null when missing.
store::StructureHandle FirstOption(store::StructureRecord* record, NamedListKind kind) {
    store::StructureHandle root = nullptr;
    store::StructureHandle option = nullptr;
    if (record == nullptr ||
        store::GetStructure(record, RootName(kind), &root, nullptr) != store::kClassSuccess ||
        store::GetStructure(record, L"OPTION", &option, nullptr) != store::kClassSuccess) {
        return nullptr;
    }
    return option;
}

bool NextOption(store::StructureRecord* record, store::StructureHandle& option) {
    return store::GetStructure(record, L"OPTION", &option, nullptr) == store::kClassSuccess;
}

// A terminated copy of the record's name, or null without memory. The name is read byte-wise:
// inside an image it need not lie at an even address.
LPWSTR CopyName(HANDLE heap, store::StructureHandle option, bool& empty) {
    void* text = nullptr;
    const WORD size = store::GetFieldSize(option, L"_TEXT");
    store::GetFieldPointer(option, L"_TEXT", &text);
    auto* copy = static_cast<LPWSTR>(HeapAlloc(heap, HEAP_ZERO_MEMORY, size + sizeof(WCHAR)));
    if (copy != nullptr && text != nullptr) {
        std::memcpy(copy, text, size);
    }
    empty = copy == nullptr || copy[0] == 0;
    return copy;
}

} // namespace

void FreeNamedList(HANDLE heap, NamedList& list) {
    for (DWORD i = 0; list.options != nullptr && i < list.count; ++i) {
        if (list.options[i].pData != nullptr) {
            HeapFree(heap, 0, list.options[i].pData);
        }
    }
    if (list.options != nullptr) {
        HeapFree(heap, 0, list.options);
    }
    if (list.persist != nullptr) {
        HeapFree(heap, 0, list.persist);
    }
    list = {};
}

DWORD LoadNamedList(HANDLE heap, store::StructureRecord* record, NamedListKind kind,
                    NamedList& list) {
    FreeNamedList(heap, list);
    store::StructureHandle option = FirstOption(record, kind);
    const DWORD count = option != nullptr ? store::GetRecordCount(option) : 0;
    if (count == 0) {
        return 0;
    }
    list.options =
        static_cast<POPTPARAM>(HeapAlloc(heap, HEAP_ZERO_MEMORY, count * sizeof(OPTPARAM)));
    list.persist =
        static_cast<ULONGLONG*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, count * sizeof(ULONGLONG)));
    if (list.options == nullptr || list.persist == nullptr) {
        FreeNamedList(heap, list);
        return 0;
    }
    // A list without every entry would pair names with the wrong records when stored back.
    list.count = count;
    for (DWORD i = 0; i < count; ++i, NextOption(record, option)) {
        OPTPARAM& entry = list.options[i];
        bool empty = true;
        LPWSTR name = CopyName(heap, option, empty);
        if (name == nullptr) {
            FreeNamedList(heap, list);
            return 0;
        }
        entry.cbSize = sizeof(OPTPARAM);
        entry.pData = name;
        entry.lParam = reinterpret_cast<LPARAM>(name);
        if (empty) {
            entry.Flags |= OPTPF_HIDE;
        }
        if (!empty || kind == NamedListKind::kDocumentSettings) {
            store::GetField(option, L"_PERSIST", &list.persist[i], sizeof(ULONGLONG));
        }
    }
    return count;
}

void StoreNamedList(store::StructureRecord* record, NamedListKind kind, const NamedList& list,
                    DWORD count) {
    count = count < list.count ? count : list.count;
    if (kind == NamedListKind::kDocumentSettings) {
        count = count > 0 ? count - 1 : 0;
    }
    store::StructureHandle option = FirstOption(record, kind);
    for (DWORD i = 0; option != nullptr && i < count; ++i) {
        const OPTPARAM& entry = list.options[i];
        const bool hidden = (entry.Flags & OPTPF_HIDE) != 0;
        const WCHAR nothing = 0;
        store::SetField(option, L"_TEXT", &nothing, sizeof nothing);
        // A free slot of the watermarks keeps its value; one of the document settings is reset.
        const bool documents = kind == NamedListKind::kDocumentSettings;
        const ULONGLONG persist = documents && hidden ? 0 : list.persist[i];
        if (documents || persist != 0) {
            store::SetField(option, L"_PERSIST", &persist, sizeof persist);
        }
        if (!hidden && entry.pData != nullptr) {
            const DWORD room = store::GetFieldSize(option, L"_TEXT") / sizeof(WCHAR);
            const DWORD length = static_cast<DWORD>(lstrlenW(entry.pData));
            const DWORD kept = length < room ? length : (room > 0 ? room - 1 : 0);
            store::SetField(option, L"_TEXT", entry.pData, kept * sizeof(WCHAR));
        }
        if (!NextOption(record, option)) {
            break;
        }
    }
}

} // namespace moltr::ui
