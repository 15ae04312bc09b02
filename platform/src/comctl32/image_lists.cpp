// Image lists: ImageList_Create, ImageList_Destroy, ImageList_ReplaceIcon (and ImageList_AddIcon
// through it), ImageList_Remove, ImageList_GetImageCount and ImageList_GetIconSize. Handles are
// checked against the lists that exist, so a stale or made-up one fails instead of being used.
#include "src/comctl32/image_list.h"

#include <memory>
#include <mutex>
#include <set>
#include <vector>

struct _IMAGELIST {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    std::vector<HICON> icons; // the list's own copies
};

namespace moltr::platform {
namespace {

struct Lists {
    std::mutex lock;
    std::set<HIMAGELIST> live;
};

Lists& TheLists() {
    static Lists* lists = new Lists;
    return *lists;
}

bool IsList(HIMAGELIST list) {
    return list && TheLists().live.count(list) != 0;
}

} // namespace

bool ImageSize(HIMAGELIST list, SIZE& size) {
    std::lock_guard guard(TheLists().lock);
    if (!IsList(list)) {
        return false;
    }
    size = {list->cx, list->cy};
    return true;
}

} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
    if (cx <= 0 || cy <= 0 || cInitial < 0 || cGrow < 0) {
        return nullptr;
    }
    auto list = std::make_unique<_IMAGELIST>();
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    std::lock_guard guard(TheLists().lock);
    TheLists().live.insert(list.get());
    return list.release();
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
    std::unique_ptr<_IMAGELIST> list;
    {
        std::lock_guard guard(TheLists().lock);
        if (!IsList(himl)) {
            return FALSE;
        }
        TheLists().live.erase(himl);
        list.reset(himl);
    }
    for (HICON icon : list->icons) {
        DestroyIcon(icon);
    }
    return TRUE;
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
    // The copy is made first: CopyIcon takes the window manager's lock.
    HICON copy = hicon ? CopyIcon(hicon) : nullptr;
    if (!copy) {
        return -1;
    }
    HICON replaced = nullptr;
    int index = -1;
    {
        std::lock_guard guard(TheLists().lock);
        if (IsList(himl) && i >= -1 && i < static_cast<int>(himl->icons.size())) {
            if (i == -1) {
                himl->icons.push_back(copy);
                index = static_cast<int>(himl->icons.size()) - 1;
            } else {
                replaced = himl->icons[static_cast<size_t>(i)];
                himl->icons[static_cast<size_t>(i)] = copy;
                index = i;
            }
        }
    }
    DestroyIcon(index < 0 ? copy : replaced);
    return index;
}

BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i) {
    std::vector<HICON> removed;
    {
        std::lock_guard guard(TheLists().lock);
        if (!IsList(himl) || i < -1 || i >= static_cast<int>(himl->icons.size())) {
            return FALSE;
        }
        // -1 removes every image.
        if (i == -1) {
            removed.swap(himl->icons);
        } else {
            removed.push_back(himl->icons[static_cast<size_t>(i)]);
            himl->icons.erase(himl->icons.begin() + i);
        }
    }
    for (HICON icon : removed) {
        DestroyIcon(icon);
    }
    return TRUE;
}

int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
    std::lock_guard guard(TheLists().lock);
    return IsList(himl) ? static_cast<int>(himl->icons.size()) : 0;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    SIZE size{};
    if (!cx || !cy || !ImageSize(himl, size)) {
        return FALSE;
    }
    *cx = size.cx;
    *cy = size.cy;
    return TRUE;
}
}
