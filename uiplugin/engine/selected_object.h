#pragma once
// A GDI object selected into a DC for one scope: the DC gets its previous object back, and an
// object made for the scope is deleted after that.
#include <windows.h>

namespace moltr::ui {

class SelectedObject {
public:
    // `owned`: the object was made for this scope and is deleted at its end.
    SelectedObject(HDC dc, HGDIOBJ object, bool owned)
        : dc_(dc), object_(object), owned_(owned),
          previous_(object ? SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_) {
            SelectObject(dc_, previous_);
        }
        if (owned_ && object_) {
            DeleteObject(object_);
        }
    }
    // False when the object could not be made or selected.
    bool Selected() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ object_;
    bool owned_;
    HGDIOBJ previous_;
};

} // namespace moltr::ui
