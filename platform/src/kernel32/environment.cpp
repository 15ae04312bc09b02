// The process's environment block: the variables a Windows session of the simulated machine's user
// starts with, then changed only by this process (SetEnvironmentVariableW), as on Windows.
#include "sim/machine.h"
#include "sim/utf.h"
#include "src/core/wide_text.h"

#include <map>
#include <mutex>

namespace {

using moltr::sim::Upper;
using moltr::sim::Utf16;
using moltr::sim::View;

struct Variable {
    std::u16string name; // as first written
    std::u16string value;
};

struct Environment {
    std::mutex lock;
    std::string root;                             // the machine the variables were made for
    std::map<std::u16string, Variable> variables; // by upper-cased name
};

Environment& TheEnvironment() {
    static Environment* environment = new Environment;
    return *environment;
}

void Put(Environment& env, std::u16string name, std::u16string value) {
    std::u16string key = Upper(name);
    env.variables[key] = Variable{std::move(name), std::move(value)};
}

// The session's variables, made again when the process moves to another machine.
void Refresh(Environment& env) {
    std::string root = moltr::sim::MachineRoot();
    if (root == env.root && !env.variables.empty()) {
        return;
    }
    moltr::sim::MachineConfig config = moltr::sim::CurrentConfig();
    env.root = root;
    env.variables.clear();
    const std::string profile = "C:\\Users\\" + config.userName;
    const std::pair<const char*, std::string> session[] = {
        {"ALLUSERSPROFILE", "C:\\ProgramData"},
        {"APPDATA", profile + "\\AppData\\Roaming"},
        {"CommonProgramFiles", "C:\\Program Files\\Common Files"},
        {"COMPUTERNAME", config.computerName},
        {"ComSpec", "C:\\Windows\\system32\\cmd.exe"},
        {"HOMEDRIVE", "C:"},
        {"HOMEPATH", "\\Users\\" + config.userName},
        {"LOCALAPPDATA", profile + "\\AppData\\Local"},
        {"OS", "Windows_NT"},
        {"Path", "C:\\Windows\\system32;C:\\Windows;C:\\Windows\\System32\\Wbem"},
        {"PATHEXT", ".COM;.EXE;.BAT;.CMD"},
        {"PROCESSOR_ARCHITECTURE", "AMD64"},
        {"ProgramData", "C:\\ProgramData"},
        {"ProgramFiles", "C:\\Program Files"},
        {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
        {"ProgramW6432", "C:\\Program Files"},
        {"PUBLIC", "C:\\Users\\Public"},
        {"SystemDrive", "C:"},
        {"SystemRoot", "C:\\Windows"},
        {"TEMP", profile + "\\AppData\\Local\\Temp"},
        {"TMP", profile + "\\AppData\\Local\\Temp"},
        {"USERDOMAIN", config.computerName},
        {"USERNAME", config.userName},
        {"USERPROFILE", profile},
        {"windir", "C:\\Windows"},
    };
    for (const auto& [name, value] : session) {
        Put(env, Utf16(name), Utf16(value));
    }
}

bool Lookup(Environment& env, std::u16string_view name, std::u16string& value) {
    auto it = env.variables.find(Upper(name));
    if (it == env.variables.end()) {
        return false;
    }
    value = it->second.value;
    return true;
}

// Expands %NAME% references; a reference to an unknown variable stays as written, both its percent
// signs included.
std::u16string Expand(Environment& env, std::u16string_view source) {
    std::u16string out;
    size_t i = 0;
    while (i < source.size()) {
        size_t open = source.find(u'%', i);
        if (open == std::u16string_view::npos) {
            out.append(source.substr(i));
            break;
        }
        out.append(source.substr(i, open - i));
        size_t close = source.find(u'%', open + 1);
        if (close == std::u16string_view::npos) {
            out.append(source.substr(open));
            break;
        }
        std::u16string value;
        if (close > open + 1 && Lookup(env, source.substr(open + 1, close - open - 1), value)) {
            out += value;
            i = close + 1;
        } else {
            out.append(source.substr(open, close - open + 1));
            i = close + 1;
        }
    }
    return out;
}

} // namespace

extern "C" {

DWORD WINAPI GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize) {
    Environment& env = TheEnvironment();
    std::lock_guard guard(env.lock);
    Refresh(env);
    std::u16string value;
    if (!lpName || !Lookup(env, View(lpName), value)) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    if (value.empty() && lpBuffer && nSize > 0) {
        lpBuffer[0] = 0;
        SetLastError(ERROR_SUCCESS);
    }
    return moltr::sim::CopyOut(value, lpBuffer, nSize);
}

BOOL WINAPI SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue) {
    std::u16string_view name = View(lpName);
    if (name.empty() || name.find(u'=') != std::u16string_view::npos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Environment& env = TheEnvironment();
    std::lock_guard guard(env.lock);
    Refresh(env);
    if (!lpValue) {
        if (!env.variables.erase(Upper(name))) {
            SetLastError(ERROR_ENVVAR_NOT_FOUND);
            return FALSE;
        }
        return TRUE;
    }
    Put(env, std::u16string(name), std::u16string(View(lpValue)));
    return TRUE;
}

// The result's size counts the NUL, also when it fits; a buffer that is too small is left alone.
DWORD WINAPI ExpandEnvironmentStringsW(LPCWSTR lpSrc, LPWSTR lpDst, DWORD nSize) {
    if (!lpSrc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Environment& env = TheEnvironment();
    std::lock_guard guard(env.lock);
    Refresh(env);
    std::u16string expanded = Expand(env, View(lpSrc));
    DWORD copied = moltr::sim::CopyOut(expanded, lpDst, nSize);
    return copied == expanded.size() ? copied + 1 : copied;
}
}
