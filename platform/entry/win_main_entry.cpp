// Start-up of the host build's GUI programs: the C runtime calls main, which calls the program's
// wWinMain as the system's start-up code does (the programs of this machine take no command line).
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

int main() {
    WCHAR noArguments[] = {0};
    return wWinMain(GetModuleHandleW(nullptr), nullptr, noArguments, SW_SHOWDEFAULT);
}
