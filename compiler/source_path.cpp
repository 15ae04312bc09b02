#include "compiler/source_path.h"

#include <windows.h>
#include <winspool.h>
#include <vector>
#include "compiler/windows_version.h"
#include "store/ascii_case.h"

namespace moltr::compiler {

namespace {

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t at = 0; at < prefix.size(); ++at) {
        if (store::UpperAscii(text[at]) != store::UpperAscii(prefix[at])) {
            return false;
        }
    }
    return true;
}

// A directory from one of the spooler's directory calls (sizes in bytes).
template <typename Call> bool SpoolerDirectory(Call call, std::u16string& directory) {
    DWORD needed = 0;
    call(nullptr, 0, &needed);
    if (needed == 0) {
        return false;
    }
    std::vector<BYTE> buffer(needed + sizeof(WCHAR));
    if (!call(buffer.data(), needed, &needed)) {
        return false;
    }
    directory = reinterpret_cast<const char16_t*>(buffer.data());
    return true;
}

bool PrinterDriverDirectory(std::u16string& directory) {
    return SpoolerDirectory(
        [](BYTE* buffer, DWORD size, DWORD* needed) {
            return GetPrinterDriverDirectoryW(nullptr, nullptr, 1, buffer, size, needed) != FALSE;
        },
        directory);
}

bool PrintProcessorDirectory(std::u16string& directory) {
    return SpoolerDirectory(
        [](BYTE* buffer, DWORD size, DWORD* needed) {
            return GetPrintProcessorDirectoryW(nullptr, nullptr, 1, buffer, size, needed) != FALSE;
        },
        directory);
}

// A directory from GetSystemDirectoryW or GetWindowsDirectoryW (sizes in characters).
bool SystemDirectory(UINT (*call)(LPWSTR, UINT), std::u16string& directory) {
    WCHAR buffer[MAX_PATH + 1] = {};
    const UINT length = call(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return false;
    }
    directory.assign(reinterpret_cast<const char16_t*>(buffer), length);
    return true;
}

// Drivers live in the version subdirectory "3" of the driver directory on these versions.
bool DriverFilesInVersionDirectory() {
    WindowsVersion version;
    return RunningWindowsVersion(version) && version.platform == VER_PLATFORM_WIN32_NT &&
           ((version.major == 5 && version.minor <= 2) ||
            (version.major == 6 && version.minor == 0));
}

} // namespace

std::u16string_view FileExtension(std::u16string_view path) {
    const size_t folderEnd = path.find_last_of(u"\\/");
    const std::u16string_view name =
        folderEnd == std::u16string_view::npos ? path : path.substr(folderEnd + 1);
    const size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

bool ResolveSourcePath(std::u16string_view path, std::u16string& resolved) {
    std::u16string_view written = path;
    if (!written.empty() && written[0] == u'"') {
        written.remove_prefix(1);
        written = written.substr(0, written.find(u'"'));
    }
    std::u16string result;
    if (written.find(u'\\') == std::u16string_view::npos) {
        if (!PrinterDriverDirectory(result)) {
            return false;
        }
        result += DriverFilesInVersionDirectory() ? u"\\3\\" : u"\\";
        result += written;
    } else {
        struct Prefix {
            std::u16string_view text;
            bool (*directory)(std::u16string&);
        };
        static const Prefix kPrefixes[] = {
            {u"[SYSDIR]",
             [](std::u16string& directory) {
                 return SystemDirectory(GetSystemDirectoryW, directory);
             }},
            {u"[WINDIR]",
             [](std::u16string& directory) {
                 return SystemDirectory(GetWindowsDirectoryW, directory);
             }},
            {u"[PRINTPROCDIR]", PrintProcessorDirectory},
        };
        result = written;
        if (written.find(u'[') != std::u16string_view::npos) {
            for (const Prefix& prefix : kPrefixes) {
                if (StartsWithIgnoringCase(written, prefix.text)) {
                    if (!prefix.directory(result)) {
                        return false;
                    }
                    result += written.substr(prefix.text.size());
                    break;
                }
            }
        }
    }
    if (FileExtension(written).empty()) {
        result += u".XPD";
    }
    if (!result.empty()) {
        CharLowerBuffW(reinterpret_cast<LPWSTR>(result.data()), static_cast<DWORD>(result.size()));
    }
    resolved = std::move(result);
    return true;
}

} // namespace moltr::compiler
