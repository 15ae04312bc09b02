// The option-item page: its template, its tree view and its change area, and the callbacks a
// user's changes cause.
#include "src/compstui/option_item_page.h"

#include "src/compstui/cpsui_strings.h"
#include "src/compstui/option_item_values.h"
#include "src/compstui/page_front.h"
#include "sim/utf.h"

#include <commctrl.h>

#include <cstring>
#include <mutex>
#include <set>
#include <string>

namespace moltr::platform::compstui {
namespace {

using namespace controls;

// The page's layout in dialog units, the size of the system's printer pages.
constexpr short kPageWidth = 252;
constexpr short kPageHeight = 218;
constexpr RECT kTreeUnits{7, 7, 245, 147};

struct Pages {
    std::mutex lock;
    std::set<const OptionItemPage*> live;
};

Pages& ThePages() {
    static Pages* pages = new Pages;
    return *pages;
}

// The pages compstui draws itself.
bool IsOwnLayout(PDLGPAGE layout) {
    return layout == CPSUI_PDLGPAGE_DOCPROP || layout == CPSUI_PDLGPAGE_ADVDOCPROP ||
           layout == CPSUI_PDLGPAGE_PRINTERPROP || layout == CPSUI_PDLGPAGE_TREEVIEWONLY;
}

void Word(std::vector<BYTE>& bytes, WORD value) {
    bytes.push_back(LOBYTE(value));
    bytes.push_back(HIBYTE(value));
}

void Dword(std::vector<BYTE>& bytes, DWORD value) {
    Word(bytes, LOWORD(value));
    Word(bytes, HIWORD(value));
}

void Text(std::vector<BYTE>& bytes, const std::u16string& text) {
    for (char16_t c : text) {
        Word(bytes, c);
    }
    Word(bytes, 0);
}

// A template with the tree view alone; the change area is made for the item chosen.
std::vector<BYTE> PageTemplate(const std::u16string& caption) {
    std::vector<BYTE> bytes;
    Dword(bytes, WS_CHILD | WS_CAPTION | DS_3DLOOK);
    Dword(bytes, 0);
    Word(bytes, 1);
    for (short value : {short{0}, short{0}, kPageWidth, kPageHeight}) {
        Word(bytes, static_cast<WORD>(value));
    }
    Word(bytes, 0);
    Word(bytes, 0);
    Text(bytes, caption);
    bytes.resize((bytes.size() + 3) & ~size_t{3});
    Dword(bytes, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                     TVS_LINESATROOT | TVS_SHOWSELALWAYS);
    Dword(bytes, 0);
    for (LONG value : {kTreeUnits.left, kTreeUnits.top, kTreeUnits.right - kTreeUnits.left,
                       kTreeUnits.bottom - kTreeUnits.top}) {
        Word(bytes, static_cast<WORD>(value));
    }
    Word(bytes, kTree);
    Text(bytes, u"SysTreeView32");
    Text(bytes, u"");
    Word(bytes, 0);
    return bytes;
}

std::u16string Caption(PDLGPAGE layout) {
    return CpsuiString(layout == CPSUI_PDLGPAGE_PRINTERPROP ? IDS_CPSUI_DEVICE_SETTINGS
                                                            : IDS_CPSUI_ADVANCED);
}

bool IsListType(BYTE type) {
    return type == TVOT_LISTBOX || type == TVOT_COMBOBOX;
}

} // namespace

LONG OptionItemPage::Check(const COMPROPSHEETUI& ui) {
    if (ui.cbSize != sizeof(COMPROPSHEETUI)) {
        return ERR_CPSUI_INVALID_PDATA;
    }
    if (!ui.hInstCaller) {
        return ERR_CPSUI_NULL_HINST;
    }
    if (!ui.pCallerName) {
        return ERR_CPSUI_NULL_CALLERNAME;
    }
    if (ui.cOptItem == 0) {
        return ERR_CPSUI_ZERO_OPTITEM;
    }
    if (!ui.pOptItem) {
        return ERR_CPSUI_NULL_POPTITEM;
    }
    if (!IsOwnLayout(ui.pDlgPage)) {
        return ERR_CPSUI_INVALID_PDLGPAGE;
    }
    for (WORD i = 0; i < ui.cOptItem; ++i) {
        if (const LONG item = CheckItem(ui.pOptItem[i])) {
            return item;
        }
    }
    return 0;
}

OptionItemPage::OptionItemPage(Node* node, const COMPROPSHEETUI& ui)
    : node_(node), ui_(ui), template_(PageTemplate(Caption(ui.pDlgPage))) {
    std::lock_guard guard(ThePages().lock);
    ThePages().live.insert(this);
}

OptionItemPage::~OptionItemPage() {
    std::lock_guard guard(ThePages().lock);
    ThePages().live.erase(this);
}

HPROPSHEETPAGE OptionItemPage::CreatePage() {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DLGINDIRECT;
    page.hInstance = ui_.hInstCaller;
    page.pResource = reinterpret_cast<const DLGTEMPLATE*>(template_.data());
    page.pfnDlgProc = Proc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return CreatePropertySheetPageW(&page);
}

OptionItemPage* OptionItemPage::OfWindow(HWND window) {
    auto* page = reinterpret_cast<OptionItemPage*>(GetWindowLongPtrW(window, DWLP_USER));
    std::lock_guard guard(ThePages().lock);
    return ThePages().live.count(page) && page->node_->window == window ? page : nullptr;
}

INT_PTR CALLBACK OptionItemPage::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<OptionItemPage*>(
            reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->Init(window);
        return TRUE;
    }
    OptionItemPage* page = OfWindow(window);
    return page ? page->Handle(message, wParam, lParam) : FALSE;
}

