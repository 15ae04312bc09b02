// PropertySheetW: a modal sheet runs until OK or Cancel ends it, dispatching what was posted to
// its thread and taking the actions queued for it (see sim/property_sheets.h) and then the
// machine's dialog responder's answer; a modeless one is returned at once. Every modal sheet shown
// is recorded with the machine's dialogs, its picture taken as the responder saw it.
#include "src/comctl32/control_classes.h"
#include "src/comctl32/property_sheet.h"
#include "src/user32/user_dialog_records.h"
#include "src/user32/user_thread_input.h"
#include "sim/dialogs.h"
#include "sim/property_sheets.h"
#include "sim/windows_admin.h"
#include "sim/window_pictures.h"

#include <commctrl.h>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>

namespace moltr::platform {
namespace {

struct Actions {
    std::mutex lock;
    std::condition_variable queued;
    std::deque<sim::SheetAction> waiting;
    bool held = false;
};

Actions& TheActions() {
    static Actions* actions = new Actions;
    return *actions;
}

// The next action, waiting for one while sheets are held; false when there is none.
bool NextAction(sim::SheetAction& action) {
    Actions& actions = TheActions();
    std::unique_lock guard(actions.lock);
    actions.queued.wait(guard, [&] { return !actions.waiting.empty() || !actions.held; });
    if (actions.waiting.empty()) {
        return false;
    }
    action = std::move(actions.waiting.front());
    actions.waiting.pop_front();
    return true;
}

// A user can press only a button that is there and enabled.
bool Press(HWND sheet, int id) {
    HWND button = GetDlgItem(sheet, id);
    if (!button || !IsWindowEnabled(button)) {
        return false;
    }
    SendMessageW(sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

void ClickTab(HWND sheet, int index) {
    HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    RECT item{};
    if (tab && SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(&item))) {
        SendMessageW(tab, WM_LBUTTONDOWN, 0,
                     MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
    }
}

void Perform(HWND sheet, const sim::SheetAction& action, sim::DialogRecord& record) {
    INT_PTR result = 0;
    switch (action.kind) {
    case sim::SheetAction::Kind::SelectPage:
        ClickTab(sheet, action.value);
        break;
    case sim::SheetAction::Kind::Press:
        if (Press(sheet, action.value) && SheetEnded(sheet, result)) {
            record.closedBy = action.value;
        }
        break;
    case sim::SheetAction::Kind::Run:
        if (action.run) {
            action.run(sheet);
        }
        break;
    }
}

std::vector<sim::DialogControl> Controls(HWND sheet) {
    std::vector<sim::DialogControl> controls;
    EnumChildWindows(
        sheet,
        [](HWND control, LPARAM list) -> BOOL {
            std::u16string text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
            text.resize(static_cast<size_t>(GetWindowTextW(
                control, reinterpret_cast<LPWSTR>(text.data()), static_cast<int>(text.size()))));
            reinterpret_cast<std::vector<sim::DialogControl>*>(list)->push_back(
                {GetDlgCtrlID(control), text});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    return controls;
}

// The responder presses its control; the user closes a sheet that lacks it. A sheet that no
// button ends is closed by the system.
void Answer(HWND sheet, sim::DialogRecord& record) {
    const sim::DialogResponse response = sim::CurrentDialogResponse();
    Sleep(response.afterMs);
    record.picture = sim::WindowPicture(sheet);
    record.controls = Controls(sheet);
    INT_PTR result = 0;
    for (int id : {response.control, static_cast<int>(IDCANCEL)}) {
        if (Press(sheet, id) && SheetEnded(sheet, result)) {
            record.closedBy = id;
            return;
        }
    }
    ForceSheetEnd(sheet);
}

INT_PTR RunModal(HWND sheet, HWND owner) {
    const bool disabledOwner = owner && !EnableWindow(owner, FALSE);
    sim::DialogRecord record;
    record.process = GetCurrentProcessId();
    record.appWindow = owner;
    record.appWindowDisabled = owner && !IsWindowEnabled(owner);
    INT_PTR result = 0;
    while (!SheetEnded(sheet, result)) {
        // What the sheet and its pages posted to themselves comes before the user's next action.
        if (sim::DispatchPostedMessages(sheet) > 0) {
            continue;
        }
        sim::SheetAction action;
        if (!NextAction(action)) {
            Answer(sheet, record);
            continue;
        }
        Perform(sheet, action, record);
    }
    std::u16string caption(static_cast<size_t>(GetWindowTextLengthW(sheet)) + 1, u'\0');
    caption.resize(static_cast<size_t>(GetWindowTextW(
        sheet, reinterpret_cast<LPWSTR>(caption.data()), static_cast<int>(caption.size()))));
    record.caption = caption;
    if (record.controls.empty()) {
        record.controls = Controls(sheet);
    }
    if (disabledOwner) {
        EnableWindow(owner, TRUE);
    }
    RecordDialog(record, AttachedInputThread(GetCurrentThreadId()));
    return result;
}

// The frame's template as PSCB_PRECREATE offers it to the sheet's callback, which may change its
// styles.
DWORD FrameStyle(const PROPSHEETHEADERW& header) {
    DLGTEMPLATE frame{};
    frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPSIBLINGS;
    frame.dwExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    if ((header.dwFlags & PSH_USECALLBACK) && header.pfnCallback) {
        header.pfnCallback(nullptr, PSCB_PRECREATE, reinterpret_cast<LPARAM>(&frame));
    }
    return frame.style;
}

HWND RootOf(HWND window) {
    for (HWND up = window; up; up = GetParent(up)) {
        window = up;
    }
    return window;
}

} // namespace
} // namespace moltr::platform

namespace moltr::sim {

void QueueSheetAction(SheetAction action) {
    platform::Actions& actions = platform::TheActions();
    {
        std::lock_guard guard(actions.lock);
        actions.waiting.push_back(std::move(action));
    }
    actions.queued.notify_all();
}

void ClearSheetActions() {
    platform::Actions& actions = platform::TheActions();
    std::lock_guard guard(actions.lock);
    actions.waiting.clear();
}

void HoldSheets(bool hold) {
    platform::Actions& actions = platform::TheActions();
    {
        std::lock_guard guard(actions.lock);
        actions.held = hold;
    }
    actions.queued.notify_all();
}

} // namespace moltr::sim

using namespace moltr::platform;

extern "C" {

INT_PTR WINAPI PropertySheetW(LPCPROPSHEETHEADERW lppsph) {
    if (!lppsph || lppsph->dwSize < PROPSHEETHEADERW_V1_SIZE ||
        (lppsph->hwndParent && !IsWindow(lppsph->hwndParent))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    // Too many pages fail without saying why.
    if (lppsph->nPages >= MAXPROPPAGES) {
        SetLastError(0);
        return -1;
    }
    RegisterControlClasses(ICC_TAB_CLASSES);
    // The shorter header of older callers is read only as far as it goes.
    PROPSHEETHEADERW header{};
    std::memcpy(&header, lppsph, std::min<size_t>(lppsph->dwSize, sizeof header));
    header.hwndParent = RootOf(lppsph->hwndParent);
    HWND sheet = CreateSheet(header, FrameStyle(header));
    if (!sheet) {
        return -1;
    }
    if (header.dwFlags & PSH_MODELESS) {
        return reinterpret_cast<INT_PTR>(sheet);
    }
    const INT_PTR result = RunModal(sheet, header.hwndParent);
    DestroyWindow(sheet);
    return result;
}
}
