// Window classes: the system's control classes and RegisterClassW, RegisterClassExW,
// UnregisterClassW, GetClassInfoExW and GetClassNameW.
#include "src/comctl32/control_state.h"
#include "src/kernel32/text_case.h"
#include "src/user32/user_control_classes.h"
#include "src/user32/user_objects.h"
#include "sim/utf.h"

#include <windows.h>
#include <algorithm>

namespace moltr::platform {
namespace {

constexpr ATOM kDialogAtom = 0x8002;
constexpr ATOM kFirstAtom = 0xC000;

// The system classes, and the procedures of those that are more than the default one.
struct SystemClass {
    const char16_t* name;
    WNDPROC proc;
    int windowExtra;
};
constexpr SystemClass kSystemClasses[] = {
    {u"Button", ButtonProc, kStateBytes},
    {u"Edit", EditProc, kStateBytes},
    {u"Static", StaticProc, kStateBytes},
    {u"ComboBox", ComboBoxProc, kStateBytes},
    {u"ListBox", ListBoxProc, kStateBytes},
    {u"ScrollBar", ScrollBarProc, kStateBytes},
    {u"msctls_trackbar32", ControlProc, 0},
    {u"msctls_updown32", ControlProc, 0},
    {u"SysListView32", ControlProc, 0},
    {u"#32770", DefDlgProcW, DLGWINDOWEXTRA}, // the dialog class
};

struct Classes {
    std::vector<std::shared_ptr<WindowClass>> list; // system classes first
    ATOM nextAtom = kFirstAtom;
};

Classes& TheClasses() {
    static Classes* classes = [] {
        auto* made = new Classes;
        for (const SystemClass& system : kSystemClasses) {
            auto windowClass = std::make_shared<WindowClass>();
            windowClass->name = system.name;
            windowClass->system = true;
            windowClass->proc = system.proc;
            windowClass->windowExtra = system.windowExtra;
            windowClass->cursor =
                LoadCursorW(nullptr, windowClass->name == u"Edit" ? IDC_IBEAM : IDC_ARROW);
            windowClass->atom = windowClass->name == u"#32770" ? kDialogAtom : made->nextAtom++;
            made->list.push_back(std::move(windowClass));
        }
        return made;
    }();
    return *classes;
}

bool NameMatches(const WindowClass& windowClass, LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        return windowClass.atom == LOWORD(reinterpret_cast<ULONG_PTR>(name));
    }
    const std::u16string_view wanted = sim::View(name);
    if (wanted.size() != windowClass.name.size()) {
        return false;
    }
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (sim::text::UpperCase(wanted[i]) != sim::text::UpperCase(windowClass.name[i])) {
            return false;
        }
    }
    return true;
}

// A class is the module's own unless registered with CS_GLOBALCLASS.
bool IsGlobal(const WindowClass& windowClass) {
    return !windowClass.system && (windowClass.style & CS_GLOBALCLASS);
}

