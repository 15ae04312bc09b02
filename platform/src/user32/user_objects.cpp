// The window manager's handle table.
#include "src/user32/user_objects.h"
#include "src/core/object_table.h"
#include "src/user32/user_desktop.h"
#include "sim/windows_admin.h"

namespace moltr::platform {
namespace {

struct Objects {
    std::recursive_mutex lock;
    ObjectTable<UserObject> table;
    std::vector<HWND> topLevel;
};

Objects& TheObjects() {
    // Never destroyed: windows may be destroyed while the process exits.
    static Objects* objects = new Objects;
    return *objects;
}

} // namespace

std::recursive_mutex& UserLock() {
    return TheObjects().lock;
}

ULONG_PTR InsertUserObject(std::shared_ptr<UserObject> object) {
    return TheObjects().table.Insert(std::move(object));
}

std::shared_ptr<UserObject> RemoveUserObject(ULONG_PTR handle) {
    return TheObjects().table.Remove(LocalHandleValue(handle));
}

UserObject* FindUserObject(ULONG_PTR handle) {
    return TheObjects().table.Find(LocalHandleValue(handle));
}

Window* CheckedWindow(HWND window) {
    Window* found = FindWindowObject(window);
    if (!found) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    } else if (!found->parent) {
        // Another process may have enabled or disabled it.
        if (const auto published = FindDesktopWindow(DesktopHandle(window))) {
            found->style = published->style;
        }
    }
    return found;
}

bool IsSelfOrDescendant(HWND ancestor, HWND window) {
    for (HWND up = window; up;) {
        if (up == ancestor) {
            return true;
        }
        const Window* found = FindWindowObject(up);
        up = found ? found->parent : nullptr;
    }
    return false;
}

void PublishState(HWND handle, const Window& window) {
    if (!window.parent) {
        PublishWindow(handle, window.thread, window.style);
    }
}

std::vector<HWND>& TopLevelWindows() {
    return TheObjects().topLevel;
}

} // namespace moltr::platform

namespace moltr::sim {

using namespace moltr::platform;

std::u16string WindowClassName(HWND window) {
    std::lock_guard guard(UserLock());
    const Window* found = FindWindowObject(window);
    return found ? found->windowClass->name : std::u16string();
}

namespace {

template <class T> size_t CountOf() {
    std::lock_guard guard(UserLock());
    return TheObjects().table.CountIf(
        [](const UserObject& object) { return dynamic_cast<const T*>(&object) != nullptr; });
}

} // namespace

size_t WindowCount() {
    return CountOf<Window>();
}

size_t IconCount() {
    return CountOf<Icon>();
}

} // namespace moltr::sim
