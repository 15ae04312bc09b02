#pragma once
// Texts from the job that go into quoted PJL and EJL values.
#include <windows.h>

namespace moltr::render {

// Room of a job text, terminating NUL included.
inline constexpr DWORD kJobTextRoom = 256;

// A copy of `source` (null reads as empty) cut to `limit` characters and to the room, with every
// '"' and control character (ESC among them) replaced by a blank, so that a name cannot end its
// quoted value or start a command of its own.
void QuotedValue(LPCWSTR source, DWORD limit, WCHAR (&value)[kJobTextRoom]);

// The length of the application part of a document name ("Editor - file.txt" gives "Editor "):
// the characters before its first '-', or 0 when it has none after its first character.
DWORD ApplicationPartLength(LPCWSTR documentName);

// The time zone of the SUBMISSION value from GetTimeZoneInformation's bias (local = UTC - bias):
// "+" ahead of UTC, "-" at UTC and behind it, and the whole hours of the bias without sign.
struct ZoneOffset {
    LPCWSTR sign;
    int hours;
};
ZoneOffset SubmissionZone(LONG bias);

} // namespace moltr::render
