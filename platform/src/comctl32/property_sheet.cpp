// The property sheet's frame. Pages are made when first shown; leaving a page asks it with
// PSN_KILLACTIVE (a non-zero answer keeps it), showing one tells it with PSN_SETACTIVE. OK and
// Apply leave the current page, then send PSN_APPLY to every page made so far (PSNRET_INVALID
// shows the refusing page, PSNRET_INVALID_NOCHANGEPAGE keeps the current one); Cancel asks the
// current page with PSN_QUERYCANCEL and then sends PSN_RESET to every page made.
#include "src/comctl32/property_sheet.h"

#include "src/comctl32/control_classes.h"
#include "src/comctl32/control_paint.h"
#include "src/comctl32/control_state.h"
#include "src/comctl32/property_page.h"
#include "sim/utf.h"

#include <commctrl.h>
#include <algorithm>
#include <vector>

namespace moltr::platform {
namespace {

// The frame's layout in dialog units, as the system lays out its sheets.
constexpr int kMargin = 7;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;
constexpr int kIconSize = 16;

struct SheetPage {
    HPROPSHEETPAGE handle = nullptr;
    HWND window = nullptr; // once shown
    bool changed = false;
};

class Sheet {
public:
    explicit Sheet(HWND frame) : frame_(frame) {}
    ~Sheet() {
        for (SheetPage& page : pages_) {
            DestroyPropertySheetPage(page.handle);
        }
        if (icons_) {
            ImageList_Destroy(icons_);
        }
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    bool Build(const PROPSHEETHEADERW& header) {
        flags_ = header.dwFlags;
        instance_ = header.hInstance;
        callback_ = (flags_ & PSH_USECALLBACK) ? header.pfnCallback : nullptr;
        if (!TakePages(header) || !Lay() || !Tabs()) {
            return false;
        }
        SetTitle(flags_ & PSH_PROPTITLE, header.pszCaption);
        if (!Show(StartPage(header))) {
            return false;
        }
        if (callback_) {
            callback_(frame_, PSCB_INITIALIZED, 0);
        }
        return true;
    }

    bool Ended(INT_PTR& result) const {
        result = Result();
        return ended_;
    }

    void ForceEnd() { ended_ = true; }

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(frame_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                Command(LOWORD(wParam));
            }
            return true;
        case WM_CLOSE:
            Cancel();
            return true;
        case WM_NOTIFY:
            result = TabNotification(reinterpret_cast<const NMHDR*>(lParam));
            return true;
        default:
            return SheetMessage(message, wParam, lParam, result);
        }
    }

private:
    bool SheetMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        switch (message) {
        case PSM_SETCURSEL:
            result = SetCurrent(
                IndexOf(reinterpret_cast<HPROPSHEETPAGE>(lParam), static_cast<int>(wParam)));
            return true;
        case PSM_ADDPAGE:
            result = AddPage(reinterpret_cast<HPROPSHEETPAGE>(lParam));
            return true;
        case PSM_REMOVEPAGE:
            RemovePage(IndexOf(reinterpret_cast<HPROPSHEETPAGE>(lParam), static_cast<int>(wParam)));
            return true;
        case PSM_CHANGED:
        case PSM_UNCHANGED:
            MarkChanged(reinterpret_cast<HWND>(wParam), message == PSM_CHANGED);
            result = TRUE;
            return true;
        case PSM_QUERYSIBLINGS:
            result = QuerySiblings(wParam, lParam);
            return true;
        case PSM_GETCURRENTPAGEHWND:
            result = ended_ || current_ < 0 ? 0 : reinterpret_cast<LRESULT>(PageWindow(current_));
            return true;
        case PSM_PRESSBUTTON:
            PressButton(static_cast<int>(wParam));
            return true;
        case PSM_SETTITLEW:
            SetTitle(static_cast<DWORD>(wParam), reinterpret_cast<LPCWSTR>(lParam));
            return true;
        case PSM_APPLY:
            result = Apply(false);
            return true;
        case PSM_REBOOTSYSTEM:
            restart_ |= ID_PSREBOOTSYSTEM;
            return true;
        case PSM_RESTARTWINDOWS:
            restart_ |= ID_PSRESTARTWINDOWS;
            return true;
        case PSM_GETTABCONTROL:
            result = reinterpret_cast<LRESULT>(tab_);
            return true;
        case PSM_INDEXTOHWND:
            result = reinterpret_cast<LRESULT>(PageWindow(static_cast<int>(wParam)));
            return true;
        case PSM_HWNDTOINDEX:
            result = IndexOfWindow(reinterpret_cast<HWND>(wParam));
            return true;
        case PSM_INDEXTOPAGE:
            result = Valid(static_cast<int>(wParam))
                         ? reinterpret_cast<LRESULT>(pages_[wParam].handle)
                         : 0;
            return true;
        case PSM_PAGETOINDEX:
            result = IndexOf(reinterpret_cast<HPROPSHEETPAGE>(lParam), -1);
            return true;
        case PSM_INDEXTOID:
            result = Valid(static_cast<int>(wParam)) ? TemplateId(static_cast<int>(wParam)) : 0;
            return true;
        case PSM_IDTOINDEX:
            result = IndexOfTemplateId(lParam);
            return true;
        case PSM_GETRESULT:
            result = ended_ ? Result() : -1;
            return true;
        default:
            return false;
        }
    }

    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(pages_.size()); }

    // A page's template as its description names it: a resource id, or for an indirect template
    // its address.
    LRESULT TemplateId(int index) const {
        return reinterpret_cast<LRESULT>(
            pages_[static_cast<size_t>(index)].handle->Description().pszTemplate);
    }

    int IndexOfTemplateId(LPARAM id) const {
        for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
            if (TemplateId(i) == id) {
                return i;
            }
        }
        return -1;
    }

    HWND PageWindow(int index) const {
        return Valid(index) ? pages_[static_cast<size_t>(index)].window : nullptr;
    }

    // A page handle takes precedence over an index.
    int IndexOf(HPROPSHEETPAGE handle, int index) const {
        if (!handle) {
            return Valid(index) ? index : -1;
        }
        for (size_t i = 0; i < pages_.size(); ++i) {
            if (pages_[i].handle == handle) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    int IndexOfWindow(HWND window) const {
        for (size_t i = 0; i < pages_.size(); ++i) {
            if (window && pages_[i].window == window) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    INT_PTR Result() const {
        if (!saved_) {
            return 0;
        }
        return restart_ ? restart_ : 1;
    }

    bool TakePages(const PROPSHEETHEADERW& header) {
        const BYTE* description = reinterpret_cast<const BYTE*>(header.ppsp);
        for (UINT i = 0; i < header.nPages; ++i) {
            HPROPSHEETPAGE page = nullptr;
            if (flags_ & PSH_PROPSHEETPAGE) {
                const auto* one = reinterpret_cast<const PROPSHEETPAGEW*>(description);
                page = one ? CreatePropertySheetPageW(one) : nullptr;
                description = page ? description + one->dwSize : nullptr;
            } else if (header.phpage && IsPropertyPage(header.phpage[i])) {
                page = header.phpage[i];
            }
            if (!page) {
                return false;
            }
            pages_.push_back({page, nullptr, false});
        }
        return !pages_.empty();
    }

    RECT Pixels(RECT units) const {
        MapDialogRect(frame_, &units);
        return units;
    }

    // The page area is as large as the largest page; the frame fits the tab and the buttons.
    bool Lay() {
        SIZE largest{0, 0};
        for (const SheetPage& page : pages_) {
            DialogTemplate parsed;
            if (!PageTemplate(page.handle, parsed)) {
                return false;
            }
            largest.cx = std::max(largest.cx, parsed.units.right - parsed.units.left);
            largest.cy = std::max(largest.cy, parsed.units.bottom - parsed.units.top);
        }
        const RECT margin = Pixels({0, 0, kMargin, kMargin});
        const RECT pageSize = Pixels({0, 0, largest.cx, largest.cy});
        tab_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0,
                               0, frame_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSheetTab)),
                               nullptr, nullptr);
        if (!tab_) {
            return false;
        }
        icons_ = ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 0, 4);
        SendMessageW(tab_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(icons_));
        RECT tabRect = pageSize;
        SendMessageW(tab_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tabRect));
        const LONG tabWidth = tabRect.right - tabRect.left;
        const LONG tabHeight = tabRect.bottom - tabRect.top;
        MoveWindow(tab_, margin.right, margin.bottom, tabWidth, tabHeight, FALSE);
        pageArea_ = {margin.right - tabRect.left, margin.bottom - tabRect.top,
                     margin.right - tabRect.left + pageSize.right,
                     margin.bottom - tabRect.top + pageSize.bottom};
        const LONG buttonsTop = margin.bottom + tabHeight + margin.bottom;
        const RECT button = Pixels({0, 0, kButtonWidth, kButtonHeight});
        const LONG width = margin.right * 2 + tabWidth;
        const LONG height = buttonsTop + button.bottom + margin.bottom;
        FitClient(width, height);
        return Buttons(width - margin.right, buttonsTop);
    }

    // The frame is made empty, and an empty window has no client area to tell its borders and
    // caption by: the frame is first given the client's size, then grown by what its non-client
    // parts take of it.
    void FitClient(LONG width, LONG height) {
        RECT frame{};
        GetWindowRect(frame_, &frame);
        MoveWindow(frame_, frame.left, frame.top, width, height, FALSE);
        RECT client{};
        GetClientRect(frame_, &client);
        MoveWindow(frame_, frame.left, frame.top, width + (width - client.right),
                   height + (height - client.bottom), FALSE);
    }

    // From the right: Help (with PSH_HASHELP), Apply (unless PSH_NOAPPLYNOW), Cancel, OK.
    bool Buttons(LONG right, LONG top) {
        struct Button {
            int id;
            const WCHAR* text;
            bool shown;
        };
        const Button buttons[] = {
            {IDHELP, L"Help", (flags_ & PSH_HASHELP) != 0},
            {kApplyButton, L"&Apply", !(flags_ & PSH_NOAPPLYNOW)},
            {IDCANCEL, L"Cancel", true},
            {IDOK, L"OK", true},
        };
        const RECT size = Pixels({0, 0, kButtonWidth, kButtonHeight});
        const RECT gap = Pixels({0, 0, kButtonGap, 0});
        for (const Button& button : buttons) {
            if (!button.shown) {
                continue;
            }
            const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                (button.id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                                (button.id == kApplyButton ? WS_DISABLED : 0);
            if (!CreateWindowExW(0, L"Button", button.text, style, right - size.right, top,
                                 size.right, size.bottom, frame_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), nullptr,
                                 nullptr)) {
                return false;
            }
            right -= size.right + gap.right;
        }
        return true;
    }

    bool InsertTab(int index) {
        const HPROPSHEETPAGE page = pages_[static_cast<size_t>(index)].handle;
        DialogTemplate parsed;
        PageTemplate(page, parsed);
        std::u16string caption = PageCaption(page, parsed);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = sim::W(caption);
        HICON icon = PageIcon(page);
        item.iImage = icon ? ImageList_AddIcon(icons_, icon) : -1;
        return SendMessageW(tab_, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(&item)) == index;
    }

    bool Tabs() {
        for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
            if (!InsertTab(i)) {
                return false;
            }
        }
        return true;
    }

    int StartPage(const PROPSHEETHEADERW& header) const {
        if (!(flags_ & PSH_USEPSTARTPAGE)) {
            return Valid(static_cast<int>(header.nStartPage)) ? static_cast<int>(header.nStartPage)
                                                              : 0;
        }
        const std::u16string wanted = TextOrResource(instance_, header.pStartPage);
        for (size_t i = 0; i < pages_.size(); ++i) {
            DialogTemplate parsed;
            PageTemplate(pages_[i].handle, parsed);
            if (lstrcmpiW(sim::W(PageCaption(pages_[i].handle, parsed)), sim::W(wanted)) == 0) {
                return static_cast<int>(i);
            }
        }
        return 0;
    }

    void SetTitle(DWORD style, LPCWSTR text) {
        if (!text) {
            return;
        }
        std::u16string title = TextOrResource(instance_, text);
        if (style & PSH_PROPTITLE) {
            title += u" Properties";
        }
        SetWindowTextW(frame_, sim::W(title));
    }

    LRESULT Notify(int index, UINT code, LPARAM lParam) {
        HWND window = PageWindow(index);
        if (!window) {
            return 0;
        }
        PSHNOTIFY notification{{frame_, 0, code}, lParam};
        return SendMessageW(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notification));
    }

    // Whether the current page lets itself be left.
    bool LeaveCurrent() { return current_ < 0 || Notify(current_, PSN_KILLACTIVE, 0) == 0; }

    // Shows the page at `index`, making its window first; the page it replaces is hidden.
    bool Show(int index) {
        if (!Valid(index)) {
            return false;
        }
        SheetPage& page = pages_[static_cast<size_t>(index)];
        if (!page.window) {
            page.window = CreatePageWindow(page.handle, frame_, pageArea_);
            if (!page.window) {
                return false;
            }
        }
        if (current_ != index && PageWindow(current_)) {
            ShowWindow(PageWindow(current_), SW_HIDE);
        }
        current_ = index;
        SendMessageW(tab_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(index, PSN_SETACTIVE, 0);
        // Above the tab control, which would otherwise paint over it.
        SetWindowPos(page.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(page.window, SW_SHOW);
        return true;
    }

    BOOL SetCurrent(int index) {
        if (!Valid(index)) {
            return FALSE;
        }
        if (index == current_) {
            return TRUE;
        }
        return LeaveCurrent() && Show(index) ? TRUE : FALSE;
    }

    LRESULT TabNotification(const NMHDR* header) {
        if (!header || header->hwndFrom != tab_) {
            return 0;
        }
        if (header->code == TCN_SELCHANGING) {
            return LeaveCurrent() ? FALSE : TRUE;
        }
        if (header->code == TCN_SELCHANGE) {
            Show(static_cast<int>(SendMessageW(tab_, TCM_GETCURSEL, 0, 0)));
        }
        return 0;
    }

    BOOL AddPage(HPROPSHEETPAGE page) {
        if (!IsPropertyPage(page) || pages_.size() + 1 >= MAXPROPPAGES) {
            return FALSE;
        }
        pages_.push_back({page, nullptr, false});
        if (!InsertTab(static_cast<int>(pages_.size()) - 1)) {
            pages_.pop_back();
            return FALSE;
        }
        return TRUE;
    }

    // The removed page's neighbour takes its place when it was showing.
    void RemovePage(int index) {
        if (!Valid(index)) {
            return;
        }
        if (index == current_ && pages_.size() > 1) {
            Show(index > 0 ? index - 1 : 1);
        }
        SheetPage page = pages_[static_cast<size_t>(index)];
        pages_.erase(pages_.begin() + index);
        SendMessageW(tab_, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
        if (current_ > index) {
            --current_;
        } else if (current_ == index) {
            current_ = -1;
        }
        if (page.window) {
            DestroyWindow(page.window);
        }
        DestroyPropertySheetPage(page.handle);
        UpdateApply();
    }

    void MarkChanged(HWND window, bool changed) {
        const int index = IndexOfWindow(window);
        if (index >= 0) {
            pages_[static_cast<size_t>(index)].changed = changed;
        }
        UpdateApply();
    }

    bool AnyChanged() const {
        return std::any_of(pages_.begin(), pages_.end(),
                           [](const SheetPage& page) { return page.changed; });
    }

    void UpdateApply() {
        if (HWND apply = GetDlgItem(frame_, kApplyButton)) {
            EnableWindow(apply, AnyChanged() ? TRUE : FALSE);
        }
    }

    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam) {
        for (size_t i = 0; i < pages_.size(); ++i) {
            if (HWND window = pages_[i].window) {
                if (LRESULT answer = SendMessageW(window, PSM_QUERYSIBLINGS, wParam, lParam)) {
                    return answer;
                }
            }
        }
        return 0;
    }

    // Every page made so far applies its changes; `closing` tells them whether OK was pressed.
    BOOL Apply(bool closing) {
        if (!LeaveCurrent()) {
            return FALSE;
        }
        const bool changed = AnyChanged();
        for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
            const LRESULT answer = Notify(i, PSN_APPLY, closing ? TRUE : FALSE);
            if (answer == PSNRET_INVALID) {
                Show(i);
                return FALSE;
            }
            if (answer == PSNRET_INVALID_NOCHANGEPAGE) {
                return FALSE;
            }
        }
        saved_ = saved_ || changed;
        for (SheetPage& page : pages_) {
            page.changed = false;
        }
        UpdateApply();
        return TRUE;
    }

    void Ok() {
        if (Apply(true)) {
            ended_ = true;
        }
    }

    void Cancel() {
        if (current_ >= 0 && Notify(current_, PSN_QUERYCANCEL, 0) != 0) {
            return;
        }
        for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
            Notify(i, PSN_RESET, FALSE);
        }
        ended_ = true;
    }

    void Command(int id) {
        switch (id) {
        case IDOK:
            Ok();
            break;
        case IDCANCEL:
            Cancel();
            break;
        case kApplyButton:
            Apply(false);
            break;
        case IDHELP:
            Notify(current_, PSN_HELP, 0);
            break;
        default:
            break;
        }
    }

    void PressButton(int button) {
        struct Press {
            int button;
            int id;
        };
        constexpr Press kPresses[] = {{PSBTN_OK, IDOK},
                                      {PSBTN_CANCEL, IDCANCEL},
                                      {PSBTN_APPLYNOW, kApplyButton},
                                      {PSBTN_HELP, IDHELP}};
        for (const Press& press : kPresses) {
            HWND control = GetDlgItem(frame_, press.id);
            if (press.button == button && control && IsWindowEnabled(control)) {
                Command(press.id);
            }
        }
    }

    void Paint(HDC dc) const {
        RECT client{};
        GetClientRect(frame_, &client);
        FillArea(dc, client, colours::kFace);
    }

    HWND frame_;
    HWND tab_ = nullptr;
    HIMAGELIST icons_ = nullptr;
    DWORD flags_ = 0;
    HINSTANCE instance_ = nullptr;
    PFNPROPSHEETCALLBACK callback_ = nullptr;
    std::vector<SheetPage> pages_;
    RECT pageArea_{};
    int current_ = -1;
    bool ended_ = false;
    bool saved_ = false;
    INT_PTR restart_ = 0;
};

} // namespace

LRESULT CALLBACK SheetFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<Sheet>(window, message, wParam, lParam);
}

HWND CreateSheet(const PROPSHEETHEADERW& header, DWORD frameStyle) {
    HWND frame = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kSheetFrameClass, L"",
                                 frameStyle & ~WS_VISIBLE, 0, 0, 0, 0, header.hwndParent, nullptr,
                                 header.hInstance, nullptr);
    Sheet* sheet = frame ? StateOf<Sheet>(frame) : nullptr;
    if (!sheet || !sheet->Build(header)) {
        if (frame) {
            DestroyWindow(frame);
        }
        return nullptr;
    }
    ShowWindow(frame, SW_SHOW);
    return frame;
}

bool SheetEnded(HWND sheet, INT_PTR& result) {
    const Sheet* state = IsWindow(sheet) ? StateOf<Sheet>(sheet) : nullptr;
    result = 0;
    return !state || state->Ended(result);
}

void ForceSheetEnd(HWND sheet) {
    if (Sheet* state = IsWindow(sheet) ? StateOf<Sheet>(sheet) : nullptr) {
        state->ForceEnd();
    }
}

} // namespace moltr::platform
