// Window properties: SetPropW, GetPropW, RemovePropW and EnumPropsExW. An entry is named by a
// global atom; a string name is added to the global atom table while the entry lives, so that the
// entry is found by that name in any case and by MAKEINTATOM of the name's atom alike.
#include "src/user32/user_objects.h"

#include <windows.h>
#include <algorithm>

namespace moltr::platform {
namespace {

// The atom a property name stands for; 0 when a string name was never added.
ATOM ExistingAtom(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        return LOWORD(reinterpret_cast<ULONG_PTR>(name));
    }
    // Looking a property up sets no error of its own.
    const DWORD error = GetLastError();
    const ATOM atom = GlobalFindAtomW(name);
    SetLastError(error);
    return atom;
}

WindowProperty* FindProperty(Window& window, ATOM atom) {
    const auto found =
        std::find_if(window.properties.begin(), window.properties.end(),
                     [atom](const WindowProperty& entry) { return entry.atom == atom; });
    return found == window.properties.end() ? nullptr : &*found;
}

void Release(const WindowProperty& entry) {
    if (entry.named) {
        GlobalDeleteAtom(entry.atom);
    }
}

} // namespace

void DropProperties(Window& window) {
    for (const WindowProperty& entry : window.properties) {
        Release(entry);
    }
    window.properties.clear();
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

BOOL WINAPI SetPropW(HWND hWnd, LPCWSTR lpString, HANDLE hData) {
    std::lock_guard guard(UserLock());
    Window* window = CheckedWindow(hWnd);
    if (!window) {
        return FALSE;
    }
    const bool named = !IS_INTRESOURCE(lpString);
    const ATOM atom = named ? GlobalAddAtomW(lpString) : ExistingAtom(lpString);
    if (atom == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (WindowProperty* existing = FindProperty(*window, atom)) {
        existing->data = hData;
        // The entry already holds its reference on the name's atom.
        if (named) {
            GlobalDeleteAtom(atom);
        }
        return TRUE;
    }
    window->properties.push_back({atom, named, hData});
    return TRUE;
}

HANDLE WINAPI GetPropW(HWND hWnd, LPCWSTR lpString) {
    std::lock_guard guard(UserLock());
    Window* window = CheckedWindow(hWnd);
    const ATOM atom = window ? ExistingAtom(lpString) : 0;
    const WindowProperty* entry = atom ? FindProperty(*window, atom) : nullptr;
    return entry ? entry->data : nullptr;
}

HANDLE WINAPI RemovePropW(HWND hWnd, LPCWSTR lpString) {
    std::lock_guard guard(UserLock());
    Window* window = CheckedWindow(hWnd);
    const ATOM atom = window ? ExistingAtom(lpString) : 0;
    WindowProperty* entry = atom ? FindProperty(*window, atom) : nullptr;
    if (!entry) {
        return nullptr;
    }
    const WindowProperty removed = *entry;
    window->properties.erase(window->properties.begin() + (entry - window->properties.data()));
    Release(removed);
    return removed.data;
}

int WINAPI EnumPropsExW(HWND hWnd, PROPENUMPROCEXW lpEnumFunc, LPARAM lParam) {
    std::vector<WindowProperty> entries;
    {
        std::lock_guard guard(UserLock());
        Window* window = CheckedWindow(hWnd);
        if (!window || !lpEnumFunc) {
            return -1;
        }
        entries = window->properties;
    }
    int result = -1;
    for (const WindowProperty& entry : entries) {
        WCHAR name[256];
        const bool spelled = entry.named && GlobalGetAtomNameW(entry.atom, name, 256) > 0;
        result = lpEnumFunc(hWnd, spelled ? name : MAKEINTATOM(entry.atom), entry.data,
                            static_cast<ULONG_PTR>(lParam));
        if (!result) {
            break;
        }
    }
    return result;
}
}