void OptionItemPage::Init(HWND window) {
    node_->window = window;
    FillTree();
}

INT_PTR OptionItemPage::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY:
        SetWindowLongPtrW(Window(), DWLP_MSGRESULT,
                          Notified(reinterpret_cast<const NMHDR*>(lParam)));
        return TRUE;
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
        if (current_ >= 0 && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kValue) {
            ChangeSelection(current_, static_cast<LONG>(SendMessageW(reinterpret_cast<HWND>(lParam),
                                                                     TBM_GETPOS, 0, 0)));
        }
        return TRUE;
    case WM_DESTROY:
        node_->window = nullptr;
        treeItems_.clear();
        changeArea_.clear();
        return FALSE;
    default:
        return FALSE;
    }
}

LRESULT OptionItemPage::Notified(const NMHDR* header) {
    if (!header) {
        return 0;
    }
    if (header->idFrom == kTree && header->code == TVN_SELCHANGEDW) {
        if (!filling_) {
            current_ =
                static_cast<int>(reinterpret_cast<const NMTREEVIEWW*>(header)->itemNew.lParam);
            BuildChangeArea();
        }
        return 0;
    }
    switch (header->code) {
    case PSN_SETACTIVE:
        Act(Callback(CPSUICB_REASON_SETACTIVE, ui_.pOptItem, reinterpret_cast<LONG_PTR>(&ui_)));
        return 0;
    case PSN_KILLACTIVE:
        Act(Callback(CPSUICB_REASON_KILLACTIVE, ui_.pOptItem, reinterpret_cast<LONG_PTR>(&ui_)));
        return FALSE;
    case PSN_APPLY:
        return AnswerApply(node_, Window());
    default:
        return 0;
    }
}

