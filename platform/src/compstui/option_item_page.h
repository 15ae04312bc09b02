#pragma once
// The page compstui shows for a COMPROPSHEETUI: a tree view of the OPTITEMs (nested by Level,
// collapsed with OPTIF_COLLAPSE, OPTIF_HIDE leaving an item and those below it out) and, below
// it, the change area with the control of the chosen item's type, its extended check box or
// push button. Changes go into the caller's OPTITEMs and are reported through the caller's
// callback, whose answer says what to show again.
#include "src/compstui/sheet_tree.h"

#include <commctrl.h>
#include <compstui.h>

#include <string>
#include <vector>

namespace moltr::platform::compstui {

// The page's controls; the change area's option buttons take kOptionFirst + their option.
namespace controls {
constexpr int kTree = 1100;
constexpr int kLabel = 1101;
constexpr int kValue = 1102;
constexpr int kSpin = 1103;
constexpr int kPostfix = 1104;
constexpr int kExtended = 1105;
constexpr int kOptionFirst = 1200;
} // namespace controls

class OptionItemPage {
public:
    // ERR_CPSUI_ code for a description compstui does not show, 0 when it can.
    static LONG Check(const COMPROPSHEETUI& ui);
    OptionItemPage(Node* node, const COMPROPSHEETUI& ui);
    OptionItemPage(const OptionItemPage&) = delete;
    OptionItemPage& operator=(const OptionItemPage&) = delete;
    ~OptionItemPage();

    // The page for the sheet; null when it cannot be made.
    HPROPSHEETPAGE CreatePage();
    // The page of `window`, or null when it is none.
    static OptionItemPage* OfWindow(HWND window);

    // The APPLYNOW callback; false when the caller keeps the sheet open.
    bool ApplyNow(HWND from);

    // What a user does on the page.
    bool Choose(int index);
    bool ChangeSelection(int index, LONG sel);
    bool ChangeText(int index, const std::u16string& text);
    bool ChangeCheck(int index, bool checked);
    bool Push(int index);

    int Current() const { return current_; }
    int Count() const { return ui_.cOptItem; }
    const OPTITEM& Item(int index) const { return ui_.pOptItem[index]; }
    HINSTANCE Caller() const { return ui_.hInstCaller; }
    bool Shown(int index) const;
    bool Expanded(int index) const;
    HWND Window() const { return node_->window; }

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Init(HWND window);
    LRESULT Notified(const NMHDR* header);
    void Command(int id, int code);

    CPSUICBPARAM Param(WORD reason, POPTITEM current, LONG_PTR old, HWND dialog) const;
    LONG Callback(WORD reason, POPTITEM current, LONG_PTR old);
    void Act(LONG action);
    bool RunDialog(DLGPROC proc, const DLGTEMPLATE* dialog, CPSUICBPARAM& param);
    void Changed();
    void FillTree();
    void ShowText(int index);
    void BuildChangeArea();
    void ClearChangeArea();
    HWND AddControl(const WCHAR* className, DWORD style, int id, const std::u16string& text,
                    RECT units);
    bool Enabled(int index) const;

    Node* node_;
    COMPROPSHEETUI ui_;
    std::vector<BYTE> template_;
    std::vector<HTREEITEM> treeItems_;
    std::vector<HWND> changeArea_;
    std::vector<LONG> listOptions_; // the options the change area's list shows, in order
    int current_ = -1;
    bool filling_ = false;
};

} // namespace moltr::platform::compstui
