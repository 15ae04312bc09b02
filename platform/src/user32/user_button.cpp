// The button control: push buttons, check boxes, radio buttons, group boxes and owner-drawn
// buttons. A click (the mouse released over it, the space bar released, BM_CLICK) moves an
// automatic button's check state first and then tells the parent BN_CLICKED.
#include "src/comctl32/control_state.h"
#include "src/user32/user_control_classes.h"
#include "src/user32/user_control_paint.h"

#include <vector>

namespace moltr::platform {
namespace {

enum class Kind { Push, Check, Radio, Group, OwnerDraw };

struct TypeRule {
    Kind kind;
    UINT maxCheck;  // the highest state BM_SETCHECK keeps
    bool automatic; // a click moves the check state
    LRESULT dialogCode;
};

// By the style's BS_TYPEMASK bits.
constexpr TypeRule kTypes[] = {
    {Kind::Push, 0, false, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},        // BS_PUSHBUTTON
    {Kind::Push, 0, false, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},          // BS_DEFPUSHBUTTON
    {Kind::Check, BST_CHECKED, false, DLGC_BUTTON},                    // BS_CHECKBOX
    {Kind::Check, BST_CHECKED, true, DLGC_BUTTON},                     // BS_AUTOCHECKBOX
    {Kind::Radio, BST_CHECKED, false, DLGC_BUTTON | DLGC_RADIOBUTTON}, // BS_RADIOBUTTON
    {Kind::Check, BST_INDETERMINATE, false, DLGC_BUTTON},              // BS_3STATE
    {Kind::Check, BST_INDETERMINATE, true, DLGC_BUTTON},               // BS_AUTO3STATE
    {Kind::Group, 0, false, DLGC_STATIC},                              // BS_GROUPBOX
    {Kind::Push, 0, false, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},        // BS_USERBUTTON
    {Kind::Radio, BST_CHECKED, true, DLGC_BUTTON | DLGC_RADIOBUTTON},  // BS_AUTORADIOBUTTON
    {Kind::Push, 0, false, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},        // BS_PUSHBOX
    {Kind::OwnerDraw, 0, false, DLGC_BUTTON},                          // BS_OWNERDRAW
    {Kind::Push, 0, false, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},        // 0xC to 0xF: unknown
    {Kind::Push, 0, false, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
    {Kind::Push, 0, false, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
    {Kind::Push, 0, false, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
};

constexpr int kMarkGap = 4;     // between a mark and its text
constexpr int kGroupIndent = 8; // of a group box's caption

// The radio buttons of `button`'s group other than itself: the siblings from the nearest one
// with WS_GROUP at or before it to the next one with WS_GROUP.
std::vector<HWND> GroupOthers(HWND button) {
    struct Search {
        HWND parent;
        HWND button;
        std::vector<HWND> group;
        bool passed = false;
        bool done = false;
    } search{GetParent(button), button, {}};
    EnumChildWindows(
        search.parent,
        [](HWND child, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if (s.done || GetParent(child) != s.parent) {
                return TRUE;
            }
            const bool starts = GetWindowLongW(child, GWL_STYLE) & WS_GROUP;
            if (starts && child != s.button) {
                if (s.passed) {
                    s.done = true;
                    return TRUE;
                }
                s.group.clear();
            }
            if (child == s.button) {
                s.passed = true;
            } else {
                s.group.push_back(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    std::erase_if(search.group, [](HWND child) {
        return !(SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON);
    });
    return search.group;
}

class Button {
public:
    explicit Button(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        switch (message) {
        case BM_GETCHECK:
            result = Type().maxCheck ? check_ : BST_UNCHECKED;
            return true;
        case BM_SETCHECK:
            SetCheck(static_cast<UINT>(wParam));
            return true;
        case BM_GETSTATE:
            result = State();
            return true;
        case BM_SETSTATE:
            pushed_ = wParam != 0;
            return true;
        case BM_SETSTYLE:
            SetWindowLongW(window_, GWL_STYLE,
                           (Style() & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK));
            return true;
        case BM_CLICK:
            SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageW(window_, WM_LBUTTONUP, 0, 0);
            return true;
        case BM_SETIMAGE:
            result = SetImage(wParam, reinterpret_cast<HANDLE>(lParam));
            return true;
        case BM_GETIMAGE:
            result = reinterpret_cast<LRESULT>(wParam == IMAGE_ICON ? icon_ : bitmap_);
            return true;
        case WM_GETDLGCODE:
            result = Type().dialogCode;
            return true;
        default:
            return HandleInput(message, wParam, lParam);
        }
    }

private:
    bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            tracking_ = Type().kind != Kind::Group && IsWindowEnabled(window_);
            pushed_ = tracking_;
            return true;
        case WM_MOUSEMOVE:
            pushed_ = tracking_ && Inside(lParam);
            return true;
        case WM_LBUTTONUP:
            if (tracking_) {
                tracking_ = false;
                pushed_ = false;
                if (Inside(lParam)) {
                    Click();
                }
            }
            return true;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && Type().kind != Kind::Group) {
                pushed_ = true;
            }
            return true;
        case WM_KEYUP:
            if (wParam == VK_SPACE && pushed_) {
                pushed_ = false;
                Click();
            }
            return true;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            focused_ = message == WM_SETFOCUS;
            pushed_ = pushed_ && focused_;
            if (Style() & BS_NOTIFY) {
                NotifyCommand(window_, focused_ ? BN_SETFOCUS : BN_KILLFOCUS);
            }
            return true;
        default:
            return false;
        }
    }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)); }
    const TypeRule& Type() const { return kTypes[Style() & BS_TYPEMASK]; }
    UINT State() const {
        return (Type().maxCheck ? check_ : 0) | (pushed_ ? BST_PUSHED : 0) |
               (focused_ ? BST_FOCUS : 0);
    }

    bool Inside(LPARAM lParam) const {
        RECT client{};
        GetClientRect(window_, &client);
        return Contains(client, PointOf(lParam));
    }

    void SetCheck(UINT state) { check_ = std::min(state, Type().maxCheck); }

    LRESULT SetImage(WPARAM type, HANDLE image) {
        HANDLE& slot = type == IMAGE_ICON ? icon_ : bitmap_;
        if (type != IMAGE_ICON && type != IMAGE_BITMAP) {
            return 0;
        }
        const HANDLE previous = slot;
        slot = image;
        return reinterpret_cast<LRESULT>(previous);
    }

    void Click() {
        const TypeRule& type = Type();
        if (type.automatic && type.kind == Kind::Radio) {
            for (HWND other : GroupOthers(window_)) {
                SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
            }
            check_ = BST_CHECKED;
        } else if (type.automatic) {
            check_ = (check_ + 1) % (type.maxCheck + 1);
        }
        NotifyCommand(window_, BN_CLICKED);
    }

    void Paint(HDC dc) const;
    void PaintPush(HDC dc, const RECT& client) const;
    void PaintMarked(HDC dc, const RECT& client) const;
    void PaintGroup(HDC dc, const RECT& client) const;
    void PaintOwnerDrawn(HDC dc, const RECT& client) const;
    void PaintContent(HDC dc, const RECT& area, UINT format) const;

    HWND window_;
    UINT check_ = BST_UNCHECKED;
    bool pushed_ = false;
    bool focused_ = false;
    bool tracking_ = false;
    HANDLE bitmap_ = nullptr;
    HANDLE icon_ = nullptr;
};

void Button::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(window_, &client);
    switch (Type().kind) {
    case Kind::OwnerDraw:
        PaintOwnerDrawn(dc, client);
        return;
    case Kind::Group:
        PaintGroup(dc, client);
        return;
    case Kind::Push:
        PaintPush(dc, client);
        return;
    default:
        if (Style() & BS_PUSHLIKE) {
            PaintPush(dc, client);
        } else {
            PaintMarked(dc, client);
        }
    }
}

// The horizontal placement of a button's text by its BS_LEFT, BS_RIGHT and BS_CENTER bits.
UINT TextFormat(DWORD style, UINT otherwise) {
    switch (style & BS_CENTER) {
    case BS_LEFT:
        return DT_LEFT;
    case BS_RIGHT:
        return DT_RIGHT;
    case BS_CENTER:
        return DT_CENTER;
    default:
        return otherwise;
    }
}

void Button::PaintPush(HDC dc, const RECT& client) const {
    PaintParentBackground(dc, window_, WM_CTLCOLORBTN, client, colours::kFace);
    const bool isDefault = (Style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const bool down = pushed_ || (Type().kind != Kind::Push && check_ != BST_UNCHECKED);
    RECT face = client;
    if (isDefault) {
        FrameLine(dc, face, colours::kDarkShadow);
        face = Inset(face, 1);
    }
    Frame3D(dc, face, !down);
    // The content moves with a pressed face.
    const RECT inside = Moved(Inset(face, 3), down, down);
    PaintContent(dc, inside, TextFormat(Style(), DT_CENTER) | DT_VCENTER | DT_SINGLELINE);
    if (focused_) {
        PaintFocusFrame(dc, inside);
    }
}

void Button::PaintMarked(HDC dc, const RECT& client) const {
    PaintParentBackground(dc, window_, WM_CTLCOLORSTATIC, client, colours::kFace);
    const bool markRight = Style() & BS_LEFTTEXT;
    const POINT mark{markRight ? client.right - kMarkSize : client.left,
                     (client.top + client.bottom - kMarkSize) / 2};
    const bool enabled = IsWindowEnabled(window_);
    if (Type().kind == Kind::Radio) {
        PaintRadioMark(dc, mark, check_ != BST_UNCHECKED, enabled, pushed_);
    } else {
        PaintCheckMark(dc, mark, check_, enabled, pushed_);
    }
    RECT text = client;
    if (markRight) {
        text.right -= kMarkSize + kMarkGap;
    } else {
        text.left += kMarkSize + kMarkGap;
    }
    const UINT lines = (Style() & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    PaintContent(dc, text, TextFormat(Style(), DT_LEFT) | lines);
    if (focused_) {
        const int height = LineHeight(window_);
        const int width = TextWidth(window_, WindowText(window_));
        const int top = (client.top + client.bottom - height) / 2;
        PaintFocusFrame(dc,
                        RECT{text.left - 1, top - 1,
                             std::min<LONG>(text.left + width + 1, text.right), top + height + 1});
    }
}

void Button::PaintGroup(HDC dc, const RECT& client) const {
    const std::u16string caption = WindowText(window_);
    const int height = LineHeight(window_);
    PaintParentBackground(dc, window_, WM_CTLCOLORSTATIC,
                          RECT{client.left, client.top, client.right, client.top + height},
                          colours::kFace);
    // An etched frame whose top runs through the middle of the caption.
    const RECT frame{client.left, client.top + height / 2, client.right - 1, client.bottom - 1};
    FrameLine(dc, Moved(frame, 1, 1), colours::kLight);
    FrameLine(dc, frame, colours::kShadow);
    if (!caption.empty()) {
        const int width = TextWidth(window_, caption);
        const RECT label{client.left + kGroupIndent, client.top,
                         client.left + kGroupIndent + width + 4, client.top + height};
        FillArea(dc, label, GetBkColor(dc));
        PaintContent(dc, RECT{label.left + 2, label.top, label.right, label.bottom},
                     DT_LEFT | DT_SINGLELINE);
    }
}

void Button::PaintOwnerDrawn(HDC dc, const RECT& client) const {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(window_));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (pushed_ ? ODS_SELECTED : 0) | (focused_ ? ODS_FOCUS : 0) |
                     (IsWindowEnabled(window_) ? 0 : ODS_DISABLED);
    item.hwndItem = window_;
    item.hDC = dc;
    item.rcItem = client;
    SendMessageW(GetParent(window_), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

// The button's bitmap or icon centred in `area` when its style asks for one, else its text.
void Button::PaintContent(HDC dc, const RECT& area, UINT format) const {
    if ((Style() & BS_BITMAP) && bitmap_) {
        PaintBitmap(dc, static_cast<HBITMAP>(bitmap_), area, true);
        return;
    }
    if ((Style() & BS_ICON) && icon_) {
        PaintIcon(dc, static_cast<HICON>(icon_), area, true);
        return;
    }
    if (!IsWindowEnabled(window_)) {
        SetTextColor(dc, colours::kGrayText);
    }
    PaintText(dc, window_, WindowText(window_), area, format);
}

} // namespace

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<Button>(window, message, wParam, lParam);
}

} // namespace moltr::platform
