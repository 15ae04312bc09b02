#include "moltr/ui_actions.h"

#include <commctrl.h>
#include <prsht.h>
#include <cerrno>
#include <cstdlib>
#include "sim/option_item_views.h"
#include "sim/option_items.h"
#include "sim/user_input.h"
#include "sim/utf.h"
#include "sim/windows_admin.h"

namespace moltr::tool {
namespace {

using Kind = UiAction::Kind;

// Each action's word, and what follows its colon: nothing, ID, ID=NUMBER, ID=TEXT or an answer.
enum class Operand { kNone, kNumber, kId, kIdNumber, kIdText, kAnswer };

struct ActionForm {
    const char* word;
    Kind kind;
    Operand operand;
};

constexpr ActionForm kForms[] = {
    {"page", Kind::kPage, Operand::kNumber},     {"select", Kind::kSelect, Operand::kIdNumber},
    {"value", Kind::kValue, Operand::kIdNumber}, {"type", Kind::kType, Operand::kIdText},
    {"check", Kind::kCheck, Operand::kIdNumber}, {"click", Kind::kClick, Operand::kId},
    {"apply", Kind::kApply, Operand::kNone},     {"ok", Kind::kOk, Operand::kNone},
    {"cancel", Kind::kCancel, Operand::kNone},   {"respond", Kind::kRespond, Operand::kAnswer},
};

struct Answer {
    const char* name;
    int id;
};

constexpr Answer kAnswers[] = {
    {"IDOK", IDOK},       {"IDCANCEL", IDCANCEL},     {"IDABORT", IDABORT},
    {"IDRETRY", IDRETRY}, {"IDIGNORE", IDIGNORE},     {"IDYES", IDYES},
    {"IDNO", IDNO},       {"IDTRYAGAIN", IDTRYAGAIN}, {"IDCONTINUE", IDCONTINUE},
};

// A decimal or 0x-hexadecimal number, a minus sign allowed; false for anything else.
bool ParseNumber(const std::string& text, long long& number) {
    if (text.empty()) {
        return false;
    }
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    number = std::strtoll(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    return errno == 0 && *end == '\0' && (!hex || text[2] != '-');
}

bool ParseId(const std::string& text, DWORD& id) {
    long long number = 0;
    if (!ParseNumber(text, number) || number <= 0 || number > 0xFFFFFFFFLL) {
        return false;
    }
    id = static_cast<DWORD>(number);
    return true;
}

bool ParseAnswer(const std::string& text, LONG_PTR& answer) {
    for (const Answer& known : kAnswers) {
        if (text == known.name) {
            answer = known.id;
            return true;
        }
    }
    long long number = 0;
    if (!ParseNumber(text, number) || number < 1 || number > IDCONTINUE) {
        return false;
    }
    answer = static_cast<LONG_PTR>(number);
    return true;
}

std::string ParseOperand(Operand operand, const std::string& rest, UiAction& action) {
    const size_t equals = rest.find('=');
    const std::string id = operand == Operand::kIdNumber || operand == Operand::kIdText
                               ? rest.substr(0, equals)
                               : rest;
    const std::string after = equals == std::string::npos ? "" : rest.substr(equals + 1);
    long long number = 0;
    switch (operand) {
    case Operand::kNone:
        return {};
    case Operand::kNumber:
        if (!ParseNumber(rest, number) || number < 0 || number > 0xFFFF) {
            return "wants a page number from 0";
        }
        action.number = static_cast<LONG_PTR>(number);
        return {};
    case Operand::kAnswer:
        return ParseAnswer(rest, action.number) ? "" : "wants IDOK, IDCANCEL ... or a button id";
    case Operand::kId:
        return ParseId(id, action.id) ? "" : "wants an item or control id";
    case Operand::kIdNumber:
        if (!ParseId(id, action.id) || equals == std::string::npos || !ParseNumber(after, number)) {
            return "wants ID=NUMBER";
        }
        if (action.kind == Kind::kCheck && number != 0 && number != 1) {
            return "wants ID=0 or ID=1";
        }
        if (action.kind == Kind::kSelect && number < 0) {
            return "wants an option index from 0";
        }
        action.number = static_cast<LONG_PTR>(number);
        return {};
    case Operand::kIdText:
        if (!ParseId(id, action.id) || equals == std::string::npos) {
            return "wants ID=TEXT";
        }
        action.text = sim::Utf16(after);
        return {};
    }
    return {};
}

bool IsClass(HWND window, LPCWSTR name) {
    return lstrcmpiW(sim::W(sim::WindowClassName(window)), name) == 0;
}

// The text of option `index` of the item `id` as the engine knows it; empty when unknown.
std::u16string OptionText(DWORD id, LONG_PTR index) {
    for (const sim::OptionItemsView& view : sim::PublishedOptionItems()) {
        for (const sim::PublishedItem& item : view.items) {
            if (item.id == id && index >= 0 && static_cast<size_t>(index) < item.options.size()) {
                return item.options[static_cast<size_t>(index)].text;
            }
        }
    }
    return {};
}

// The index of the item's option whose value is `value`; -1 when it has none.
LONG_PTR OptionIndex(DWORD id, LONG_PTR value) {
    for (const sim::OptionItemsView& view : sim::PublishedOptionItems()) {
        for (const sim::PublishedItem& item : view.items) {
            for (size_t i = 0; item.id == id && i < item.options.size(); ++i) {
                if (item.options[i].value == value) {
                    return static_cast<LONG_PTR>(i);
                }
            }
        }
    }
    return -1;
}

// The user picks an entry from a combo or list box: the box changes its selection and tells its
// parent.
std::string ChooseEntry(HWND box, DWORD id, LONG_PTR option) {
    const bool combo = IsClass(box, L"ComboBox");
    const std::u16string text = OptionText(id, option);
    LRESULT entry =
        text.empty()
            ? option
            : SendMessageW(box, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                           static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(sim::W(text)));
    const LRESULT count = SendMessageW(box, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    if (entry < 0 || entry >= count) {
        return "has no option " + std::to_string(option);
    }
    return sim::ChooseEntry(box, static_cast<int>(entry)) ? "" : "cannot be chosen from";
}

// The user drags a track bar's thumb to `position`.
void DragThumb(HWND trackbar, LONG_PTR position) {
    SendMessageW(trackbar, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
    const LRESULT at = SendMessageW(trackbar, TBM_GETPOS, 0, 0);
    const UINT scroll = (GetWindowLongW(trackbar, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageW(GetParent(trackbar), scroll, MAKEWPARAM(TB_THUMBPOSITION, LOWORD(at)),
                 reinterpret_cast<LPARAM>(trackbar));
    SendMessageW(GetParent(trackbar), scroll, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(trackbar));
}

// The user focuses the edit control, selects its text and types `text` over it, key by key.
void TypeOver(HWND edit, const std::u16string& text) {
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    sim::TypeText(edit, text);
}

std::string Select(HWND control, const UiAction& action, LONG_PTR option) {
    if (IsClass(control, L"ComboBox") || IsClass(control, L"ListBox")) {
        return ChooseEntry(control, action.id, option);
    }
    if (IsClass(control, TRACKBAR_CLASSW)) {
        DragThumb(control, option);
        return {};
    }
    if (IsClass(control, L"Button")) {
        sim::ClickControl(control);
        return {};
    }
    return "cannot be chosen from";
}

std::string MakeOnControl(HWND control, const UiAction& action) {
    switch (action.kind) {
    case Kind::kSelect:
        return Select(control, action, action.number);
    case Kind::kValue: {
        const LONG_PTR index = OptionIndex(action.id, action.number);
        return index < 0 ? "has no option of value " + std::to_string(action.number)
                         : Select(control, action, index);
    }
    case Kind::kType:
        if (!IsClass(control, L"Edit")) {
            return "takes no text";
        }
        TypeOver(control, action.text);
        return {};
    case Kind::kCheck:
        if (!IsClass(control, L"Button")) {
            return "cannot be checked";
        }
        if ((SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) != (action.number == 1)) {
            sim::ClickControl(control);
        }
        return {};
    case Kind::kClick:
        sim::ClickControl(control);
        return {};
    default:
        return {};
    }
}

// The engine's item `id`, or null when unknown.
const OPTITEM* EngineItem(DWORD id) {
    for (const sim::OptionItemsView& view : sim::PublishedOptionItems()) {
        for (const sim::PublishedItem& item : view.items) {
            if (item.id == id) {
                return item.item;
            }
        }
    }
    return nullptr;
}

// The item's entry in the tree view of the sheet's option-item page (the host's items in UI
// type 1), found as the item itself: a host item and an own item may bear the same name. -1 when
// the page or the entry is not there.
int TreeEntry(HWND page, DWORD id) {
    const OPTITEM* item = EngineItem(id);
    for (const sim::PageItemView& entry : sim::OptionItems(page)) {
        if (item != nullptr && entry.item == item && entry.shown) {
            return entry.index;
        }
    }
    return -1;
}

// Makes the action in the tree view, as a user choosing the item and then its value.
bool MakeInTree(HWND page, int entry, const UiAction& action) {
    switch (action.kind) {
    case Kind::kSelect:
        return sim::SetOptionItemSelection(page, entry, static_cast<LONG>(action.number));
    case Kind::kValue: {
        const LONG_PTR index = OptionIndex(action.id, action.number);
        return index >= 0 && sim::SetOptionItemSelection(page, entry, static_cast<LONG>(index));
    }
    case Kind::kType:
        return sim::SetOptionItemText(page, entry, action.text);
    case Kind::kCheck:
        return sim::SetOptionItemCheck(page, entry, action.number == 1);
    case Kind::kClick:
        return sim::PushOptionItem(page, entry);
    default:
        return false;
    }
}

} // namespace

std::string MakeItemAction(HWND sheet, const UiAction& action) {
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    HWND control = page != nullptr ? GetDlgItem(page, static_cast<int>(action.id)) : nullptr;
    HWND tree = sim::OptionItemPageOf(sheet);
    const int entry = tree != nullptr && tree == page ? TreeEntry(tree, action.id) : -1;
    if (entry >= 0) {
        return MakeInTree(tree, entry, action)
                   ? ""
                   : "--do " + action.given + ": item " + std::to_string(action.id) +
                         " cannot be changed so";
    }
    if (control == nullptr) {
        return "--do " + action.given + ": the page shown has no item or control " +
               std::to_string(action.id);
    }
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
        return "--do " + action.given + ": control " + std::to_string(action.id) +
               " is hidden or disabled";
    }
    const std::string error = MakeOnControl(control, action);
    return error.empty()
               ? ""
               : "--do " + action.given + ": control " + std::to_string(action.id) + " " + error;
}

bool HasPage(HWND sheet, LONG_PTR page) {
    HWND tab = PropSheet_GetTabControl(sheet);
    return tab != nullptr && page < SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
}

std::string ParseUiAction(const std::string& text, UiAction& action) {
    const size_t colon = text.find(':');
    const std::string word = text.substr(0, colon);
    for (const ActionForm& form : kForms) {
        if (word != form.word) {
            continue;
        }
        if ((form.operand == Operand::kNone) != (colon == std::string::npos)) {
            break;
        }
        action = {};
        action.kind = form.kind;
        action.given = text;
        const std::string error = ParseOperand(
            form.operand, colon == std::string::npos ? "" : text.substr(colon + 1), action);
        return error.empty() ? "" : "--do " + text + ": " + form.word + " " + error;
    }
    return "unknown action '" + text +
           "' (page:N, select:ID=INDEX, value:ID=VALUE, type:ID=TEXT, check:ID=0|1, click:ID, "
           "apply, ok, cancel, respond:ANSWER)";
}

bool ClosesSheet(const UiAction& action) {
    return action.kind == Kind::kOk || action.kind == Kind::kCancel;
}

} // namespace moltr::tool
