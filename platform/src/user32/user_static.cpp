// The static control: a label, an icon or bitmap, a filled or framed rectangle, an etched line,
// or an area its parent draws. With SS_NOTIFY it tells the parent of clicks and of being enabled
// or disabled; it never takes the focus.
#include "src/comctl32/control_state.h"
#include "src/user32/user_control_classes.h"
#include "src/user32/user_control_paint.h"

namespace moltr::platform {
namespace {

enum class Kind { Text, Icon, Bitmap, Fill, Frame, Etched, OwnerDraw, None };

struct TypeRule {
    Kind kind;
    UINT format;     // a text's DrawText format
    COLORREF colour; // a fill's or frame's
};

constexpr UINT kWrapped = DT_WORDBREAK;

// By the style's SS_TYPEMASK bits.
constexpr TypeRule kTypes[] = {
    {Kind::Text, DT_LEFT | kWrapped, 0},      // SS_LEFT
    {Kind::Text, DT_CENTER | kWrapped, 0},    // SS_CENTER
    {Kind::Text, DT_RIGHT | kWrapped, 0},     // SS_RIGHT
    {Kind::Icon, 0, 0},                       // SS_ICON
    {Kind::Fill, 0, colours::kText},          // SS_BLACKRECT
    {Kind::Fill, 0, colours::kShadow},        // SS_GRAYRECT
    {Kind::Fill, 0, colours::kWindow},        // SS_WHITERECT
    {Kind::Frame, 0, colours::kText},         // SS_BLACKFRAME
    {Kind::Frame, 0, colours::kShadow},       // SS_GRAYFRAME
    {Kind::Frame, 0, colours::kWindow},       // SS_WHITEFRAME
    {Kind::None, 0, 0},                       // SS_USERITEM
    {Kind::Text, DT_LEFT | DT_SINGLELINE, 0}, // SS_SIMPLE
    {Kind::Text, DT_LEFT, 0},                 // SS_LEFTNOWORDWRAP
    {Kind::OwnerDraw, 0, 0},                  // SS_OWNERDRAW
    {Kind::Bitmap, 0, 0},                     // SS_BITMAP
    {Kind::None, 0, 0},                       // SS_ENHMETAFILE
    {Kind::Etched, 0, 0},                     // SS_ETCHEDHORZ
    {Kind::Etched, 0, 0},                     // SS_ETCHEDVERT
    {Kind::Etched, 0, 0},                     // SS_ETCHEDFRAME
};

const TypeRule& RuleOf(DWORD style) {
    static constexpr TypeRule kUnknown{Kind::None, 0, 0};
    const DWORD type = style & SS_TYPEMASK;
    return type < std::size(kTypes) ? kTypes[type] : kUnknown;
}

// The etched line or frame of an SS_ETCHED* type: a shadow line with a light one beside it.
void PaintEtched(HDC dc, DWORD type, const RECT& client) {
    switch (type) {
    case SS_ETCHEDHORZ:
        Line(dc, client.left, client.top, client.right, client.top, colours::kShadow);
        Line(dc, client.left, client.top + 1, client.right, client.top + 1, colours::kLight);
        return;
    case SS_ETCHEDVERT:
        Line(dc, client.left, client.top, client.left, client.bottom, colours::kShadow);
        Line(dc, client.left + 1, client.top, client.left + 1, client.bottom, colours::kLight);
        return;
    default: {
        const RECT frame{client.left, client.top, client.right - 1, client.bottom - 1};
        FrameLine(dc, Moved(frame, 1, 1), colours::kLight);
        FrameLine(dc, frame, colours::kShadow);
    }
    }
}

class Static {
public:
    explicit Static(HWND window) : window_(window) {}

    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (PaintMessage(window_, message, wParam, [this](HDC dc) { Paint(dc); })) {
            return true;
        }
        switch (message) {
        case WM_CREATE:
            LoadNamedImage(*reinterpret_cast<const CREATESTRUCTW*>(lParam));
            return false;
        case STM_SETICON:
            result = SetImage(IMAGE_ICON, reinterpret_cast<HANDLE>(wParam));
            return true;
        case STM_GETICON:
            result = reinterpret_cast<LRESULT>(ImageOf(IMAGE_ICON));
            return true;
        case STM_SETIMAGE:
            result = SetImage(wParam, reinterpret_cast<HANDLE>(lParam));
            return true;
        case STM_GETIMAGE:
            result = reinterpret_cast<LRESULT>(ImageOf(wParam));
            return true;
        case WM_GETDLGCODE:
            result = DLGC_STATIC;
            return true;
        default:
            return HandleNotifying(message, wParam);
        }
    }

private:
    // What SS_NOTIFY tells the parent.
    bool HandleNotifying(UINT message, WPARAM wParam) {
        if (!(Style() & SS_NOTIFY)) {
            return false;
        }
        switch (message) {
        case WM_LBUTTONDOWN:
            NotifyCommand(window_, STN_CLICKED);
            return true;
        case WM_LBUTTONDBLCLK:
            NotifyCommand(window_, STN_DBLCLK);
            return true;
        case WM_ENABLE:
            NotifyCommand(window_, wParam ? STN_ENABLE : STN_DISABLE);
            return true;
        default:
            return false;
        }
    }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)); }

    // An icon or bitmap static made with a name shows the resource of that name, from the module
    // that made it.
    void LoadNamedImage(const CREATESTRUCTW& create) {
        const LPCWSTR name = create.lpszName;
        if (!name || (!IS_INTRESOURCE(name) && !*name)) {
            return;
        }
        const Kind kind = RuleOf(Style()).kind;
        if (kind == Kind::Icon) {
            SetImage(IMAGE_ICON, LoadIconW(create.hInstance, name));
        } else if (kind == Kind::Bitmap) {
            SetImage(IMAGE_BITMAP, LoadBitmapW(create.hInstance, name));
        }
    }

    // A static keeps one image; icons and cursors are alike to it.
    static WPARAM Family(WPARAM type) { return type == IMAGE_CURSOR ? IMAGE_ICON : type; }

    LRESULT SetImage(WPARAM type, HANDLE image) {
        if (type != IMAGE_ICON && type != IMAGE_CURSOR && type != IMAGE_BITMAP) {
            return 0;
        }
        const HANDLE previous = image_;
        image_ = image;
        imageType_ = Family(type);
        return reinterpret_cast<LRESULT>(previous);
    }

    HANDLE ImageOf(WPARAM type) const { return Family(type) == imageType_ ? image_ : nullptr; }

    void Paint(HDC dc) const;
    void PaintText(HDC dc, const RECT& client, UINT format) const;
    void PaintImage(HDC dc, const RECT& client, Kind kind) const;
    void PaintOwnerDrawn(HDC dc, const RECT& client) const;

    HWND window_;
    HANDLE image_ = nullptr;
    WPARAM imageType_ = IMAGE_BITMAP;
};

