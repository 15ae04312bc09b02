// Modal dialogs: DialogBoxIndirectParamW and DialogBoxParamW. Nobody sits in front of the
// simulated desktop, so the dialog's message loop is the machine's responder: after WM_INITDIALOG,
// what was posted to the dialog's thread (through IsDialogMessageW) and painting (the picture of
// the dialog, which the record keeps, with the owner-drawn controls' WM_DRAWITEM) it presses the
// chosen control, whose WM_COMMAND goes to the dialog, and the dialog ends when its procedure calls
// EndDialog.
#include "src/kernel32/module_table.h"
#include "src/user32/user_desktop.h"
#include "src/user32/user_dialog_records.h"
#include "src/user32/user_dialog_manager.h"
#include "src/user32/user_objects.h"
#include "src/user32/user_thread_input.h"
#include "sim/utf.h"
#include "sim/window_pictures.h"
#include "sim/windows_admin.h"

#include <windows.h>
#include <limits>

namespace moltr::platform {
namespace {

bool Ended(HWND dialog) {
    INT_PTR result = 0;
    return DialogEnded(dialog, result);
}

// The top-level window a dialog with this parent belongs to.
HWND OwnerOf(HWND parent) {
    for (HWND up = parent; up; up = GetParent(up)) {
        parent = up;
    }
    return parent;
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

// The dialog's picture, every control painting itself where it stands (the owner-drawn ones
// through the procedure's WM_DRAWITEM), which the record keeps.
void Picture(HWND dialog, sim::DialogRecord& record) {
    for (HWND control : Controls(dialog)) {
        UINT type = 0;
        record.ownerDrawn += IsOwnerDrawn(control, type) ? 1 : 0;
    }
    record.picture = sim::WindowPicture(dialog);
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
int Press(HWND dialog, const sim::DialogResponse& response) {
    const int choices[] = {response.control, IDCANCEL};
    for (int id : choices) {
        HWND control = GetDlgItem(dialog, id);
        if (!control && id != IDCANCEL) {
            continue;
        }
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
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

INT_PTR RunModal(HWND dialog, HWND owner, sim::DialogRecord& record) {
    const bool disabledOwner = owner && !EnableWindow(owner, FALSE);
    if (!Ended(dialog)) {
        ShowWindow(dialog, SW_SHOW);
        SetActiveWindow(dialog);
        sim::DispatchPostedMessages(dialog);
    }
    if (!Ended(dialog)) {
        Picture(dialog, record);
    }
    record.appWindow = owner ? owner : SharedInputWindow();
    record.caption = TextOf(dialog);
    record.controls = ControlTexts(dialog);
    if (!Ended(dialog)) {
        const sim::DialogResponse response = sim::CurrentDialogResponse();
        Sleep(response.afterMs);
        record.appWindowDisabled = record.appWindow && !IsWindowEnabled(record.appWindow);
        record.closedBy = Press(dialog, response);
    }
    if (disabledOwner) {
        EnableWindow(owner, TRUE);
    }
    INT_PTR result = 0;
    DialogEnded(dialog, result);
    return result;
}

INT_PTR ShowModal(HINSTANCE instance, const BYTE* data, size_t size, HWND parent, DLGPROC proc,
                  LPARAM parameter, int templateId) {
    if (parent && !IsWindow(parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    moltr::sim::DialogRecord record;
    record.templateId = templateId;
    const HWND owner = OwnerOf(parent);
    HWND dialog = CreateDialogFromTemplate(instance, data, size, owner, proc, parameter, true);
    if (!dialog) {
        return -1;
    }
    record.process = GetCurrentProcessId();
    const INT_PTR result = RunModal(dialog, owner, record);
    DestroyWindow(dialog);
    RecordDialog(record, AttachedInputThread(GetCurrentThreadId()));
    return result;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate,
                                       HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    size_t bytes = 0;
    const int templateId = hDialogTemplate ? TemplateIdOf(hDialogTemplate, bytes) : 0;
    return ShowModal(hInstance, reinterpret_cast<const BYTE*>(hDialogTemplate), bytes, hWndParent,
                     lpDialogFunc, dwInitParam, templateId);
}

INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    size_t bytes = 0;
    const BYTE* data = DialogResource(hInstance, lpTemplateName, bytes);
    if (!data) {
        return -1;
    }
    const int templateId = IS_INTRESOURCE(lpTemplateName)
                               ? static_cast<int>(reinterpret_cast<ULONG_PTR>(lpTemplateName))
                               : 0;
    return ShowModal(hInstance, data, bytes, hWndParent, lpDialogFunc, dwInitParam, templateId);
}
}
