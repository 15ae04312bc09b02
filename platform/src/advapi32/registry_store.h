#pragma once
// The simulated registry's tree and its storage: one file <root>/registry/registry.dat shared by
// every process of the machine, read again when another process has replaced it and replaced
// atomically (written aside and renamed) under an exclusive lock of <root>/registry/.lock.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace moltr::sim {

struct RegistryValue {
    std::u16string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RegistryNode {
    std::u16string name;
    std::vector<RegistryValue> values; // in the order they were first set
    std::vector<RegistryNode> subkeys; // in the order they were created

    RegistryNode* Child(std::u16string_view name);
    // The child of that name, created when there is none.
    RegistryNode& ChildOrNew(std::u16string_view name);
    RegistryValue* Value(std::u16string_view name);
};

// Key paths are lists of names from a root key ("HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",
// "HKEY_USERS"); names compare ignoring case.
using KeyPath = std::vector<std::u16string>;
RegistryNode* FindKey(RegistryNode& top, const KeyPath& path);

// Runs `work` on the registry under its lock (shared for reading, exclusive for `write`); a write
// is stored when `work` returns ERROR_SUCCESS. Returns what `work` returned.
LONG WithRegistry(bool write, const std::function<LONG(RegistryNode& top)>& work);

} // namespace moltr::sim
