#pragma once
// The values of a scroll bar: its range, page and position, and the position the thumb stands at
// while the user drags it. The position always lies between the minimum and the maximum less
// the page (plus one), as SetScrollInfo keeps it.
#include <windows.h>

namespace moltr::platform {

class ScrollValues {
public:
    ScrollValues() = default;
    ScrollValues(int min, int max) : min_(min), max_(max) {}

    // Whether a SCROLLINFO says its size as one of the two sizes the structure has had.
    static bool Valid(const SCROLLINFO* info);

    // The values `info`'s mask names taken from it, the position then kept in range; the
    // position after.
    int Set(const SCROLLINFO& info);
    // The values `info`'s mask names copied into it; false when it names none.
    bool Get(SCROLLINFO& info) const;

    int Min() const { return min_; }
    int Max() const { return max_; }
    UINT Page() const { return page_; }
    int Pos() const { return pos_; }
    // The highest position the page leaves; never below the minimum.
    int Highest() const;
    // The thumb's position: where it is dragged to while tracking, else the position.
    int Shown() const { return tracking_ ? trackPos_ : pos_; }

    void Track(int position);
    void EndTracking() { tracking_ = false; }
    bool Tracking() const { return tracking_; }

private:
    int min_ = 0;
    int max_ = 0;
    UINT page_ = 0;
    int pos_ = 0;
    int trackPos_ = 0;
    bool tracking_ = false;
};

} // namespace moltr::platform
