// MOLTRMDN: the manual-duplex notifier, a windowless program that the UI plug-in starts. It takes
// no command line; it serves its pipe until nothing is left to watch.
#include <windows.h>
#include "notifier/notifier_state.h"
#include "notifier/pipe_server.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    moltr::notifier::NotifierState state;
    HANDLE server = CreateThread(nullptr, 0, moltr::notifier::PipeServerThread, &state, 0, nullptr);
    if (server != nullptr) {
        WaitForSingleObject(server, INFINITE);
        CloseHandle(server);
    }
    return 0;
}
