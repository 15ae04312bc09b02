// The machine administration of the Windows build's tests: the machine is the one that runs them,
// so a test machine is that machine as it stands and its configuration cannot be changed (the
// cases that change it are marked MOLTR_SIMULATION_ONLY). What a test adds to the folders the
// tests write in is removed again when its machine goes, as a fresh simulated machine would not
// have it; what was there before is left alone.
#include "sim/machine.h"
#include "sim/utf.h"

#include <set>
#include <string>
#include <vector>

namespace moltr::sim {
namespace {

constexpr const char16_t* kWatchedFolders[] = {u"C:\\", u"C:\\Windows\\", u"C:\\Windows\\Temp\\"};

// The names in `folder` (ending in a backslash), without "." and "..".
std::set<std::u16string> Entries(const std::u16string& folder) {
    std::set<std::u16string> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(W(folder + u"*"), &data);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::u16string name(View(data.cFileName));
        if (name != u"." && name != u"..") {
            names.insert(name);
        }
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return names;
}

void Remove(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(W(path));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileW(W(path));
        return;
    }
    const std::u16string folder = path + u"\\";
    for (const std::u16string& name : Entries(folder)) {
        Remove(folder + name);
    }
    RemoveDirectoryW(W(path));
}

// The entries of each watched folder when the current test machine was made.
std::vector<std::set<std::u16string>>& Before() {
    static std::vector<std::set<std::u16string>> before;
    return before;
}

} // namespace

TestMachine::TestMachine(const MachineConfig&) {
    Before().clear();
    for (const char16_t* folder : kWatchedFolders) {
        Before().push_back(Entries(folder));
    }
}

TestMachine::~TestMachine() {
    for (size_t i = 0; i < Before().size(); ++i) {
        const std::u16string folder = kWatchedFolders[i];
        for (const std::u16string& name : Entries(folder)) {
            if (Before()[i].count(name) == 0) {
                Remove(folder + name);
            }
        }
    }
}

bool UpdateConfig(const MachineConfig&) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
}

} // namespace moltr::sim
