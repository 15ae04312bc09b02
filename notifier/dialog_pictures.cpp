#include "notifier/dialog_pictures.h"

namespace moltr::notifier {

namespace {

// A memory DC with `bitmap` selected, restored and deleted at the end of its scope.
class MemoryDC {
public:
    MemoryDC(HDC like, HGDIOBJ bitmap) : dc_(CreateCompatibleDC(like)) {
        if (dc_ != nullptr) {
            old_ = SelectObject(dc_, bitmap);
        }
    }
    ~MemoryDC() {
        if (dc_ != nullptr) {
            SelectObject(dc_, old_);
            DeleteDC(dc_);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// The picture's background region, flood-filled from its top-left pixel with the background colour
// so that the mask follows the picture's outline, becomes white in a monochrome mask.
HBITMAP MakeMask(HDC dc, HBITMAP bitmap, int width, int height) {
    HBITMAP copy = CreateCompatibleBitmap(dc, width, height);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    if (copy == nullptr || mask == nullptr) {
        DeleteObject(copy);
        DeleteObject(mask);
        return nullptr;
    }
    {
        MemoryDC source(dc, bitmap);
        MemoryDC filled(dc, copy);
        MemoryDC masked(dc, mask);
        BitBlt(filled.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
        HBRUSH brush = CreateSolidBrush(kPictureBackground);
        HGDIOBJ oldBrush = SelectObject(filled.Get(), brush);
        ExtFloodFill(filled.Get(), 0, 0, GetPixel(filled.Get(), 0, 0), FLOODFILLSURFACE);
        SelectObject(filled.Get(), oldBrush);
        DeleteObject(brush);
        SetBkColor(filled.Get(), kPictureBackground);
        BitBlt(masked.Get(), 0, 0, width, height, filled.Get(), 0, 0, SRCCOPY);
    }
    DeleteObject(copy);
    return mask;
}

// Screen area off-screen, XOR picture, AND mask, XOR picture: the background shows through where
// the mask is white.
void DrawMasked(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, HBITMAP mask) {
    HBITMAP area = CreateCompatibleBitmap(dc, width, height);
    if (area == nullptr) {
        return;
    }
    {
        MemoryDC work(dc, area);
        MemoryDC picture(dc, bitmap);
        MemoryDC masked(dc, mask);
        BitBlt(work.Get(), 0, 0, width, height, dc, x, y, SRCCOPY);
        BitBlt(work.Get(), 0, 0, width, height, picture.Get(), 0, 0, SRCINVERT);
        BitBlt(work.Get(), 0, 0, width, height, masked.Get(), 0, 0, SRCAND);
        BitBlt(work.Get(), 0, 0, width, height, picture.Get(), 0, 0, SRCINVERT);
        BitBlt(dc, x, y, width, height, work.Get(), 0, 0, SRCCOPY);
    }
    DeleteObject(area);
}

} // namespace

DialogPictures::DialogPictures(common::IResources& resources) {
    for (Picture& picture : pictures_) {
        if (FAILED(resources.LoadBitmap(picture.bitmapId, &picture.bitmap))) {
            picture.bitmap = nullptr;
        }
    }
}

DialogPictures::~DialogPictures() {
    for (Picture& picture : pictures_) {
        if (picture.bitmap != nullptr) {
            DeleteObject(picture.bitmap);
        }
    }
}

bool DialogPictures::Draw(UINT controlId, HDC dc, const RECT& area) const {
    for (const Picture& picture : pictures_) {
        BITMAP info;
        if (picture.controlId != controlId) {
            continue;
        }
        if (picture.bitmap == nullptr ||
            GetObjectW(picture.bitmap, sizeof info, &info) != int(sizeof info)) {
            return false;
        }
        HBITMAP mask = MakeMask(dc, picture.bitmap, info.bmWidth, info.bmHeight);
        if (mask == nullptr) {
            return false;
        }
        int x = area.left + (area.right - area.left - info.bmWidth) / 2;
        int y = area.top + (area.bottom - area.top - info.bmHeight) / 2;
        DrawMasked(dc, x, y, info.bmWidth, info.bmHeight, picture.bitmap, mask);
        DeleteObject(mask);
        return true;
    }
    return false;
}

} // namespace moltr::notifier
