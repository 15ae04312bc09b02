#pragma once
// The window manager's objects of the process: windows, icons and cursors share one handle table,
// as the system's user objects do, so that no icon handle is ever taken for a window. Window
// procedures run without the lock held: callers copy what they need first.
#include <windows.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace moltr::platform {

struct UserObject {
    virtual ~UserObject() = default;
};

struct WindowClass {
    std::u16string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    LPCWSTR menuName = nullptr; // a resource id, or `menuText`
    std::u16string menuText;
    bool system = false;
    int windows = 0; // windows of the class that exist
};

// An entry of a window's property list, keyed by a global atom. An entry set by a string name holds
// one reference on the atom that the name was added as.
struct WindowProperty {
    ATOM atom = 0;
    bool named = false;
    HANDLE data = nullptr;
};

// What the dialog manager keeps of a dialog window.
struct DialogInfo {
    bool ownsFont = false;       // the font made from the template, deleted with the dialog
    int defaultId = 0;           // set through DM_SETDEFID
    HWND savedFocus = nullptr;   // the control that takes the focus when the dialog gets it back
    HWND shownDefault = nullptr; // the push button drawn as the default one
    bool ended = false;          // EndDialog was called
    INT_PTR result = 0;
};

// What of a window's client area is to be painted again (see user_painting.h).
struct UpdateRegion {
    RECT area{};           // the union of the rectangles invalidated, in client coordinates
    bool erase = false;    // WM_ERASEBKGND is due before it is painted
    bool internal = false; // a WM_PAINT is due even with nothing invalid (RDW_INTERNALPAINT)
};

struct Window : UserObject {
    std::shared_ptr<WindowClass> windowClass;
    HWND parent = nullptr;      // child windows
    HWND owner = nullptr;       // top-level windows
    std::vector<HWND> children; // top of the Z order first
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    WNDPROC proc = nullptr;
    RECT rect{}; // in the parent's client coordinates, or the screen's for a top-level window
    std::u16string text;
    HFONT font = nullptr; // controls remember the font they are given
    DWORD thread = 0;     // the thread that created it
    std::vector<BYTE> extra;
    std::vector<WindowProperty> properties;
    DialogInfo dialog;
    UpdateRegion update;
    bool destroying = false;
};

struct Icon : UserObject {
    bool icon = true; // else a cursor
    LONG width = 0;
    LONG height = 0;
    WORD bitsPixel = 32;
    DWORD hotspotX = 0;
    DWORD hotspotY = 0;
    bool shared = false; // from LoadIconW or LoadCursorW: lives as long as the process
};

std::recursive_mutex& UserLock();

// The new object's handle, or 0 when the table is full.
ULONG_PTR InsertUserObject(std::shared_ptr<UserObject> object);
std::shared_ptr<UserObject> RemoveUserObject(ULONG_PTR handle);
UserObject* FindUserObject(ULONG_PTR handle);

inline Window* FindWindowObject(HWND window) {
    return dynamic_cast<Window*>(FindUserObject(reinterpret_cast<ULONG_PTR>(window)));
}
inline Icon* FindIcon(HICON icon) {
    return dynamic_cast<Icon*>(FindUserObject(reinterpret_cast<ULONG_PTR>(icon)));
}

// The window behind a handle; null with ERROR_INVALID_WINDOW_HANDLE set when there is none.
Window* CheckedWindow(HWND window);

// Gives up the references that a destroyed window's property list holds on global atoms.
void DropProperties(Window& window);

// True when `window` is `ancestor` or one of its children's children; the caller holds UserLock().
bool IsSelfOrDescendant(HWND ancestor, HWND window);

// Makes a top-level window's current state known to the machine's other processes.
void PublishState(HWND handle, const Window& window);

// The top-level windows of the process, in creation order.
std::vector<HWND>& TopLevelWindows();

// The window procedure of the standard controls: the default one, and they keep their font.
LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The class `name` (string or atom) as CreateWindowExW finds it for `instance`: the module's own
// class, then an application global one, then a system class. Null when there is none.
std::shared_ptr<WindowClass> FindWindowClass(LPCWSTR name, HINSTANCE instance);

// The left, top, right and bottom widths of a window's frame and caption, by its styles.
RECT NonClientInsets(DWORD style, DWORD exStyle);

} // namespace moltr::platform
