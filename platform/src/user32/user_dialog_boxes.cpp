// Modal dialogs: DialogBoxIndirectParamW and EndDialog. Nobody sits in front of the simulated
// desktop, so the dialog's message loop is the machine's responder: after WM_INITDIALOG and the
// owner-drawn controls' WM_DRAWITEM (painted onto the dialog's surface, whose picture the record
// keeps) it presses the chosen control, whose WM_COMMAND goes to the dialog procedure, and the
// dialog ends when the procedure calls EndDialog.
#include "src/kernel32/module_table.h"
#include "src/user32/user_desktop.h"
#include "src/user32/user_dialog_picture.h"
#include "src/user32/user_dialog_records.h"
#include "src/user32/user_dialog_template.h"
#include "src/user32/user_objects.h"
#include "src/user32/user_thread_input.h"
#include "sim/utf.h"
#include "sim/windows_admin.h"

#include <windows.h>
#include <limits>
#include <map>
#include <mutex>

namespace moltr::platform {
namespace {

struct Modal {
    bool ended = false;
    INT_PTR result = 0;
};

struct Modals {
    std::mutex lock;
    std::map<HWND, Modal> open;
};

Modals& TheModals() {
    static Modals* modals = new Modals;
    return *modals;
}

bool Ended(HWND dialog) {
    std::lock_guard guard(TheModals().lock);
    return TheModals().open[dialog].ended;
}

RECT Pixels(HWND dialog, RECT units) {
    MapDialogRect(dialog, &units);
    return units;
}

// The top-level window a dialog with this parent belongs to.
HWND OwnerOf(HWND parent) {
    for (HWND up = parent; up; up = GetParent(up)) {
        parent = up;
    }
    return parent;
}

HWND CreateDialogWindow(HINSTANCE instance, const DialogTemplate& parsed, HWND owner) {
    HWND dialog = CreateWindowExW(parsed.exStyle, L"#32770", sim::W(parsed.caption),
                                  parsed.style & ~(WS_VISIBLE | WS_CHILD), 0, 0, 0, 0, owner,
                                  nullptr, instance, nullptr);
    if (!dialog) {
        return nullptr;
    }
    const RECT frame = Pixels(dialog, parsed.units);
    MoveWindow(dialog, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               FALSE);
    for (const TemplateControl& control : parsed.controls) {
        const RECT at = Pixels(dialog, control.units);
        if (!CreateWindowExW(control.exStyle, sim::W(control.className), sim::W(control.text),
                             control.style | WS_CHILD, at.left, at.top, at.right - at.left,
                             at.bottom - at.top, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance,
                             nullptr)) {
            DestroyWindow(dialog);
            return nullptr;
        }
    }
    return dialog;
}

std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> controls;
    EnumChildWindows(
        dialog,
        [](HWND control, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(control);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    return controls;
}

bool IsOwnerDrawn(HWND control, UINT& type) {
    const std::u16string name = sim::WindowClassName(control);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    if (name == u"Static" && (style & SS_TYPEMASK) == SS_OWNERDRAW) {
        type = ODT_STATIC;
        return true;
    }
    if (name == u"Button" && (style & BS_TYPEMASK) == BS_OWNERDRAW) {
        type = ODT_BUTTON;
        return true;
    }
    return false;
}

// Paints the owner-drawn controls through the procedure where they stand on the dialog's surface,
// which the record keeps as its picture.
void DrawOwnerDrawn(HWND dialog, DLGPROC proc, sim::DialogRecord& record) {
    DialogSurface surface(dialog);
    for (HWND control : Controls(dialog)) {
        UINT type = 0;
        RECT client{};
        if (Ended(dialog) || !IsOwnerDrawn(control, type) || !GetClientRect(control, &client)) {
            continue;
        }
        HDC dc = surface.BeginControl(control);
        if (!dc) {
            continue;
        }
        DRAWITEMSTRUCT item{type, static_cast<UINT>(GetDlgCtrlID(control)),
                            0,    ODA_DRAWENTIRE,
                            0,    control,
                            dc,   client,
                            0};
        proc(dialog, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        surface.Place();
        ++record.ownerDrawn;
    }
    record.picture = surface.Png();
}

// The visible top-level window of the thread whose input this thread shares.
HWND SharedInputWindow() {
    const DWORD shared = AttachedInputThread(GetCurrentThreadId());
    struct Search {
        DWORD thread;
        HWND found;
    } search{shared, nullptr};
    if (shared != 0) {
        EnumWindows(
            [](HWND window, LPARAM parameter) -> BOOL {
                auto* wanted = reinterpret_cast<Search*>(parameter);
                if (GetWindowThreadProcessId(window, nullptr) == wanted->thread &&
                    IsWindowVisible(window)) {
                    wanted->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

std::u16string TextOf(HWND window) {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, sim::W(text), static_cast<int>(text.size()))));
    return text;
}

// The texts as the procedure left them: it may have replaced the template's.
std::vector<sim::DialogControl> ControlTexts(HWND dialog) {
    std::vector<sim::DialogControl> controls;
    for (HWND control : Controls(dialog)) {
        controls.push_back({GetDlgCtrlID(control), TextOf(control)});
    }
    return controls;
}

// The simulated user presses a control; one that the dialog lacks cannot be pressed, so the user
// closes the dialog instead. A procedure that does not end on either leaves the dialog to be
// closed by the system rather than waiting for ever.
int Press(HWND dialog, DLGPROC proc, const sim::DialogResponse& response) {
    const int choices[] = {response.control, IDCANCEL};
    for (int id : choices) {
        HWND control = GetDlgItem(dialog, id);
        if (!control && id != IDCANCEL) {
            continue;
        }
        proc(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
        if (Ended(dialog)) {
            return id;
        }
    }
    return 0;
}

int TemplateIdOf(const void* dialogTemplate, size_t& bytes) {
    bytes = std::numeric_limits<size_t>::max();
    const ResourceEntry* entry = ResourceHolding(dialogTemplate, bytes);
    return entry && entry->name.IsOrdinal() ? entry->name.ordinal : 0;
}

INT_PTR RunModal(HWND dialog, HWND owner, DLGPROC proc, LPARAM parameter,
                 sim::DialogRecord& record) {
    const bool disabledOwner = owner && !EnableWindow(owner, FALSE);
    const std::vector<HWND> controls = Controls(dialog);
    // The first control would take the focus.
    proc(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(controls.empty() ? nullptr : controls[0]),
         parameter);
    if (!Ended(dialog)) {
        ShowWindow(dialog, SW_SHOW);
        DrawOwnerDrawn(dialog, proc, record);
    }
    record.appWindow = owner ? owner : SharedInputWindow();
    record.caption = TextOf(dialog);
    record.controls = ControlTexts(dialog);
    // What the procedure posted to itself comes before the user's answer.
    sim::DispatchPostedMessages();
    if (!Ended(dialog)) {
        const sim::DialogResponse response = sim::CurrentDialogResponse();
        Sleep(response.afterMs);
        record.appWindowDisabled = record.appWindow && !IsWindowEnabled(record.appWindow);
        record.closedBy = Press(dialog, proc, response);
    }
    if (disabledOwner) {
        EnableWindow(owner, TRUE);
    }
    std::lock_guard guard(TheModals().lock);
    const INT_PTR result = TheModals().open[dialog].result;
    TheModals().open.erase(dialog);
    return result;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate,
                                       HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (hWndParent && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    DialogTemplate parsed;
    size_t bytes = 0;
    moltr::sim::DialogRecord record;
    record.templateId = hDialogTemplate ? TemplateIdOf(hDialogTemplate, bytes) : 0;
    if (!hDialogTemplate || !lpDialogFunc ||
        !ParseDialogTemplate(reinterpret_cast<const BYTE*>(hDialogTemplate), bytes, parsed)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    const HWND owner = OwnerOf(hWndParent);
    HWND dialog = CreateDialogWindow(hInstance, parsed, owner);
    if (!dialog) {
        return -1;
    }
    {
        std::lock_guard guard(TheModals().lock);
        TheModals().open[dialog] = Modal{};
    }
    record.process = GetCurrentProcessId();
    const INT_PTR result = RunModal(dialog, owner, lpDialogFunc, dwInitParam, record);
    DestroyWindow(dialog);
    RecordDialog(record, AttachedInputThread(GetCurrentThreadId()));
    return result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    std::lock_guard guard(TheModals().lock);
    const auto found = TheModals().open.find(hDlg);
    if (found != TheModals().open.end()) {
        found->second = Modal{true, nResult};
    }
    return TRUE;
}
}
