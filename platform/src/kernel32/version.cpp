// The Windows version of the simulated machine: GetVersionExW and VerifyVersionInfoW.
#include "sim/machine.h"
#include "sim/utf.h"

#include <cstring>
#include <string>

namespace {

// Each VER_ type bit owns three bits of the condition mask, in the order of its bit position.
BYTE ConditionOf(ULONGLONG mask, DWORD type) {
    int index = __builtin_ctz(type);
    return static_cast<BYTE>((mask >> (index * 3)) & 7);
}

bool Holds(BYTE condition, LONGLONG order) {
    switch (condition) {
    case VER_EQUAL:
        return order == 0;
    case VER_GREATER:
        return order > 0;
    case VER_GREATER_EQUAL:
        return order >= 0;
    case VER_LESS:
        return order < 0;
    case VER_LESS_EQUAL:
        return order <= 0;
    default:
        return false;
    }
}

LONGLONG Order(ULONGLONG actual, ULONGLONG wanted) {
    return actual < wanted ? -1 : actual > wanted ? 1 : 0;
}

OSVERSIONINFOEXW MachineVersion() {
    moltr::sim::WindowsVersion v = moltr::sim::CurrentConfig().version;
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwMajorVersion = v.major;
    info.dwMinorVersion = v.minor;
    info.dwBuildNumber = v.build;
    info.dwPlatformId = VER_PLATFORM_WIN32_NT;
    if (v.servicePackMajor) {
        std::u16string pack =
            moltr::sim::Utf16("Service Pack " + std::to_string(v.servicePackMajor));
        std::memcpy(info.szCSDVersion, pack.c_str(), (pack.size() + 1) * sizeof(WCHAR));
    }
    info.wServicePackMajor = v.servicePackMajor;
    info.wProductType = VER_NT_WORKSTATION;
    return info;
}

} // namespace

extern "C" {

BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW lpVersionInformation) {
    if (!lpVersionInformation ||
        (lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW) &&
         lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXW))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    OSVERSIONINFOEXW info = MachineVersion();
    info.dwOSVersionInfoSize = lpVersionInformation->dwOSVersionInfoSize;
    std::memcpy(lpVersionInformation, &info, info.dwOSVersionInfoSize);
    return TRUE;
}

ULONGLONG WINAPI VerSetConditionMask(ULONGLONG ConditionMask, DWORD TypeMask, BYTE Condition) {
    for (DWORD bit = 0; bit < 8; ++bit) {
        if (TypeMask & (1u << bit)) {
            ConditionMask &= ~(7ULL << (bit * 3));
            ConditionMask |= static_cast<ULONGLONG>(Condition & 7) << (bit * 3);
        }
    }
    return ConditionMask;
}

// Major version, minor version and service pack compare as one number, most significant first,
// under the condition of the most significant part asked for; the other parts compare alone.
BOOL WINAPI VerifyVersionInfoW(LPOSVERSIONINFOEXW lpVersionInformation, DWORD dwTypeMask,
                               DWORDLONG dwlConditionMask) {
    if (!lpVersionInformation || dwTypeMask == 0 || dwlConditionMask == 0) {
        SetLastError(ERROR_BAD_ARGUMENTS);
        return FALSE;
    }
    const OSVERSIONINFOEXW actual = MachineVersion();
    const OSVERSIONINFOEXW& wanted = *lpVersionInformation;
    bool holds = true;
    struct Part {
        DWORD type;
        ULONGLONG actual;
        ULONGLONG wanted;
    };
    const Part hierarchy[] = {
        {VER_MAJORVERSION, actual.dwMajorVersion, wanted.dwMajorVersion},
        {VER_MINORVERSION, actual.dwMinorVersion, wanted.dwMinorVersion},
        {VER_SERVICEPACKMAJOR, actual.wServicePackMajor, wanted.wServicePackMajor},
        {VER_SERVICEPACKMINOR, actual.wServicePackMinor, wanted.wServicePackMinor},
    };
    BYTE condition = 0;
    LONGLONG order = 0;
    for (const Part& part : hierarchy) {
        if (!(dwTypeMask & part.type)) {
            continue;
        }
        if (!condition) {
            condition = ConditionOf(dwlConditionMask, part.type);
        }
        if (order == 0) {
            order = Order(part.actual, part.wanted);
        }
    }
    if (condition) {
        holds = Holds(condition, order);
    }
    if (dwTypeMask & VER_BUILDNUMBER) {
        holds = holds && Holds(ConditionOf(dwlConditionMask, VER_BUILDNUMBER),
                               Order(actual.dwBuildNumber, wanted.dwBuildNumber));
    }
    if (dwTypeMask & VER_PLATFORMID) {
        holds = holds && Holds(ConditionOf(dwlConditionMask, VER_PLATFORMID),
                               Order(actual.dwPlatformId, wanted.dwPlatformId));
    }
    if (dwTypeMask & VER_PRODUCT_TYPE) {
        holds = holds && Holds(ConditionOf(dwlConditionMask, VER_PRODUCT_TYPE),
                               Order(actual.wProductType, wanted.wProductType));
    }
    if (!holds) {
        SetLastError(ERROR_OLD_WIN_VERSION);
        return FALSE;
    }
    return TRUE;
}
}
