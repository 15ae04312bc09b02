// The values of option items by type. The check-box texts follow the CHKBOXS_ style of the
// item's OPTTYPE; numeric types show their selection (times the track or scroll bar's
// multiplier) followed by the postfix of their first OPTPARAM.
#include "src/compstui/option_item_values.h"

#include "src/compstui/cpsui_strings.h"
#include "sim/utf.h"

#include <string>

namespace moltr::platform::compstui {
namespace {

// The OPTPARAM count each type needs; 0 for list types (any number from 1).
struct TypeRule {
    BYTE type;
    WORD count;
};

constexpr TypeRule kTypeRules[] = {
    {TVOT_2STATES, 2},    {TVOT_3STATES, 3}, {TVOT_UDARROW, 2},  {TVOT_TRACKBAR, 3},
    {TVOT_SCROLLBAR, 3},  {TVOT_LISTBOX, 0}, {TVOT_COMBOBOX, 0}, {TVOT_EDITBOX, 2},
    {TVOT_PUSHBUTTON, 1}, {TVOT_CHKBOX, 1},
};

// The texts of a check box's unchecked and checked state by CHKBOXS_ style; 0 stands for the
// first OPTPARAM's own text.
struct CheckTexts {
    WORD style;
    UINT unchecked;
    UINT checked;
};

constexpr CheckTexts kCheckTexts[] = {
    {CHKBOXS_FALSE_TRUE, IDS_CPSUI_FALSE, IDS_CPSUI_TRUE},
    {CHKBOXS_NO_YES, IDS_CPSUI_NO, IDS_CPSUI_YES},
    {CHKBOXS_OFF_ON, IDS_CPSUI_OFF, IDS_CPSUI_ON},
    {CHKBOXS_FALSE_PDATA, IDS_CPSUI_FALSE, 0},
    {CHKBOXS_NO_PDATA, IDS_CPSUI_NO, 0},
    {CHKBOXS_OFF_PDATA, IDS_CPSUI_OFF, 0},
    {CHKBOXS_NONE_PDATA, IDS_CPSUI_NONE, 0},
};

const TypeRule* RuleOf(BYTE type) {
    for (const TypeRule& rule : kTypeRules) {
        if (rule.type == type) {
            return &rule;
        }
    }
    return nullptr;
}

bool IsNumeric(BYTE type) {
    return type == TVOT_UDARROW || type == TVOT_TRACKBAR || type == TVOT_SCROLLBAR;
}

bool IsListLike(BYTE type) {
    return type == TVOT_2STATES || type == TVOT_3STATES || type == TVOT_LISTBOX ||
           type == TVOT_COMBOBOX;
}

LONG RangeLow(const OPTITEM& item) {
    return static_cast<LONG>(static_cast<SHORT>(item.pOptType->pOptParam[1].IconID));
}

LONG RangeHigh(const OPTITEM& item) {
    return static_cast<LONG>(static_cast<SHORT>(item.pOptType->pOptParam[1].lParam));
}

std::u16string CheckBoxText(HINSTANCE caller, const OPTITEM& item) {
    for (const CheckTexts& texts : kCheckTexts) {
        if (texts.style == item.pOptType->Style) {
            const UINT id = item.Sel ? texts.checked : texts.unchecked;
            return id ? CpsuiString(id) : TextOf(caller, item.pOptType->pOptParam[0].pData);
        }
    }
    return CpsuiString(item.Sel ? IDS_CPSUI_TRUE : IDS_CPSUI_FALSE);
}

std::u16string NumberText(HINSTANCE caller, const OPTITEM& item) {
    LONG shown = item.Sel;
    if (item.pOptType->Type != TVOT_UDARROW && item.pOptType->pOptParam[2].IconID > 1) {
        shown *= static_cast<LONG>(item.pOptType->pOptParam[2].IconID);
    }
    std::u16string text = sim::Utf16(std::to_string(shown));
    const std::u16string postfix = TextOf(caller, item.pOptType->pOptParam[0].pData);
    if (!postfix.empty()) {
        if (!(item.pOptType->Flags & OPTTF_NOSPACE_BEFORE_POSTFIX)) {
            text += u' ';
        }
        text += postfix;
    }
    return text;
}

LONG CheckParams(const OPTTYPE& type) {
    if (!type.pOptParam) {
        return ERR_CPSUI_NULL_POPTPARAM;
    }
    for (WORD i = 0; i < type.Count; ++i) {
        if (type.pOptParam[i].cbSize != sizeof(OPTPARAM)) {
            return ERR_CPSUI_INVALID_OPTPARAM_CBSIZE;
        }
    }
    return 0;
}

LONG CheckType(const OPTITEM& item) {
    const OPTTYPE& type = *item.pOptType;
    if (type.cbSize != sizeof(OPTTYPE)) {
        return ERR_CPSUI_INVALID_OPTTYPE_CBSIZE;
    }
    const TypeRule* rule = RuleOf(type.Type);
    if (!rule) {
        return ERR_CPSUI_INVALID_TVOT_TYPE;
    }
    if (rule->count ? type.Count != rule->count : type.Count == 0) {
        return ERR_CPSUI_INVALID_OPTTYPE_COUNT;
    }
    if (const LONG params = CheckParams(type)) {
        return params;
    }
    if (type.Type == TVOT_EDITBOX) {
        if (!item.pSel) {
            return ERR_CPSUI_INVALID_EDITBOX_PSEL;
        }
        if (type.pOptParam[1].IconID < 2) {
            return ERR_CPSUI_INVALID_EDITBOX_BUF_SIZE;
        }
    }
    return 0;
}

LONG CheckExtension(const OPTITEM& item) {
    if (item.Flags & OPTIF_EXT_IS_EXTPUSH) {
        return item.pExtPush && item.pExtPush->cbSize != sizeof(EXTPUSH)
                   ? ERR_CPSUI_INVALID_EXTPUSH_CBSIZE
                   : 0;
    }
    if (!item.pExtChkBox) {
        return 0;
    }
    if (item.pExtChkBox->cbSize != sizeof(EXTCHKBOX)) {
        return ERR_CPSUI_INVALID_ECB_CBSIZE;
    }
    return item.pExtChkBox->pTitle ? 0 : ERR_CPSUI_NULL_ECB_PTITLE;
}

} // namespace

BYTE TypeOf(const OPTITEM& item) {
    return item.pOptType ? item.pOptType->Type : static_cast<BYTE>(TVOT_NONE);
}

WORD OptionCount(const OPTITEM& item) {
    return item.pOptType && item.pOptType->pOptParam ? item.pOptType->Count : 0;
}

bool SelectionAllowed(const OPTITEM& item, LONG sel) {
    const BYTE type = TypeOf(item);
    if (IsNumeric(type)) {
        return sel >= RangeLow(item) && sel <= RangeHigh(item);
    }
    if (type == TVOT_CHKBOX) {
        return sel == 0 || sel == 1;
    }
    if (!IsListLike(type)) {
        return false;
    }
    if (sel == -1) {
        return (type == TVOT_LISTBOX || type == TVOT_COMBOBOX) &&
               (item.pOptType->Style & OTS_LBCB_INCL_ITEM_NONE);
    }
    if (sel < 0 || sel >= OptionCount(item)) {
        return false;
    }
    return !(item.pOptType->pOptParam[sel].Flags & (OPTPF_HIDE | OPTPF_DISABLED));
}

size_t EditBufferLength(const OPTITEM& item) {
    return TypeOf(item) == TVOT_EDITBOX ? static_cast<size_t>(item.pOptType->pOptParam[1].IconID)
                                        : 0;
}

std::u16string OptionText(HINSTANCE caller, const OPTITEM& item, LONG index) {
    if (index < 0 || index >= OptionCount(item)) {
        return {};
    }
    return TextOf(caller, item.pOptType->pOptParam[index].pData);
}

std::u16string ValueText(HINSTANCE caller, const OPTITEM& item) {
    const BYTE type = TypeOf(item);
    if (IsNumeric(type)) {
        return NumberText(caller, item);
    }
    if (type == TVOT_CHKBOX) {
        return CheckBoxText(caller, item);
    }
    if (type == TVOT_EDITBOX) {
        return std::u16string(sim::View(item.pSel));
    }
    if (IsListLike(type)) {
        return item.Sel < 0 ? CpsuiString(IDS_CPSUI_NONE) : OptionText(caller, item, item.Sel);
    }
    return {};
}

std::u16string ItemText(HINSTANCE caller, const OPTITEM& item) {
    std::u16string text = TextOf(caller, item.pName);
    const BYTE type = TypeOf(item);
    if (type == TVOT_NONE || type == TVOT_PUSHBUTTON) {
        return text;
    }
    text += u": " + ValueText(caller, item);
    const bool extended = HasCheckBox(item) && !(item.Flags & OPTIF_EXT_HIDE);
    if (extended && (item.Flags & OPTIF_ECB_CHECKED)) {
        const std::u16string separator = TextOf(caller, item.pExtChkBox->pSeparator);
        text += (separator.empty() ? std::u16string(u", ") : separator) +
                TextOf(caller, item.pExtChkBox->pCheckedName);
    }
    return text;
}

bool HasCheckBox(const OPTITEM& item) {
    return item.pExtChkBox && !(item.Flags & OPTIF_EXT_IS_EXTPUSH);
}

bool HasExtPush(const OPTITEM& item) {
    return item.pExtPush && (item.Flags & OPTIF_EXT_IS_EXTPUSH);
}

bool ExtensionUsable(const OPTITEM& item) {
    return !(item.Flags & (OPTIF_EXT_HIDE | OPTIF_EXT_DISABLED));
}

LONG CheckItem(const OPTITEM& item) {
    if (item.cbSize != sizeof(OPTITEM)) {
        return ERR_CPSUI_INVALID_OPTITEM_CBSIZE;
    }
    if (!item.pName) {
        return ERR_CPSUI_NULL_OPTITEMNAME;
    }
    if (item.pOptType) {
        if (const LONG type = CheckType(item)) {
            return type;
        }
    }
    return CheckExtension(item);
}

} // namespace moltr::platform::compstui