ATOM Register(const WNDCLASSEXW& description) {
    // Names only: the simulation keeps no atom table for names given as atoms.
    if (IS_INTRESOURCE(description.lpszClassName) || !*description.lpszClassName ||
        description.cbClsExtra < 0 || description.cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard guard(UserLock());
    Classes& classes = TheClasses();
    for (const auto& existing : classes.list) {
        if (!existing->system && NameMatches(*existing, description.lpszClassName) &&
            (IsGlobal(*existing) || existing->instance == description.hInstance)) {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    }
    if (classes.nextAtom == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto windowClass = std::make_shared<WindowClass>();
    windowClass->name = sim::View(description.lpszClassName);
    windowClass->style = description.style;
    // A class without a procedure behaves as the default one rather than failing every message.
    windowClass->proc = description.lpfnWndProc ? description.lpfnWndProc : DefWindowProcW;
    windowClass->classExtra = description.cbClsExtra;
    windowClass->windowExtra = description.cbWndExtra;
    windowClass->instance = description.hInstance;
    windowClass->icon = description.hIcon;
    windowClass->smallIcon = description.hIconSm;
    windowClass->cursor = description.hCursor;
    windowClass->background = description.hbrBackground;
    if (IS_INTRESOURCE(description.lpszMenuName)) {
        windowClass->menuName = description.lpszMenuName;
    } else {
        windowClass->menuText = sim::View(description.lpszMenuName);
    }
    windowClass->atom = classes.nextAtom++;
    classes.list.push_back(windowClass);
    return windowClass->atom;
}

} // namespace

std::shared_ptr<WindowClass> FindWindowClass(LPCWSTR name, HINSTANCE instance) {
    if (!name || (!IS_INTRESOURCE(name) && !*name)) {
        return nullptr;
    }
    const auto& list = TheClasses().list;
    for (auto pass : {0, 1, 2}) {
        for (const auto& windowClass : list) {
            const bool wanted = pass == 0 ? !windowClass->system && !IsGlobal(*windowClass) &&
                                                windowClass->instance == instance
                                : pass == 1 ? IsGlobal(*windowClass)
                                            : windowClass->system;
            if (wanted && NameMatches(*windowClass, name)) {
                return windowClass;
            }
        }
    }
    return nullptr;
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass) {
    if (!lpWndClass) {
        SetLastError(ERROR_NOACCESS);
        return 0;
    }
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.style = lpWndClass->style;
    description.lpfnWndProc = lpWndClass->lpfnWndProc;
    description.cbClsExtra = lpWndClass->cbClsExtra;
    description.cbWndExtra = lpWndClass->cbWndExtra;
    description.hInstance = lpWndClass->hInstance;
    description.hIcon = lpWndClass->hIcon;
    description.hCursor = lpWndClass->hCursor;
    description.hbrBackground = lpWndClass->hbrBackground;
    description.lpszMenuName = lpWndClass->lpszMenuName;
    description.lpszClassName = lpWndClass->lpszClassName;
    return Register(description);
}

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* lpWndClass) {
    if (!lpWndClass) {
        SetLastError(ERROR_NOACCESS);
        return 0;
    }
    if (lpWndClass->cbSize != sizeof(WNDCLASSEXW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Register(*lpWndClass);
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
    std::lock_guard guard(UserLock());
    auto& list = TheClasses().list;
    for (auto it = list.begin(); lpClassName && it != list.end(); ++it) {
        const WindowClass& windowClass = **it;
        if (!windowClass.system && NameMatches(windowClass, lpClassName) &&
            (IsGlobal(windowClass) || windowClass.instance == hInstance)) {
            if (windowClass.windows > 0) {
                SetLastError(ERROR_CLASS_HAS_WINDOWS);
                return FALSE;
            }
            list.erase(it);
            return TRUE;
        }
    }
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

BOOL WINAPI GetClassInfoExW(HINSTANCE hInstance, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx) {
    if (!lpwcx) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    std::lock_guard guard(UserLock());
    const std::shared_ptr<WindowClass> found = FindWindowClass(lpszClass, hInstance);
    if (!found) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    // The caller's cbSize stays as it set it.
    lpwcx->style = found->style;
    lpwcx->lpfnWndProc = found->proc;
    lpwcx->cbClsExtra = found->classExtra;
    lpwcx->cbWndExtra = found->windowExtra;
    lpwcx->hInstance = found->instance;
    lpwcx->hIcon = found->icon;
    lpwcx->hCursor = found->cursor;
    lpwcx->hbrBackground = found->background;
    lpwcx->lpszMenuName =
        found->menuText.empty() ? found->menuName : moltr::sim::W(found->menuText);
    lpwcx->lpszClassName = lpszClass;
    lpwcx->hIconSm = found->smallIcon;
    // The class's atom is its success value.
    return found->atom;
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
    std::lock_guard guard(UserLock());
    const Window* window = CheckedWindow(hWnd);
    if (!window) {
        return 0;
    }
    if (!lpClassName || nMaxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string& name = window->windowClass->name;
    const size_t length = std::min(name.size(), static_cast<size_t>(nMaxCount) - 1);
    std::copy_n(name.data(), length, reinterpret_cast<char16_t*>(lpClassName));
    lpClassName[length] = 0;
    return static_cast<int>(length);
}
}
