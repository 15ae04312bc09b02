// Clocks, sleeping and the conversions between FILETIME (100 ns since 1601-01-01 UTC) and
// SYSTEMTIME.
#include <windows.h>
#include "sim/machine.h"

#include "sim/sleep_admin.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

namespace {

// 100 ns intervals between 1601-01-01 and 1970-01-01.
constexpr ULONGLONG kUnixEpoch = 116444736000000000ULL;
constexpr ULONGLONG kPerDay = 864000000000ULL;
// The largest FILETIME that converts: year 30827, as documented.
constexpr ULONGLONG kMaxFileTime = 0x7FFFFFFFFFFFFFFFULL;

ULONGLONG Ticks(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FromTicks(ULONGLONG ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

ULONGLONG Now() {
    auto since = std::chrono::system_clock::now().time_since_epoch();
    return kUnixEpoch + std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100;
}

// The machine's clock: frozen when its configuration sets one.
ULONGLONG MachineNow() {
    ULONGLONG frozen = moltr::sim::CurrentConfig().clock;
    return frozen != 0 ? frozen : Now();
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

// Days from 1601-01-01 to the given date (proleptic Gregorian).
LONGLONG DaysFrom1601(int year, int month, int day) {
    LONGLONG y = year - 1601;
    LONGLONG days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m) {
        days += DaysInMonth(year, m);
    }
    return days + day - 1;
}

SYSTEMTIME FromTicksToSystem(ULONGLONG ticks) {
    SYSTEMTIME out{};
    ULONGLONG days = ticks / kPerDay;
    ULONGLONG rest = ticks % kPerDay;
    out.wDayOfWeek = static_cast<WORD>((days + 1) % 7); // 1601-01-01 was a Monday
    int year = 1601 + static_cast<int>(days / 146097) * 400;
    days %= 146097;
    while (days >= static_cast<ULONGLONG>(IsLeap(year) ? 366 : 365)) {
        days -= IsLeap(year) ? 366 : 365;
        ++year;
    }
    int month = 1;
    while (days >= static_cast<ULONGLONG>(DaysInMonth(year, month))) {
        days -= DaysInMonth(year, month);
        ++month;
    }
    out.wYear = static_cast<WORD>(year);
    out.wMonth = static_cast<WORD>(month);
    out.wDay = static_cast<WORD>(days + 1);
    out.wHour = static_cast<WORD>(rest / 36000000000ULL);
    out.wMinute = static_cast<WORD>(rest / 600000000ULL % 60);
    out.wSecond = static_cast<WORD>(rest / 10000000ULL % 60);
    out.wMilliseconds = static_cast<WORD>(rest / 10000ULL % 1000);
    return out;
}

} // namespace

namespace moltr::sim {
namespace {

struct SleepTakeover {
    std::mutex lock;
    SleepHook hook;
};

SleepTakeover& TheTakeover() {
    static SleepTakeover* takeover = new SleepTakeover;
    return *takeover;
}

// The hook, when a test has taken Sleep over.
SleepHook CurrentHook() {
    std::lock_guard guard(TheTakeover().lock);
    return TheTakeover().hook;
}

} // namespace

SleepOverride::SleepOverride(SleepHook hook) {
    std::lock_guard guard(TheTakeover().lock);
    TheTakeover().hook = std::move(hook);
}

SleepOverride::~SleepOverride() {
    std::lock_guard guard(TheTakeover().lock);
    TheTakeover().hook = nullptr;
}

} // namespace moltr::sim

extern "C" {

void WINAPI Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    if (dwMilliseconds == INFINITE) {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::hours(24));
        }
    }
    if (moltr::sim::SleepHook hook = moltr::sim::CurrentHook()) {
        hook(dwMilliseconds);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

ULONGLONG WINAPI GetTickCount64() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
}

DWORD WINAPI GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

void WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime) {
    if (lpSystemTimeAsFileTime) {
        *lpSystemTimeAsFileTime = FromTicks(Now());
    }
}

void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) {
    if (lpSystemTime) {
        *lpSystemTime = FromTicksToSystem(MachineNow());
    }
}

// The machine's time zone has no daylight saving time: local time is UTC less the bias.
void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) {
    if (!lpSystemTime) {
        return;
    }
    moltr::sim::MachineConfig config = moltr::sim::CurrentConfig();
    ULONGLONG utc = config.clock != 0 ? config.clock : Now();
    LONGLONG offset = -static_cast<LONGLONG>(config.timeZoneBias) * 600000000LL;
    *lpSystemTime = FromTicksToSystem(utc + offset);
}

DWORD WINAPI GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation) {
    if (!lpTimeZoneInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    *lpTimeZoneInformation = TIME_ZONE_INFORMATION{};
    lpTimeZoneInformation->Bias = moltr::sim::CurrentConfig().timeZoneBias;
    return TIME_ZONE_ID_UNKNOWN;
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
    if (!lpFileTime || !lpSystemTime || Ticks(*lpFileTime) > kMaxFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpSystemTime = FromTicksToSystem(Ticks(*lpFileTime));
    return TRUE;
}

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime) {
    const SYSTEMTIME* t = lpSystemTime;
    if (!t || !lpFileTime || t->wYear < 1601 || t->wYear > 30827 || t->wMonth < 1 ||
        t->wMonth > 12 || t->wDay < 1 || t->wDay > DaysInMonth(t->wYear, t->wMonth) ||
        t->wHour > 23 || t->wMinute > 59 || t->wSecond > 59 || t->wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ULONGLONG ticks = DaysFrom1601(t->wYear, t->wMonth, t->wDay) * kPerDay +
                      ((t->wHour * 60ULL + t->wMinute) * 60 + t->wSecond) * 10000000ULL +
                      t->wMilliseconds * 10000ULL;
    *lpFileTime = FromTicks(ticks);
    return TRUE;
}

LONG WINAPI CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2) {
    ULONGLONG a = lpFileTime1 ? Ticks(*lpFileTime1) : 0;
    ULONGLONG b = lpFileTime2 ? Ticks(*lpFileTime2) : 0;
    return a < b ? -1 : a > b ? 1 : 0;
}
}
