#pragma once
// The driver environments the spooler knows and the folders that belong to them.
#include <windows.h>
#include <span>
#include <string>

namespace moltr::spool {

struct Environment {
    const char16_t* name;   // "Windows x64"
    const char16_t* folder; // "x64", the environment's folder under drivers\ and prtprocs\ .
};

std::span<const Environment> Environments();
// The machine's own environment, for null or empty names.
const Environment& NativeEnvironment();
// The environment of that name (ignoring case); null for an unknown one.
const Environment* FindEnvironment(const WCHAR* name);

std::u16string DriverDirectory(const Environment& environment);
// Where the files of version-3 drivers live: the driver directory's "3".
std::u16string DriverFilesDirectory(const Environment& environment);
std::u16string PrintProcessorDirectory(const Environment& environment);

} // namespace moltr::spool
