// Stands in for the notifier program in the hand-off tests: serves the notifier pipe, named after
// its own module as the notifier names it, and reports each request's bytes into the machine's
// folder as request-N.bin (renamed into place whole). The test ends it.
#include <windows.h>
#include <psapi.h>
#include <cstdlib>
#include <fstream>
#include <string>
#include "notifier/notifier_request.h"
#include "notifier/pipe_name.h"

int main() {
    WCHAR base[MAX_PATH] = {};
    WCHAR name[moltr::notifier::kPipeNameChars];
    const char* root = std::getenv("MOLTR_SPOOL");
    if (root == nullptr || GetModuleBaseNameW(GetCurrentProcess(), nullptr, base, MAX_PATH) == 0 ||
        !moltr::notifier::NotifierPipeName(base, name)) {
        return 2;
    }
    HANDLE pipe =
        CreateNamedPipeW(name, PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                         PIPE_UNLIMITED_INSTANCES, 0, moltr::notifier::kRequestSize, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        return 3;
    }
    for (int n = 1;; ++n) {
        if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
            return 4;
        }
        std::string bytes;
        char piece[1024];
        DWORD got = 0;
        while (ReadFile(pipe, piece, sizeof piece, &got, nullptr) && got != 0) {
            bytes.append(piece, got);
        }
        DisconnectNamedPipe(pipe);
        std::string path = std::string(root) + "/request-" + std::to_string(n) + ".bin";
        std::ofstream(path + ".part", std::ios::binary) << bytes;
        std::rename((path + ".part").c_str(), path.c_str());
    }
}
