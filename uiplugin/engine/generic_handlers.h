#pragma once
// The generic handlers, one per control type, chosen when no product handler applies.
#include <windows.h>
#include <compstui.h>
#include "uiplugin/engine/opt_item_handler.h"

namespace moltr::ui {

// Types 10, 11, 15 and 16, and items without options: the base behaviour.
class VORTAOptItemHandlerNone : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
};

class VORTAOptItemHandler2States : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
};

class VORTAOptItemHandler3States : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
};

// The selection is 0 or 1.
class VORTAOptItemHandlerCheckbox : public VORTAOptItemHandler {
public:
    VORTAOptItemHandlerCheckbox(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);
};

// One option per tab.
class VORTAOptItemHandlerTabCtrl : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
};

// The selection is a number between the minimum (OPTPARAM 1's IconID) and the maximum (its
// lParam).
class VORTAOptItemHandlerUDArrow : public VORTAOptItemHandler {
public:
    VORTAOptItemHandlerUDArrow(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);
    void SetSelectionFromText(LPCWSTR text) override;
    void SetSelectionByValue(LONG_PTR value, VORTAOptItemNotify* source) override;
    LONG_PTR GetValue(BOOL* isText) override;

protected:
    // For the bars, whose limits are 16-bit.
    void UseShortLimits();

private:
    LONG low_ = 0;
    LONG high_ = 0;
};

// As the up-down arrow with 16-bit limits; stepping stops at the ends.
class VORTAOptItemHandlerTrackbar : public VORTAOptItemHandlerUDArrow {
public:
    VORTAOptItemHandlerTrackbar(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);
};

class VORTAOptItemHandlerScrollbar : public VORTAOptItemHandlerUDArrow {
public:
    VORTAOptItemHandlerScrollbar(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);
};

// Lists select by index and take values from the options' lParam.
class VORTAOptItemHandlerList : public VORTAOptItemHandler {
public:
    void LoadState(LPCWSTR text, BOOL* complete) override;

protected:
    using VORTAOptItemHandler::VORTAOptItemHandler;
};

class VORTAOptItemHandlerListbox : public VORTAOptItemHandlerList {
public:
    using VORTAOptItemHandlerList::VORTAOptItemHandlerList;
};

class VORTAOptItemHandlerCombobox : public VORTAOptItemHandlerList {
public:
    using VORTAOptItemHandlerList::VORTAOptItemHandlerList;
};

// The selection is the item's text buffer (pSel), as long as OPTPARAM 1's IconID says.
class VORTAOptItemHandlerEditbox : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
    void SetSelectionFromText(LPCWSTR text) override;
    LONG_PTR GetValue(BOOL* isText) override;
    void LoadState(LPCWSTR text, BOOL* complete) override;
};

// Push buttons have no selection; activating one runs its dialog or property sheet.
class VORTAOptItemHandlerPushbutton : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
    LONG GetSelection(DWORD linkId) override;
    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
    void SetSelectionByValue(LONG_PTR value, VORTAOptItemNotify* source) override;
    LONG_PTR GetValue(BOOL* isText) override;
    LONG Activate(HWND window) override;
};

// Stands in for an item that a callback names but that was never registered.
class VORTAOptItemHandlerDefault : public VORTAOptItemHandler {
public:
    VORTAOptItemHandlerDefault(VORTAOptItemHandlerFactory* factory, DWORD itemId);
    BOOL IsUnbound() override;

private:
    // The base only keeps the address; the constructor fills the item.
    OPTPARAM options_[2];
    OPTTYPE type_;
    OPTITEM item_;
};

// The generic handler for `item`'s control type, or null without memory.
VORTAOptItemHandler* CreateGenericHandler(VORTAOptItemHandlerFactory* factory, POPTITEM item,
                                          DWORD itemId);

} // namespace moltr::ui
