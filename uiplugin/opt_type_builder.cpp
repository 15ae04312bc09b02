#include "uiplugin/opt_type_builder.h"

#include <cstring>
#include "store/field_type.h"
#include "uiplugin/engine/push_button_record.h"
#include "uiplugin/record_fields.h"

namespace moltr::ui {

namespace {

constexpr UINT kTextChars = 256;
constexpr DWORD kDefaultEditChars = 32;
constexpr LPARAM kNoMaximum = 0xFFFF;

template <typename T> T* HeapNew(HANDLE heap, size_t count = 1) {
    return static_cast<T*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(T) * count));
}

LPWSTR CopyText(HANDLE heap, LPCWSTR text) {
    const int length = lstrlenW(text);
    LPWSTR copy = HeapNew<WCHAR>(heap, static_cast<size_t>(length) + 1);
    if (copy != nullptr) {
        std::memcpy(copy, text, static_cast<size_t>(length) * sizeof(WCHAR));
    }
    return copy;
}

bool IsTextField(store::StructureHandle option, LPCWSTR name) {
    const DWORD type = store::GetFieldType(option, name);
    return type == store::kTypeString ||
           (type == store::kTypeChar && store::GetFieldCount(option, name) > 1);
}

// A VALUE as an OPTPARAM's lParam: small values in place, larger ones as a heap copy; the option's
// index when the value cannot be read.
bool OptionValue(HANDLE heap, store::StructureHandle option, size_t index, LPARAM* value) {
    const WORD size = store::GetFieldSize(option, L"VALUE");
    if (size == 0) {
        *value = static_cast<LPARAM>(index);
        return true;
    }
    if (size <= 2) {
        *value = static_cast<LPARAM>(FieldNumber(option, L"VALUE"));
        return true;
    }
    BYTE* copy = HeapNew<BYTE>(heap, size);
    if (copy == nullptr) {
        return false;
    }
    if (store::GetField(option, L"VALUE", copy, size) != store::kClassSuccess) {
        *value = static_cast<LPARAM>(index);
        return true;
    }
    *value = reinterpret_cast<LPARAM>(copy);
    return true;
}

struct Builder {
    const ItemBuildContext& context;
    OPTITEM& item;
    OPTTYPE* type = nullptr;

    bool Allocate(BYTE controlType, size_t count) {
        type = HeapNew<OPTTYPE>(context.heap);
        OPTPARAM* params = count == 0 ? nullptr : HeapNew<OPTPARAM>(context.heap, count);
        if (type == nullptr || (count != 0 && params == nullptr)) {
            return false;
        }
        type->cbSize = sizeof(OPTTYPE);
        type->Type = controlType;
        type->Count = static_cast<WORD>(count);
        type->pOptParam = params;
        for (size_t i = 0; i < count; ++i) {
            params[i].cbSize = sizeof(OPTPARAM);
        }
        item.pOptType = type;
        return true;
    }

    OPTPARAM& Param(size_t index) { return type->pOptParam[index]; }

    bool OptionText(store::StructureHandle option, OPTPARAM& param) {
        param.pData = ItemText(context, static_cast<DWORD>(FieldNumber(option, L"ITEMTEXTID")),
                               FieldText(option, L"ITEMTEXT"));
        return param.pData != nullptr;
    }

    // One OPTION record into OPTPARAM `index` of a list-like type.
    bool ListOption(store::StructureHandle option, size_t index) {
        OPTPARAM& param = Param(index);
        if (!OptionText(option, param) ||
            !OptionValue(context.heap, option, index, &param.lParam)) {
            return false;
        }
        param.Flags = static_cast<BYTE>(FieldNumber(option, L"ITEMVISIBLE"));
        param.IconID = FieldNumber(option, L"ICONID");
        switch (type->Type) {
        case kControlTypePropSheet:
        case kControlTypeTabControl:
            param.IconID = FieldNumber(option, L"GROUP");
            break;
        case kControlTypePropSheetUI:
            param.lParam = static_cast<LPARAM>(param.IconID);
            param.IconID = FieldNumber(option, L"GROUP");
            break;
        default:
            break;
        }
        return true;
    }

    // The options of a single-option type from the feature's first OPTION record.
    bool Single(store::StructureHandle option) {
        switch (type->Type) {
        case TVOT_UDARROW:
            return Ranged(option, false);
        case TVOT_TRACKBAR:
        case TVOT_SCROLLBAR:
            return Ranged(option, true);
        case TVOT_EDITBOX:
            return EditBox(option);
        case TVOT_PUSHBUTTON:
            return PushButton(option);
        case TVOT_CHKBOX:
            Param(0).IconID = FieldNumber(option, L"ICONID");
            return true;
        default:
            return true;
        }
    }

    bool IsListLike() const {
        switch (type->Type) {
        case TVOT_2STATES:
        case TVOT_3STATES:
        case TVOT_LISTBOX:
        case TVOT_COMBOBOX:
        case kControlTypePropSheet:
        case kControlTypePropSheetUI:
        case kControlTypeTabControl:
            return true;
        default:
            return false;
        }
    }

    // The reference text of the first option's VALUE, as the setting the item edits.
    bool Reference(store::StructureHandle option) {
        LPCWSTR reference = nullptr;
        if (store::GetFieldReference(option, L"VALUE", &reference) != store::kClassSuccess ||
            reference == nullptr) {
            return true;
        }
        // The text inside the image may lie at an odd address: copied a code unit at a time.
        size_t length = 0;
        const BYTE* bytes = reinterpret_cast<const BYTE*>(reference);
        auto unit = [bytes](size_t at) {
            WCHAR c = 0;
            std::memcpy(&c, bytes + at * sizeof(WCHAR), sizeof c);
            return c;
        };
        while (unit(length) != 0) {
            ++length;
        }
        LPWSTR copy = HeapNew<WCHAR>(context.heap, length + 1);
        if (copy == nullptr) {
            return false;
        }
        for (size_t i = 0; i < length; ++i) {
            copy[i] = unit(i);
        }
        item.UserData = reinterpret_cast<ULONG_PTR>(copy);
        return true;
    }

