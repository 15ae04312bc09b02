#pragma once
// The three pictures of the manual-duplex dialog, drawn with their background colour left
// transparent: bitmap 110 beside the remove step, 111 beside the insert step, 112 beside go.
#include <windows.h>
#include "common/resources.h"

namespace moltr::notifier {

inline constexpr COLORREF kPictureBackground = RGB(128, 128, 0);

class DialogPictures {
public:
    explicit DialogPictures(common::IResources& resources);
    ~DialogPictures();
    DialogPictures(const DialogPictures&) = delete;
    DialogPictures& operator=(const DialogPictures&) = delete;

    // Draws the picture of control `controlId` centred in `area`; false for other controls.
    bool Draw(UINT controlId, HDC dc, const RECT& area) const;

private:
    struct Picture {
        UINT controlId;
        UINT bitmapId;
        HBITMAP bitmap;
    };
    Picture pictures_[3] = {{20100, 110, nullptr}, {20150, 111, nullptr}, {20200, 112, nullptr}};
};

} // namespace moltr::notifier
