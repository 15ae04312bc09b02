// The change area of the option-item page, and the changes a user makes through it: each new
// value goes into the caller's OPTITEM first, then to the caller's callback (for items with
// OPTIF_CALLBACK), whose answer says what to show again. A value equal to the old one changes
// nothing and calls nobody.
#include "src/compstui/option_item_page.h"

#include "src/compstui/cpsui_strings.h"
#include "src/compstui/option_item_values.h"
#include "sim/utf.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace moltr::platform::compstui {
namespace {

using namespace controls;

constexpr LONG kLeft = 7;
constexpr LONG kRight = 245;
constexpr LONG kLabelTop = 152;
constexpr LONG kValueTop = 164;
constexpr LONG kExtendedTop = 198;

std::u16string Dots(const std::u16string& text, bool none) {
    return none ? text : text + u"...";
}

} // namespace

void OptionItemPage::BuildChangeArea() {
    ClearChangeArea();
    if (current_ < 0 || !Window()) {
        return;
    }
    const OPTITEM& item = Item(current_);
    const BYTE type = TypeOf(item);
    const HINSTANCE caller = ui_.hInstCaller;
    const std::u16string name = TextOf(caller, item.pName);
    if (type != TVOT_PUSHBUTTON && type != TVOT_NONE) {
        AddControl(L"Static", 0, kLabel, name + u":", {kLeft, kLabelTop, kRight, kLabelTop + 10});
    }
    const RECT value{kLeft, kValueTop, kLeft + 160, kValueTop + 14};
    switch (type) {
    case TVOT_2STATES:
    case TVOT_3STATES:
        for (LONG i = 0; i < OptionCount(item); ++i) {
            const OPTPARAM& option = item.pOptType->pOptParam[i];
            if (option.Flags & OPTPF_HIDE) {
                continue;
            }
            const LONG x = kLeft + 80 * i;
            HWND button =
                AddControl(L"Button", BS_AUTORADIOBUTTON, kOptionFirst + i,
                           OptionText(caller, item, i), {x, kValueTop, x + 76, kValueTop + 12});
            SendMessageW(button, BM_SETCHECK, item.Sel == i ? BST_CHECKED : BST_UNCHECKED, 0);
            EnableWindow(button,
                         !(option.Flags & OPTPF_DISABLED) && !(item.Flags & OPTIF_DISABLED));
        }
        break;
    case TVOT_LISTBOX:
    case TVOT_COMBOBOX: {
        const bool combo = type == TVOT_COMBOBOX;
        HWND list =
            AddControl(combo ? L"ComboBox" : L"ListBox",
                       combo ? CBS_DROPDOWNLIST | WS_VSCROLL : WS_BORDER | WS_VSCROLL, kValue, u"",
                       {kLeft, kValueTop, kLeft + 160, kValueTop + (combo ? 80 : 30)});
        for (LONG i = 0; i < OptionCount(item); ++i) {
            if (item.pOptType->pOptParam[i].Flags & OPTPF_HIDE) {
                continue;
            }
            std::u16string text = OptionText(caller, item, i);
            SendMessageW(list, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(sim::W(text)));
            if (item.Sel == i) {
                SendMessageW(list, combo ? CB_SETCURSEL : LB_SETCURSEL, listOptions_.size(), 0);
            }
            listOptions_.push_back(i);
        }
        break;
    }
    case TVOT_UDARROW: {
        AddControl(L"Edit", WS_BORDER | ES_AUTOHSCROLL, kValue,
                   sim::Utf16(std::to_string(item.Sel)),
                   {kLeft, kValueTop, kLeft + 50, kValueTop + 12});
        HWND spin = AddControl(L"msctls_updown32", 0, kSpin, u"",
                               {kLeft + 50, kValueTop, kLeft + 60, kValueTop + 12});
        SendMessageW(spin, UDM_SETRANGE32,
                     static_cast<WPARAM>(static_cast<SHORT>(item.pOptType->pOptParam[1].IconID)),
                     static_cast<LPARAM>(static_cast<SHORT>(item.pOptType->pOptParam[1].lParam)));
        SendMessageW(spin, UDM_SETPOS32, 0, item.Sel);
        AddControl(L"Static", 0, kPostfix, TextOf(caller, item.pOptType->pOptParam[0].pData),
                   {kLeft + 64, kValueTop + 2, kRight, kValueTop + 12});
        break;
    }
    case TVOT_TRACKBAR:
    case TVOT_SCROLLBAR: {
        const bool track = type == TVOT_TRACKBAR;
        HWND bar = AddControl(track ? L"msctls_trackbar32" : L"ScrollBar",
                              track ? TBS_HORZ : 0 /* a scroll bar is horizontal by default */,
                              kValue, u"", value);
        if (track) {
            SendMessageW(
                bar, TBM_SETRANGE, TRUE,
                MAKELPARAM(item.pOptType->pOptParam[1].IconID, item.pOptType->pOptParam[1].lParam));
            SendMessageW(bar, TBM_SETPOS, TRUE, item.Sel);
        }
        AddControl(L"Static", 0, kPostfix, ValueText(caller, item),
                   {kLeft + 164, kValueTop + 2, kRight, kValueTop + 12});
        break;
    }
    case TVOT_EDITBOX: {
        HWND edit =
            AddControl(L"Edit", WS_BORDER | ES_AUTOHSCROLL, kValue, ValueText(caller, item), value);
        SendMessageW(edit, EM_LIMITTEXT, EditBufferLength(item) - 1, 0);
        break;
    }
    case TVOT_PUSHBUTTON:
        AddControl(L"Button", BS_PUSHBUTTON, kValue,
                   Dots(name, item.pOptType->Style & OTS_PUSH_NO_DOT_DOT_DOT), value);
        break;
    case TVOT_CHKBOX: {
        HWND box = AddControl(L"Button", BS_AUTOCHECKBOX, kValue, ValueText(caller, item), value);
        SendMessageW(box, BM_SETCHECK, item.Sel ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    }
    default:
        break;
    }
    if ((HasCheckBox(item) || HasExtPush(item)) && !(item.Flags & OPTIF_EXT_HIDE)) {
        const bool push = HasExtPush(item);
        const std::u16string title = push ? Dots(TextOf(caller, item.pExtPush->pTitle),
                                                 item.pExtPush->Flags & EPF_NO_DOT_DOT_DOT)
                                          : TextOf(caller, item.pExtChkBox->pTitle);
        HWND extension = AddControl(L"Button", push ? BS_PUSHBUTTON : BS_AUTOCHECKBOX, kExtended,
                                    title, {kLeft, kExtendedTop, kLeft + 160, kExtendedTop + 14});
        if (!push) {
            SendMessageW(extension, BM_SETCHECK,
                         (item.Flags & OPTIF_ECB_CHECKED) ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        EnableWindow(extension, ExtensionUsable(item) && Enabled(current_));
    }
}

bool OptionItemPage::Choose(int index) {
    if (!Shown(index)) {
        return false;
    }
    SendMessageW(GetDlgItem(Window(), kTree), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(treeItems_[static_cast<size_t>(index)]));
    if (current_ != index) {
        current_ = index;
        BuildChangeArea();
    }
    return true;
}

bool OptionItemPage::ChangeSelection(int index, LONG sel) {
    if (index < 0 || index >= Count() || !Enabled(index)) {
        return false;
    }
    OPTITEM& item = ui_.pOptItem[index];
    if (!SelectionAllowed(item, sel)) {
        return false;
    }
    if (item.Sel == sel) {
        return true;
    }
    const LONG old = item.Sel;
    item.Sel = sel;
    item.Flags |= OPTIF_CHANGEONCE; // the user's change, as the caller may ask on apply
    Changed();
    ShowText(index);
    if (item.Flags & OPTIF_CALLBACK) {
        Act(Callback(CPSUICB_REASON_SEL_CHANGED, &item, old));
    }
    return true;
}

// The typed text goes into the caller's buffer as far as it holds, terminated.
bool OptionItemPage::ChangeText(int index, const std::u16string& text) {
    if (index < 0 || index >= Count() || !Enabled(index)) {
        return false;
    }
    OPTITEM& item = ui_.pOptItem[index];
    if (TypeOf(item) == TVOT_UDARROW) {
        const std::string digits = sim::Utf8(text);
        char* end = nullptr;
        const long value = std::strtol(digits.c_str(), &end, 10);
        return !digits.empty() && end && *end == 0 && ChangeSelection(index, value);
    }
    if (TypeOf(item) != TVOT_EDITBOX) {
        return false;
    }
    const size_t room = EditBufferLength(item);
    const std::u16string kept = text.substr(0, room - 1);
    std::u16string old(sim::View(item.pSel));
    if (old == kept) {
        return true;
    }
    std::memcpy(item.pSel, kept.c_str(), (kept.size() + 1) * sizeof(WCHAR));
    item.Flags |= OPTIF_CHANGEONCE;
    Changed();
    ShowText(index);
    if (item.Flags & OPTIF_CALLBACK) {
        Act(Callback(CPSUICB_REASON_SEL_CHANGED, &item, reinterpret_cast<LONG_PTR>(sim::W(old))));
    }
    return true;
}

bool OptionItemPage::ChangeCheck(int index, bool checked) {
    if (index < 0 || index >= Count() || !Enabled(index)) {
        return false;
    }
    OPTITEM& item = ui_.pOptItem[index];
    if (!HasCheckBox(item) || !ExtensionUsable(item)) {
        return false;
    }
    const bool was = (item.Flags & OPTIF_ECB_CHECKED) != 0;
    if (was == checked) {
        return true;
    }
    item.Flags ^= OPTIF_ECB_CHECKED;
    item.Flags |= OPTIF_CHANGEONCE;
    Changed();
    ShowText(index);
    Act(Callback(CPSUICB_REASON_ECB_CHANGED, &item, was));
    return true;
}

namespace {

// A dialog's template: the one given by handle, else the caller's dialog resource of that id.
const DLGTEMPLATE* DialogTemplate(HINSTANCE caller, bool byHandle, ULONG_PTR given) {
    if (byHandle) {
        return reinterpret_cast<const DLGTEMPLATE*>(given);
    }
    HRSRC found = FindResourceW(caller, MAKEINTRESOURCEW(given), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(caller, found) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
}

} // namespace

// A dialog push button's procedure gets the callback's parameters with WM_INITDIALOG.
bool OptionItemPage::RunDialog(DLGPROC proc, const DLGTEMPLATE* dialog, CPSUICBPARAM& param) {
    if (!proc || !dialog) {
        return false;
    }
    DialogBoxIndirectParamW(ui_.hInstCaller, dialog, Window(), proc,
                            reinterpret_cast<LPARAM>(&param));
    Act(CPSUICB_ACTION_OPTIF_CHANGED);
    return true;
}

// A push button calls its own function when its OPTPARAM names one, else the page's callback,
// or shows its dialog; an extended push button calls the function or shows the dialog its
// EXTPUSH names.
bool OptionItemPage::Push(int index) {
    if (index < 0 || index >= Count() || !Enabled(index)) {
        return false;
    }
    OPTITEM& item = ui_.pOptItem[index];
    CPSUICBPARAM param = Param(0, &item, item.Sel, Window());
    _CPSUICALLBACK function = nullptr;
    if (TypeOf(item) == TVOT_PUSHBUTTON) {
        const OPTPARAM& button = item.pOptType->pOptParam[0];
        if (button.Style == PUSHBUTTON_TYPE_DLGPROC) {
            param.Reason = CPSUICB_REASON_DLGPROC;
            return RunDialog(reinterpret_cast<DLGPROC>(button.pData),
                             DialogTemplate(ui_.hInstCaller, button.Flags & OPTPF_USE_HDLGTEMPLATE,
                                            static_cast<ULONG_PTR>(button.lParam)),
                             param);
        }
        if (button.Style != PUSHBUTTON_TYPE_CALLBACK) {
            return false;
        }
        param.Reason = CPSUICB_REASON_PUSHBUTTON;
        function = button.pData ? reinterpret_cast<_CPSUICALLBACK>(button.pData) : ui_.pfnCallBack;
    } else if (HasExtPush(item) && ExtensionUsable(item)) {
        const EXTPUSH& push = *item.pExtPush;
        param.Reason = CPSUICB_REASON_EXTPUSH;
        if (push.Flags & EPF_PUSH_TYPE_DLGPROC) {
            return RunDialog(push.DlgProc,
                             DialogTemplate(ui_.hInstCaller, push.Flags & EPF_USE_HDLGTEMPLATE,
                                            (push.Flags & EPF_USE_HDLGTEMPLATE)
                                                ? reinterpret_cast<ULONG_PTR>(push.hDlgTemplate)
                                                : push.DlgTemplateID),
                             param);
        }
        function = reinterpret_cast<_CPSUICALLBACK>(reinterpret_cast<void (*)()>(push.pfnCallBack));
    }
    if (!function) {
        return false;
    }
    Act(function(&param));
    return true;
}

} // namespace moltr::platform::compstui
