#include "common/co_resources.h"
#include "common/dialog_template.h"

namespace moltr::common {

namespace {

constexpr UINT kNameSize = 256;
constexpr WCHAR kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kAlphabetLength = 52;
constexpr WORD kDefaultPoints = 8;

// The predefined classes that templates name by ordinal.
constexpr LPCWSTR kOrdinalClasses[] = {L"BUTTON",  L"EDIT",      L"STATIC",
                                       L"LISTBOX", L"SCROLLBAR", L"COMBOBOX"};
constexpr WORD kFirstOrdinalClass = 0x80;

// Out of sight and out of reach, keeping its size: the page's own controls take its place.
BOOL CALLBACK RetireChild(HWND child, LPARAM) {
    LONG style = GetWindowLongW(child, GWL_STYLE);
    SetWindowLongW(child, GWL_STYLE, style & ~static_cast<LONG>(WS_TABSTOP | WS_GROUP));
    RECT rect = {};
    GetWindowRect(child, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    MoveWindow(child, -width, -height, width, height, FALSE);
    ShowWindow(child, SW_HIDE);
    EnableWindow(child, FALSE);
    return TRUE;
}

LPCWSTR ItemClass(const TemplateName& name, WCHAR (&buffer)[kNameSize]) {
    if (!name.ordinal) {
        return CopyTemplateText(name, buffer, kNameSize) ? buffer : L"";
    }
    WORD index = name.id - kFirstOrdinalClass;
    if (name.id >= kFirstOrdinalClass && index < sizeof(kOrdinalClasses) / sizeof(LPCWSTR)) {
        return kOrdinalClasses[index];
    }
    return MAKEINTRESOURCEW(name.id);
}

LPCWSTR ItemTitle(const TemplateName& name, WCHAR (&buffer)[kNameSize]) {
    if (name.ordinal) {
        wsprintfW(buffer, L"#%d", name.id);
    } else if (!CopyTemplateText(name, buffer, kNameSize)) {
        buffer[0] = 0;
    }
    return buffer;
}

} // namespace

void CoResources::MakeDialogFont(LPCWSTR face, WORD points, BYTE charSet) {
    HDC screen = GetDC(nullptr);
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    font.lfWeight = 300;
    font.lfCharSet = charSet;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    dialogFont_ = CreateFontIndirectW(&font);
    if (dialogFont_) {
        HGDIOBJ previous = SelectObject(screen, dialogFont_);
        SIZE extent = {};
        GetTextExtentPoint32W(screen, kAlphabet, kAlphabetLength, &extent);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(screen, &metrics);
        SelectObject(screen, previous);
        baseUnitX_ = (extent.cx + 26) / 52;
        baseUnitY_ = metrics.tmHeight;
    } else {
        LONG units = GetDialogBaseUnits();
        baseUnitX_ = LOWORD(units);
        baseUnitY_ = HIWORD(units);
    }
    ReleaseDC(nullptr, screen);
}

STDMETHODIMP CoResources::CreateDialogControls(UINT templateId, HWND window, UINT textMode) {
    if (!window) {
        return E_INVALIDARG;
    }
    const DLGTEMPLATE* dialog = nullptr;
    if (FAILED(LoadDialogTemplate(templateId, &dialog, textMode))) {
        return E_FAIL;
    }
    DialogTemplateReader reader(dialog, static_cast<DWORD>(heap_.Size(dialog)));
    DialogHeader header;
    if (!reader.ReadHeader(&header)) {
        return E_FAIL;
    }
    EnumChildWindows(window, RetireChild, 0);
    WCHAR text[kNameSize];
    if (CopyTemplateText(header.caption, text, kNameSize) && text[0]) {
        SetWindowTextW(window, text);
    }
    DWORD mirrored = header.extended ? header.exStyle & WS_EX_LAYOUTRTL : 0;
    if (mirrored) {
        SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
    }
    if (!dialogFont_) {
        bool fromTemplate = header.hasFont && CopyTemplateText(header.face, text, kNameSize);
        MakeDialogFont(fromTemplate ? text : L"MS Shell Dlg",
                       fromTemplate ? header.pointSize : kDefaultPoints,
                       fromTemplate ? header.charSet : 0);
    }
    for (WORD index = 0; index < header.count; ++index) {
        DialogItem item;
        if (!reader.ReadItem(&item)) {
            break;
        }
        WCHAR className[kNameSize];
        HWND control = CreateWindowExW(
            item.exStyle | mirrored, ItemClass(item.windowClass, className),
            ItemTitle(item.title, text), item.style, MulDiv(item.x, baseUnitX_, 4),
            MulDiv(item.y, baseUnitY_, 8), MulDiv(item.cx, baseUnitX_, 4),
            MulDiv(item.cy, baseUnitY_, 8), window,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), callingModule_, nullptr);
        if (control) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_), FALSE);
        }
    }
    return S_OK;
}

} // namespace moltr::common
