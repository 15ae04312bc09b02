#include "notifier/client_watches.h"

#include <new>

namespace moltr::notifier {

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

// The last visible top-level window of the process is taken as its main window.
BOOL CALLBACK KeepVisibleWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0) {
        search->found = window;
    }
    return TRUE;
}

HWND MainWindowOf(DWORD processId) {
    WindowSearch search = {processId, nullptr};
    EnumWindows(KeepVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct WatchParameter {
    NotifierState* state;
    ClientProcess* client;
};

DWORD WINAPI ClientWatchThread(LPVOID parameter) {
    WatchParameter watch = *static_cast<WatchParameter*>(parameter);
    delete static_cast<WatchParameter*>(parameter);
    WaitForSingleObject(watch.client->process, INFINITE);
    HANDLE process = watch.client->process;
    watch.state->ClientEnded(watch.client);
    CloseHandle(process);
    return 0;
}

ClientProcess* OpenClient(NotifierState& state, DWORD processId) {
    NotifierState::Lock lock(state);
    ClientProcess* client = state.FreeClient();
    if (client == nullptr) {
        return nullptr;
    }
    HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return nullptr;
    }
    *client = {processId, process, MainWindowOf(processId)};
    state.AddActivity();
    return client;
}

// A new entry with its watch thread; null when either cannot be had.
ClientProcess* StartWatch(NotifierState& state, DWORD processId) {
    ClientProcess* client = OpenClient(state, processId);
    if (client == nullptr) {
        return nullptr;
    }
    auto* parameter = new (std::nothrow) WatchParameter{&state, client};
    HANDLE thread = parameter != nullptr
                        ? CreateThread(nullptr, 0, ClientWatchThread, parameter, 0, nullptr)
                        : nullptr;
    if (thread == nullptr) {
        // Unwatched, the entry would keep the program alive for ever.
        delete parameter;
        HANDLE process = client->process;
        state.ClientEnded(client);
        CloseHandle(process);
        return nullptr;
    }
    CloseHandle(thread);
    return client;
}

} // namespace

ClientProcess* WatchClient(NotifierState& state, DWORD processId) {
    return FindOrOpen(
        state, [&] { return state.FindClient(processId); },
        [&] { return StartWatch(state, processId); });
}

} // namespace moltr::notifier
