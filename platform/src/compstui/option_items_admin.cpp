// sim/option_items.h: the simulated user on an option-item page. A change goes through the
// control of the change area first, as the user sets it, and then to the page as the control's
// notification would bring it.
#include "sim/option_items.h"

#include "src/compstui/cpsui_strings.h"
#include "src/compstui/option_item_page.h"
#include "src/compstui/option_item_values.h"

#include "sim/utf.h"

#include <prsht.h>

namespace moltr::sim {

using platform::compstui::OptionItemPage;

HWND OptionItemPageOf(HWND sheet) {
    for (int i = 0; SendMessageW(sheet, PSM_INDEXTOPAGE, static_cast<WPARAM>(i), 0); ++i) {
        HWND page = PropSheet_IndexToHwnd(sheet, i);
        if (page && OptionItemPage::OfWindow(page)) {
            return page;
        }
    }
    return nullptr;
}

std::vector<PageItemView> OptionItems(HWND window) {
    std::vector<PageItemView> views;
    const OptionItemPage* page = OptionItemPage::OfWindow(window);
    if (!page) {
        return views;
    }
    for (int i = 0; i < page->Count(); ++i) {
        const OPTITEM& item = page->Item(i);
        PageItemView view;
        view.index = i;
        view.level = item.Level;
        view.text = platform::compstui::ItemText(page->Caller(), item);
        view.name = platform::compstui::TextOf(page->Caller(), item.pName);
        view.value = platform::compstui::ValueText(page->Caller(), item);
        view.shown = page->Shown(i);
        view.enabled = !(item.Flags & OPTIF_DISABLED);
        view.expanded = page->Expanded(i);
        view.current = page->Current() == i;
        view.flags = item.Flags;
        view.sel = platform::compstui::TypeOf(item) == TVOT_EDITBOX ? 0 : item.Sel;
        view.item = &item;
        views.push_back(view);
    }
    return views;
}

namespace {

using namespace platform::compstui::controls;

OptionItemPage* Chosen(HWND window, int index) {
    OptionItemPage* page = OptionItemPage::OfWindow(window);
    return page && page->Choose(index) ? page : nullptr;
}

// Sets the change area's control as the user would leave it.
void SetControl(HWND window, const OPTITEM& item, LONG sel) {
    HWND control = GetDlgItem(window, kValue);
    switch (platform::compstui::TypeOf(item)) {
    case TVOT_COMBOBOX:
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(sel), 0);
        break;
    case TVOT_LISTBOX:
        SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(sel), 0);
        break;
    case TVOT_CHKBOX:
        SendMessageW(control, BM_SETCHECK, sel ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case TVOT_TRACKBAR:
        SendMessageW(control, TBM_SETPOS, TRUE, sel);
        break;
    case TVOT_UDARROW:
        SendMessageW(GetDlgItem(window, kSpin), UDM_SETPOS32, 0, sel);
        break;
    default:
        SendMessageW(GetDlgItem(window, kOptionFirst + sel), BM_SETCHECK, BST_CHECKED, 0);
        break;
    }
}

} // namespace

bool ChooseOptionItem(HWND window, int index) {
    return Chosen(window, index) != nullptr;
}

bool SetOptionItemSelection(HWND window, int index, LONG sel) {
    OptionItemPage* page = Chosen(window, index);
    if (!page) {
        return false;
    }
    SetControl(window, page->Item(index), sel);
    return page->ChangeSelection(index, sel);
}

bool SetOptionItemText(HWND window, int index, const std::u16string& text) {
    OptionItemPage* page = Chosen(window, index);
    if (!page) {
        return false;
    }
    SetWindowTextW(GetDlgItem(window, kValue), W(text));
    return page->ChangeText(index, text);
}

bool SetOptionItemCheck(HWND window, int index, bool checked) {
    OptionItemPage* page = Chosen(window, index);
    if (!page) {
        return false;
    }
    SendMessageW(GetDlgItem(window, kExtended), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED,
                 0);
    return page->ChangeCheck(index, checked);
}

bool PushOptionItem(HWND window, int index) {
    OptionItemPage* page = Chosen(window, index);
    return page && page->Push(index);
}

} // namespace moltr::sim
