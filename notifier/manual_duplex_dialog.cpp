#include "notifier/manual_duplex_dialog.h"

#include <new>
#include "common/drv_settings.h"
#include "common/resources.h"
#include "notifier/dialog_pictures.h"
#include "notifier/manual_duplex_type.h"

namespace moltr::notifier {

namespace {

struct DialogRequest {
    NotifierState* state;
    HANDLE printer;
    HWND owner;
    HANDLE started;
};

// Releases a COM-style object at the end of a scope.
template <class Object> struct Released {
    Object* object = nullptr;
    ~Released() {
        if (object != nullptr) {
            object->Release();
        }
    }
};

// The language resource module: the program's own path, upper-cased, with ".EXE" as ".DLL".
bool LanguageModulePath(WCHAR (&path)[MAX_PATH]) {
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    CharUpperW(path);
    for (DWORD i = 0; i + 4 <= length; ++i) {
        if (path[i] == L'.' && path[i + 1] == L'E' && path[i + 2] == L'X' && path[i + 3] == L'E') {
            path[i + 1] = L'D';
            path[i + 2] = L'L';
            path[i + 3] = L'L';
            return true;
        }
    }
    return false;
}

// With the owner's input attached, the owner is disabled while the dialog runs and active after.
void RunModal(const DLGTEMPLATE* dialogTemplate, DialogPictures& pictures, HWND owner) {
    DWORD ownerThread = owner != nullptr ? GetWindowThreadProcessId(owner, nullptr) : 0;
    DWORD thisThread = GetCurrentThreadId();
    bool attached = ownerThread != 0 && AttachThreadInput(thisThread, ownerThread, TRUE);
    bool wasEnabled = attached && !EnableWindow(owner, FALSE);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, nullptr,
                            ManualDuplexDialogProc, reinterpret_cast<LPARAM>(&pictures));
    if (attached) {
        EnableWindow(owner, wasEnabled ? TRUE : FALSE);
        SetActiveWindow(owner);
        AttachThreadInput(thisThread, ownerThread, FALSE);
    }
}

void ShowFor(HANDLE printer, HWND owner) {
    Released<common::IDrvSettings> settings;
    if (FAILED(common::CreateDrvSettings(common::kModeDocument, printer, &settings.object)) ||
        !DuplexesByHand(*settings.object)) {
        return;
    }
    WCHAR path[MAX_PATH];
    Released<common::IDrvResources> resources;
    if (!LanguageModulePath(path) ||
        FAILED(common::CreateModuleResources(&resources.object, path))) {
        return;
    }
    DialogPictures pictures(*resources.object);
    const DLGTEMPLATE* dialogTemplate = nullptr;
    if (SUCCEEDED(resources.object->LoadDialogTemplate(kDialogTemplateId, &dialogTemplate, 1)) &&
        dialogTemplate != nullptr) {
        RunModal(dialogTemplate, pictures, owner);
    }
}

DWORD WINAPI DialogThread(LPVOID parameter) {
    DialogRequest request = *static_cast<DialogRequest*>(parameter);
    request.state->AddActivity();
    SetEvent(request.started);
    ShowFor(request.printer, request.owner);
    request.state->DropActivity();
    return 0;
}

} // namespace

void StartDialogThread(NotifierState& state, HANDLE printer, HWND owner) {
    DialogRequest request = {&state, printer, owner, CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    if (request.started == nullptr) {
        return;
    }
    HANDLE thread = CreateThread(nullptr, 0, DialogThread, &request, 0, nullptr);
    if (thread != nullptr) {
        WaitForSingleObject(request.started, INFINITE);
        CloseHandle(thread);
    }
    CloseHandle(request.started);
}

INT_PTR CALLBACK ManualDuplexDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
        return TRUE;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        auto* pictures =
            reinterpret_cast<const DialogPictures*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
        if (item != nullptr && pictures != nullptr && item->itemAction == ODA_DRAWENTIRE) {
            pictures->Draw(item->CtlID, item->hDC, item->rcItem);
        }
        return TRUE;
    }
    case WM_COMMAND: {
        WORD id = LOWORD(wParam);
        if (id != IDOK && id != IDCANCEL && id != kCloseButtonId) {
            return FALSE;
        }
        if (HWND parent = GetParent(dialog)) {
            SetWindowLongW(parent, GWL_STYLE, GetWindowLongW(parent, GWL_STYLE) & ~WS_DISABLED);
        }
        EndDialog(dialog, 1);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace moltr::notifier