    // Up-down, track and scroll bars: one OPTION gives the postfix, the range and the selection.
    bool Ranged(store::StructureHandle option, bool bar) {
        if (!OptionText(option, Param(0))) {
            return false;
        }
        Param(0).IconID = FieldNumber(option, L"ICONID");
        const ULONG_PTR minimum = FieldNumber(option, L"MINVALUE");
        const ULONG_PTR maximum = FieldNumber(option, L"MAXVALUE");
        Param(1).IconID = bar ? static_cast<WORD>(minimum) : minimum;
        Param(1).lParam = maximum > minimum
                              ? static_cast<LPARAM>(bar ? static_cast<WORD>(maximum) : maximum)
                              : kNoMaximum;
        item.Sel = static_cast<LONG>(FieldNumber(option, L"VALUE"));
        if (bar) {
            const ULONG_PTR multiplier = FieldNumber(option, L"MULVALUE");
            const ULONG_PTR increment = FieldNumber(option, L"INCVALUE");
            Param(2).IconID = multiplier > 1 ? multiplier : 1;
            Param(2).lParam = increment >= 2 ? static_cast<LPARAM>(increment) : 1;
        }
        return true;
    }

    bool EditBox(store::StructureHandle option) {
        const DWORD chars = IsTextField(option, L"VALUE") ? store::GetFieldCount(option, L"VALUE")
                                                          : kDefaultEditChars;
        LPWSTR buffer = HeapNew<WCHAR>(context.heap, chars == 0 ? kDefaultEditChars : chars);
        if (buffer == nullptr || !OptionText(option, Param(0))) {
            return false;
        }
        item.pSel = buffer;
        Param(0).IconID = FieldNumber(option, L"ICONID");
        Param(1).IconID = chars == 0 ? kDefaultEditChars : chars;
        return true;
    }

    bool PushButton(store::StructureHandle option) {
        const DWORD textId = static_cast<DWORD>(FieldNumber(option, L"ITEMTEXTID"));
        if (textId == 0) {
            return true;
        }
        PushButtonRecord* record = HeapNew<PushButtonRecord>(context.heap);
        if (record == nullptr) {
            return false;
        }
        record->engine = context.engine;
        record->textId = textId;
        record->dialogTemplate = context.resources->GetDialogTemplate(textId, 1);
        type->Style |= OTS_PUSH_NO_DOT_DOT_DOT;
        Param(0).Style = PUSHBUTTON_TYPE_CALLBACK;
        Param(0).IconID = FieldNumber(option, L"ICONID");
        Param(0).lParam = reinterpret_cast<LPARAM>(record);
        return true;
    }
};

size_t ParamCount(BYTE controlType, size_t options) {
    switch (controlType) {
    case TVOT_2STATES:
        return 2;
    case TVOT_3STATES:
        return 3;
    case TVOT_UDARROW:
    case TVOT_EDITBOX:
        return 2;
    case TVOT_TRACKBAR:
    case TVOT_SCROLLBAR:
        return 3;
    case TVOT_PUSHBUTTON:
    case TVOT_CHKBOX:
        return 1;
    case TVOT_NSTATES_EX:
        return 0;
    default:
        return options;
    }
}

bool KnownType(BYTE controlType) {
    return controlType <= TVOT_NSTATES_EX || controlType == kControlTypePropSheet ||
           controlType == kControlTypePropSheetUI || controlType == kControlTypeTabControl;
}

} // namespace

LPWSTR ItemText(const ItemBuildContext& context, DWORD textId, LPCWSTR literal) {
    WCHAR text[kTextChars] = {};
    if (textId != 0 && textId <= 0xFFFF &&
        SUCCEEDED(context.resources->LoadString(textId, text, kTextChars)) && text[0] != 0) {
        return CopyText(context.heap, text);
    }
    if (literal != nullptr && literal[0] != 0) {
        return CopyText(context.heap, literal);
    }
    return CopyText(context.heap, textId != 0 ? L"NO AVAILABLE RESOURCE" : L"");
}

bool BuildOptType(const ItemBuildContext& context, BYTE controlType, OPTITEM& item) {
    if (!KnownType(controlType)) {
        return false;
    }
    store::StructureHandle option = nullptr;
    const bool hasOptions =
        store::GetStructure(context.record, L"OPTION", &option, nullptr) == store::kClassSuccess;
    const size_t optionCount = hasOptions ? store::GetRecordCount(option) : 0;
    Builder builder{context, item};
    if (!builder.Allocate(controlType, ParamCount(controlType, optionCount))) {
        return false;
    }
    if (!hasOptions) {
        return true;
    }
    if (!builder.Reference(option)) {
        return false;
    }
    if (!builder.IsListLike()) {
        return builder.Single(option);
    }
    // The handle is the structure's one cursor: each step selects the next OPTION record.
    const size_t params = builder.type->Count;
    for (size_t index = 0; index < params; ++index) {
        if (index > 0 && store::GetStructure(context.record, L"OPTION", &option, nullptr) !=
                             store::kClassSuccess) {
            break;
        }
        if (!builder.ListOption(option, index)) {
            return false;
        }
    }
    return true;
}

} // namespace moltr::ui
