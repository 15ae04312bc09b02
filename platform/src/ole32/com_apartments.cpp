// COM initialisation per thread: CoInitializeEx, CoInitialize, CoUninitialize. Each thread
// counts its initialisations and keeps the concurrency model of the first.
#include <windows.h>

#include "src/ole32/com_apartments.h"

namespace moltr::com {
namespace {

struct ThreadApartment {
    ULONG count = 0;
    bool multithreaded = false;
};

thread_local ThreadApartment apartment;

} // namespace

bool ThreadInitialised() {
    return apartment.count > 0;
}

} // namespace moltr::com

using moltr::com::apartment;

extern "C" {

HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
    if (pvReserved) {
        return E_INVALIDARG;
    }
    const bool multithreaded = !(dwCoInit & COINIT_APARTMENTTHREADED);
    if (apartment.count > 0 && apartment.multithreaded != multithreaded) {
        return RPC_E_CHANGED_MODE;
    }
    apartment.multithreaded = multithreaded;
    return ++apartment.count == 1 ? S_OK : S_FALSE;
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved) {
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

void WINAPI CoUninitialize() {
    if (apartment.count > 0) {
        --apartment.count;
    }
}

} // extern "C"
