// The values of a scroll bar.
#include "src/user32/user_scroll_bar_values.h"

#include <algorithm>
#include <cstddef>

namespace moltr::platform {
namespace {

// SCROLLINFO without nTrackPos, as it first was.
constexpr UINT kShortSize = offsetof(SCROLLINFO, nTrackPos);

} // namespace

bool ScrollValues::Valid(const SCROLLINFO* info) {
    return info && (info->cbSize == sizeof(SCROLLINFO) || info->cbSize == kShortSize);
}

int ScrollValues::Highest() const {
    const long long highest = static_cast<long long>(max_) - (page_ ? page_ - 1 : 0);
    return static_cast<int>(std::max<long long>(highest, min_));
}

int ScrollValues::Set(const SCROLLINFO& info) {
    if (info.fMask & SIF_RANGE) {
        min_ = info.nMin;
        max_ = info.nMax;
    }
    if (info.fMask & SIF_PAGE) {
        page_ = info.nPage;
    }
    if (info.fMask & SIF_POS) {
        pos_ = info.nPos;
    }
    // The page is at most the whole range.
    const long long range = std::max<long long>(static_cast<long long>(max_) - min_ + 1, 0);
    page_ = static_cast<UINT>(std::min<long long>(page_, range));
    pos_ = std::clamp(pos_, min_, Highest());
    return pos_;
}

bool ScrollValues::Get(SCROLLINFO& info) const {
    if (info.fMask & SIF_RANGE) {
        info.nMin = min_;
        info.nMax = max_;
    }
    if (info.fMask & SIF_PAGE) {
        info.nPage = page_;
    }
    if (info.fMask & SIF_POS) {
        info.nPos = pos_;
    }
    if ((info.fMask & SIF_TRACKPOS) && info.cbSize == sizeof(SCROLLINFO)) {
        info.nTrackPos = Shown();
    }
    return info.fMask & SIF_ALL;
}

void ScrollValues::Track(int position) {
    tracking_ = true;
    trackPos_ = std::clamp(position, min_, Highest());
}

} // namespace moltr::platform