void OptionItemPage::Command(int id, int code) {
    if (current_ < 0) {
        return;
    }
    HWND control = GetDlgItem(Window(), id);
    const BYTE type = TypeOf(Item(current_));
    if (id >= kOptionFirst && code == BN_CLICKED) {
        ChangeSelection(current_, id - kOptionFirst);
    } else if (id == kExtended && code == BN_CLICKED) {
        if (HasExtPush(Item(current_))) {
            Push(current_);
        } else {
            ChangeCheck(current_, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
        }
    } else if (id == kValue && IsListType(type) && code == CBN_SELCHANGE) {
        const auto shown = static_cast<size_t>(
            SendMessageW(control, type == TVOT_COMBOBOX ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
        if (shown < listOptions_.size()) {
            ChangeSelection(current_, listOptions_[shown]);
        }
    } else if (id == kValue && code == BN_CLICKED) {
        if (type == TVOT_PUSHBUTTON) {
            Push(current_);
        } else if (type == TVOT_CHKBOX) {
            ChangeSelection(current_, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
        }
    } else if (id == kValue && code == EN_KILLFOCUS) {
        std::u16string text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
        text.resize(static_cast<size_t>(
            GetWindowTextW(control, sim::W(text), static_cast<int>(text.size()))));
        ChangeText(current_, text);
    }
}

CPSUICBPARAM OptionItemPage::Param(WORD reason, POPTITEM current, LONG_PTR old, HWND dialog) const {
    CPSUICBPARAM param{};
    param.cbSize = sizeof param;
    param.Reason = reason;
    param.hDlg = dialog;
    param.pOptItem = ui_.pOptItem;
    param.cOptItem = ui_.cOptItem;
    param.pCurItem = current;
    param.pOldSel = reinterpret_cast<LPWSTR>(old);
    param.UserData = ui_.UserData;
    param.Result = CPSUI_OK;
    return param;
}

LONG OptionItemPage::Callback(WORD reason, POPTITEM current, LONG_PTR old) {
    if (!ui_.pfnCallBack) {
        return CPSUICB_ACTION_NONE;
    }
    CPSUICBPARAM param = Param(reason, current, old, Window());
    return ui_.pfnCallBack(&param);
}

void OptionItemPage::Act(LONG action) {
    if (!Window()) {
        return;
    }
    if (action == CPSUICB_ACTION_REINIT_ITEMS) {
        FillTree();
        return;
    }
    if (action != CPSUICB_ACTION_OPTIF_CHANGED && action != CPSUICB_ACTION_ITEMS_APPLIED) {
        return;
    }
    bool currentChanged = false;
    for (int i = 0; i < Count(); ++i) {
        if (ui_.pOptItem[i].Flags & OPTIF_CHANGED) {
            ui_.pOptItem[i].Flags &= ~static_cast<DWORD>(OPTIF_CHANGED);
            ShowText(i);
            currentChanged |= i == current_;
        }
    }
    if (currentChanged) {
        BuildChangeArea();
    }
}

void OptionItemPage::Changed() {
    if (Window()) {
        PropSheet_Changed(GetParent(Window()), Window());
    }
}

// OldSel -1 asks for every changed value; the callback's Result goes up to the functions.
bool OptionItemPage::ApplyNow(HWND from) {
    CPSUICBPARAM param =
        Param(CPSUICB_REASON_APPLYNOW, ui_.pOptItem, -1, Window() ? Window() : from);
    const LONG action = ui_.pfnCallBack ? ui_.pfnCallBack(&param) : CPSUICB_ACTION_NONE;
    if (action == CPSUICB_ACTION_NO_APPLY_EXIT) {
        return false;
    }
    Act(action);
    SetResult(node_, static_cast<LRESULT>(param.Result));
    return true;
}

bool OptionItemPage::Enabled(int index) const {
    return !(Item(index).Flags & OPTIF_DISABLED);
}

bool OptionItemPage::Shown(int index) const {
    return index >= 0 && static_cast<size_t>(index) < treeItems_.size() && treeItems_[index];
}

bool OptionItemPage::Expanded(int index) const {
    if (!Shown(index)) {
        return false;
    }
    TVITEMW got{};
    got.mask = TVIF_STATE;
    got.hItem = treeItems_[static_cast<size_t>(index)];
    got.stateMask = TVIS_EXPANDED;
    SendMessageW(GetDlgItem(Window(), kTree), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&got));
    return (got.state & TVIS_EXPANDED) != 0;
}

// Items nest by Level under the nearest item before them of a lower Level; a hidden item hides
// those below it.
void OptionItemPage::FillTree() {
    HWND tree = GetDlgItem(Window(), kTree);
    filling_ = true;
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    treeItems_.assign(static_cast<size_t>(Count()), nullptr);
    struct Open {
        BYTE level;
        HTREEITEM item; // null when hidden
    };
    std::vector<Open> open;
    for (int i = 0; i < Count(); ++i) {
        const OPTITEM& item = Item(i);
        while (!open.empty() && open.back().level >= item.Level) {
            open.pop_back();
        }
        const bool parentShown = open.empty() || open.back().item;
        HTREEITEM made = nullptr;
        if (parentShown && !(item.Flags & OPTIF_HIDE)) {
            std::u16string text = ItemText(ui_.hInstCaller, item);
            TVINSERTSTRUCTW insert{};
            insert.hParent = open.empty() ? TVI_ROOT : open.back().item;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_PARAM;
            insert.item.pszText = sim::W(text);
            insert.item.lParam = i;
            made = reinterpret_cast<HTREEITEM>(
                SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        }
        treeItems_[static_cast<size_t>(i)] = made;
        open.push_back({item.Level, made});
    }
    for (int i = 0; i < Count(); ++i) {
        if (Shown(i) && !(Item(i).Flags & OPTIF_COLLAPSE)) {
            SendMessageW(tree, TVM_EXPAND, TVE_EXPAND,
                         reinterpret_cast<LPARAM>(treeItems_[static_cast<size_t>(i)]));
        }
    }
    int chosen = Shown(current_) ? current_ : -1;
    for (int i = 0; i < Count() && chosen < 0; ++i) {
        if (Shown(i) && (Item(i).Flags & OPTIF_INITIAL_TVITEM)) {
            chosen = i;
        }
    }
    for (int i = 0; i < Count() && chosen < 0; ++i) {
        chosen = Shown(i) ? i : -1;
    }
    current_ = chosen;
    if (chosen >= 0) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(treeItems_[static_cast<size_t>(chosen)]));
    }
    filling_ = false;
    BuildChangeArea();
}

void OptionItemPage::ShowText(int index) {
    if (!Shown(index)) {
        return;
    }
    std::u16string text = ItemText(ui_.hInstCaller, Item(index));
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = treeItems_[static_cast<size_t>(index)];
    item.pszText = sim::W(text);
    SendMessageW(GetDlgItem(Window(), kTree), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void OptionItemPage::ClearChangeArea() {
    for (HWND control : changeArea_) {
        DestroyWindow(control);
    }
    changeArea_.clear();
    listOptions_.clear();
}

HWND OptionItemPage::AddControl(const WCHAR* className, DWORD style, int id,
                                const std::u16string& text, RECT units) {
    MapDialogRect(Window(), &units);
    const DWORD disabled = current_ >= 0 && !Enabled(current_) ? WS_DISABLED : 0;
    HWND control = CreateWindowExW(
        0, className, sim::W(text), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style | disabled,
        units.left, units.top, units.right - units.left, units.bottom - units.top, Window(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ui_.hInstCaller, nullptr);
    if (control) {
        changeArea_.push_back(control);
    }
    return control;
}

} // namespace moltr::platform::compstui