void Static::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(window_, &client);
    const TypeRule& rule = RuleOf(Style());
    switch (rule.kind) {
    case Kind::Text:
        PaintText(dc, client, rule.format);
        break;
    case Kind::Icon:
    case Kind::Bitmap:
        PaintImage(dc, client, rule.kind);
        break;
    case Kind::Fill:
        FillArea(dc, client, rule.colour);
        break;
    case Kind::Frame:
        FrameLine(dc, client, rule.colour);
        break;
    case Kind::Etched:
        PaintEtched(dc, Style() & SS_TYPEMASK, client);
        break;
    case Kind::OwnerDraw:
        PaintOwnerDrawn(dc, client);
        break;
    case Kind::None:
        break;
    }
    if (Style() & SS_SUNKEN) {
        Frame3D(dc, client, false);
    }
}

void Static::PaintText(HDC dc, const RECT& client, UINT format) const {
    PaintParentBackground(dc, window_, WM_CTLCOLORSTATIC, client, colours::kFace);
    if (Style() & SS_NOPREFIX) {
        format |= DT_NOPREFIX;
    }
    // SS_CENTERIMAGE centres a single line of text vertically.
    if (Style() & SS_CENTERIMAGE) {
        format = (format & ~kWrapped) | DT_SINGLELINE | DT_VCENTER;
    }
    if (!IsWindowEnabled(window_)) {
        SetTextColor(dc, colours::kGrayText);
    }
    platform::PaintText(dc, window_, WindowText(window_), client, format);
}

void Static::PaintImage(HDC dc, const RECT& client, Kind kind) const {
    PaintParentBackground(dc, window_, WM_CTLCOLORSTATIC, client, colours::kFace);
    const bool centred = Style() & SS_CENTERIMAGE;
    if (kind == Kind::Icon && imageType_ == IMAGE_ICON && image_) {
        PaintIcon(dc, static_cast<HICON>(image_), client, centred);
    } else if (kind == Kind::Bitmap && imageType_ == IMAGE_BITMAP && image_) {
        PaintBitmap(dc, static_cast<HBITMAP>(image_), client, centred);
    }
}

void Static::PaintOwnerDrawn(HDC dc, const RECT& client) const {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(window_));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = IsWindowEnabled(window_) ? 0 : ODS_DISABLED;
    item.hwndItem = window_;
    item.hDC = dc;
    item.rcItem = client;
    SendMessageW(GetParent(window_), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

} // namespace

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return StateWindowProc<Static>(window, message, wParam, lParam);
}

} // namespace moltr::platform
