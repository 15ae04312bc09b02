#pragma once
// Devmodes as the spooler keeps them: opaque bytes whose length the devmode's own header gives
// (dmSize for the public part plus dmDriverExtra for the driver's private part).
#include <windows.h>
#include <cstddef>
#include <vector>

namespace moltr::spool {

// The smallest public part accepted: up to and including dmFields.
constexpr size_t kMinDevModeSize = offsetof(DEVMODEW, dmFields) + sizeof(DWORD);

// The whole length that a devmode's header claims.
size_t DevModeLength(const void* devmode);
// A copy of the caller's devmode; empty when its header is not plausible.
std::vector<BYTE> CopyDevMode(const void* devmode);
// Whether stored bytes are one whole devmode.
bool IsWholeDevMode(const std::vector<BYTE>& bytes);
// The devmode a record keeps: `bytes` when they are one whole devmode, else none.
std::vector<BYTE> StoredDevMode(std::vector<BYTE> bytes);

} // namespace moltr::spool
