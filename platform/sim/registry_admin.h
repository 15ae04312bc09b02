#pragma once
// Setting up the simulated registry for tests and tools (host build only). Key paths start with the
// root key's name as Windows writes it ("HKEY_LOCAL_MACHINE\\SYSTEM\\..."); the short forms HKLM,
// HKCU and HKCR are accepted too. Missing keys are created.
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::sim {

bool SetRegistryValue(const std::string& key, const std::string& name, DWORD type,
                      const std::vector<BYTE>& data);
// A REG_SZ or REG_EXPAND_SZ value, stored as UTF-16 with its NUL.
bool SetRegistryString(const std::string& key, const std::string& name, const std::string& value,
                       DWORD type = REG_SZ);
bool SetRegistryDword(const std::string& key, const std::string& name, DWORD value);
// The value's type and data; false when the key or the value does not exist.
bool GetRegistryValue(const std::string& key, const std::string& name, DWORD& type,
                      std::vector<BYTE>& data);

} // namespace moltr::sim
