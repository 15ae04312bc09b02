// How the combo box paints its field, its button and its list (user_combo_box.h).
#include "src/user32/user_combo_box.h"

namespace moltr::platform::combo_box {

void ComboBox::Paint(HDC dc) const {
    const RECT field{0, 0, Width(), FieldHeight()};
    PaintParentBackground(dc, window_, HasEdit() ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX, field,
                          colours::kWindow);
    FrameLine(dc, field, colours::kShadow);
    RECT content = Inset(field, 1);
    if (GetKind() != Kind::Simple) {
        PaintButton(dc,
                    RECT{content.right - kButtonWidth, content.top, content.right, content.bottom});
        content.right -= kButtonWidth;
    }
    PaintField(dc, Inset(content, 1));
    if (ListShown()) {
        PaintList(dc);
    }
}

void ComboBox::PaintField(HDC dc, const RECT& area) const {
    const bool enabled = IsWindowEnabled(window_);
    if (HasEdit()) {
        if (!enabled) {
            SetTextColor(dc, colours::kGrayText);
        }
        PaintText(dc, window_, WindowText(window_),
                  RECT{area.left + 1, area.top, area.right, area.bottom},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    // A focused drop-down list shows its selection highlighted while the list is up.
    const bool highlighted = focused_ && !dropped_;
    const UINT state = ODS_COMBOBOXEDIT | (highlighted ? ODS_SELECTED | ODS_FOCUS : 0) |
                       (enabled ? 0 : ODS_DISABLED);
    const bool ownerDrawn = OwnerDrawn(Style());
    if (ownerDrawn || items_.Has(selection_)) {
        PaintItem(dc, Owner(), ownerDrawn, selection_,
                  items_.Has(selection_) ? &items_[selection_] : nullptr, area, state);
    } else if (highlighted) {
        PaintItem(dc, Owner(), false, -1, nullptr, area, state);
    }
}

void ComboBox::PaintButton(HDC dc, const RECT& button) const {
    FillArea(dc, button, colours::kFace);
    Frame3D(dc, button, !dropped_);
    // A small triangle pointing down.
    const int middle = (button.left + button.right) / 2;
    const int top = (button.top + button.bottom) / 2 - 2;
    const COLORREF arrow = IsWindowEnabled(window_) ? colours::kText : colours::kGrayText;
    for (int row = 0; row < 4; ++row) {
        Line(dc, middle - 3 + row, top + row, middle + 4 - row, top + row, arrow);
    }
}

void ComboBox::PaintList(HDC dc) const {
    const RECT list = ListArea();
    PaintParentBackground(dc, window_, WM_CTLCOLORLISTBOX, list, colours::kWindow);
    FrameLine(dc, list, dropped_ ? colours::kText : colours::kShadow);
    const UINT disabled = IsWindowEnabled(window_) ? 0 : ODS_DISABLED;
    const int shown = dropped_ ? hot_ : selection_;
    for (int i = top_; i < std::min(items_.Count(), top_ + Rows()); ++i) {
        PaintItem(dc, Owner(), OwnerDrawn(Style()), i, &items_[i], ItemArea(i),
                  (i == shown ? ODS_SELECTED : 0) | disabled);
    }
}

} // namespace moltr::platform::combo_box
