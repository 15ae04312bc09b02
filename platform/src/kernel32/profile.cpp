// INI files: sections and keys matched ignoring case, files in the ANSI code page or in UTF-16
// with a byte-order mark (kept as found when written back). A file name without a folder is taken
// from the Windows folder.
#include "src/core/file_paths.h"
#include "src/core/wide_text.h"
#include "sim/utf.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace moltr::sim;

namespace {

enum class Encoding { Ansi, Utf16, Utf8 };

struct IniFile {
    Encoding encoding = Encoding::Ansi;
    std::vector<std::u16string> lines;
};

std::u16string Trim(std::u16string_view text) {
    size_t begin = text.find_first_not_of(u" \t");
    if (begin == std::u16string_view::npos) {
        return {};
    }
    size_t end = text.find_last_not_of(u" \t");
    return std::u16string(text.substr(begin, end - begin + 1));
}

// The section name of a "[name]" line, or false.
bool SectionOf(const std::u16string& line, std::u16string& name) {
    std::u16string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != u'[') {
        return false;
    }
    size_t close = trimmed.find(u']');
    name = Trim(std::u16string_view(trimmed).substr(
        1, close == std::u16string::npos ? std::u16string::npos : close - 1));
    return true;
}

// The key and value of a "key=value" line, or false (comments and other lines).
bool EntryOf(const std::u16string& line, std::u16string& key, std::u16string& value) {
    std::u16string trimmed = Trim(line);
    size_t equal = trimmed.find(u'=');
    if (trimmed.empty() || trimmed[0] == u';' || equal == std::u16string::npos) {
        return false;
    }
    key = Trim(std::u16string_view(trimmed).substr(0, equal));
    value = Trim(std::u16string_view(trimmed).substr(equal + 1));
    return true;
}

std::string IniHostPath(LPCWSTR fileName) {
    std::u16string name(View(fileName ? fileName : L"win.ini"));
    if (name.find_first_of(u"\\/") == std::u16string::npos) {
        name = u"C:\\Windows\\" + name;
    }
    std::string host;
    return MapPath(W(name), host) == ERROR_SUCCESS ? host : std::string();
}

std::u16string FromAnsi(const std::string& bytes) {
    if (bytes.empty()) {
        return {};
    }
    int length =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string text(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), W(text), length);
    return text;
}

std::string ToAnsi(const std::u16string& text) {
    if (text.empty()) {
        return {};
    }
    int length = WideCharToMultiByte(CP_ACP, 0, W(text), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, W(text), static_cast<int>(text.size()), bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

IniFile Decode(const std::string& bytes) {
    IniFile file;
    std::u16string text;
    if (bytes.size() >= 2 && static_cast<BYTE>(bytes[0]) == 0xFF &&
        static_cast<BYTE>(bytes[1]) == 0xFE) {
        file.encoding = Encoding::Utf16;
        text.resize((bytes.size() - 2) / 2);
        std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
    } else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        file.encoding = Encoding::Utf8;
        text = Utf16(std::string_view(bytes).substr(3));
    } else {
        text = FromAnsi(bytes);
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) {
            end = text.size();
        }
        std::u16string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r') {
            line.pop_back();
        }
        file.lines.push_back(std::move(line));
        start = end + 1;
    }
    return file;
}

std::string Encode(const IniFile& file) {
    std::u16string text;
    for (const std::u16string& line : file.lines) {
        text += line + u"\r\n";
    }
    switch (file.encoding) {
    case Encoding::Utf16: {
        std::string bytes("\xFF\xFE");
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        return bytes;
    }
    case Encoding::Utf8:
        return "\xEF\xBB\xBF" + Utf8(text);
    default:
        return ToAnsi(text);
    }
}

bool Load(const std::string& host, IniFile& file) {
    std::ifstream in(host, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    file = Decode(bytes.str());
    return true;
}

// Line ranges of the first section with that name: [header, end).
bool FindSection(const IniFile& file, std::u16string_view section, size_t& header, size_t& end) {
    std::u16string name;
    for (size_t i = 0; i < file.lines.size(); ++i) {
        if (SectionOf(file.lines[i], name) && EqualNoCase(name, section)) {
            header = i;
            end = i + 1;
            while (end < file.lines.size() && !SectionOf(file.lines[end], name)) {
                ++end;
            }
            return true;
        }
    }
    return false;
}

bool FindKey(const IniFile& file, size_t header, size_t end, std::u16string_view key, size_t& line,
             std::u16string& value) {
    std::u16string name;
    for (size_t i = header + 1; i < end; ++i) {
        if (EntryOf(file.lines[i], name, value) && EqualNoCase(name, key)) {
            line = i;
            return true;
        }
    }
    return false;
}

// A value enclosed in a pair of double or single quotes is given without them.
std::u16string Unquote(const std::u16string& value) {
    if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0]) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Copies one string, cut to fit with its NUL; returns the characters copied.
DWORD CopyCut(const std::u16string& text, LPWSTR buffer, DWORD size) {
    DWORD length = static_cast<DWORD>(std::min<size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), length * sizeof(WCHAR));
    buffer[length] = 0;
    return length;
}

// Copies a list of names, each with its NUL, ending in a second NUL; a list that does not fit has
// its last name cut and ends in two NULs, and the result is then size - 2.
DWORD CopyList(const std::vector<std::u16string>& names, LPWSTR buffer, DWORD size) {
    if (size < 2) {
        buffer[0] = 0;
        return 0;
    }
    DWORD at = 0;
    for (const std::u16string& name : names) {
        if (at + name.size() + 1 > size - 1) {
            DWORD room = at <= size - 2 ? size - 2 - at : 0;
            std::memcpy(buffer + at, name.data(), room * sizeof(WCHAR));
            buffer[size - 2] = 0;
            buffer[size - 1] = 0;
            return size - 2;
        }
        std::memcpy(buffer + at, name.data(), name.size() * sizeof(WCHAR));
        at += static_cast<DWORD>(name.size());
        buffer[at++] = 0;
    }
    buffer[at] = 0;
    return at == 0 ? 0 : at;
}

} // namespace

extern "C" {

DWORD WINAPI GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                                      LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName) {
    if (!lpReturnedString || nSize == 0) {
        return 0;
    }
    IniFile file;
    bool loaded = Load(IniHostPath(lpFileName), file);
    if (!loaded) {
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    std::u16string name, key, value;
    if (!lpAppName) {
        std::vector<std::u16string> sections;
        for (const std::u16string& line : file.lines) {
            if (SectionOf(line, name)) {
                sections.push_back(name);
            }
        }
        return CopyList(sections, lpReturnedString, nSize);
    }
    size_t header = 0, end = 0, line = 0;
    bool section = FindSection(file, View(lpAppName), header, end);
    if (!lpKeyName) {
        std::vector<std::u16string> keys;
        for (size_t i = header + 1; section && i < end; ++i) {
            if (EntryOf(file.lines[i], key, value)) {
                keys.push_back(key);
            }
        }
        return CopyList(keys, lpReturnedString, nSize);
    }
    if (section && FindKey(file, header, end, View(lpKeyName), line, value)) {
        return CopyCut(Unquote(value), lpReturnedString, nSize);
    }
    // The default loses its trailing blanks.
    std::u16string fallback(View(lpDefault));
    size_t last = fallback.find_last_not_of(u' ');
    fallback.resize(last == std::u16string::npos ? 0 : last + 1);
    return CopyCut(fallback, lpReturnedString, nSize);
}

// The leading decimal number of the value, with its sign; the default when the key is missing or
// empty.
UINT WINAPI GetPrivateProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault,
                                  LPCWSTR lpFileName) {
    WCHAR buffer[64];
    DWORD length = GetPrivateProfileStringW(lpAppName, lpKeyName, L"", buffer, 64, lpFileName);
    if (!lpAppName || !lpKeyName || length == 0) {
        return static_cast<UINT>(nDefault);
    }
    std::u16string_view text = View(buffer);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i++] == u'-';
    }
    UINT number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        number = number * 10 + (text[i] - u'0');
    }
    return negative ? 0u - number : number;
}

BOOL WINAPI WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString,
                                       LPCWSTR lpFileName) {
    if (!lpAppName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string host = IniHostPath(lpFileName);
    if (host.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    // Writers in the file's folder, in any process, take turns; the folder is the lock because the
    // file itself is replaced by each write.
    int lock = ::open(std::filesystem::path(host).parent_path().c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock < 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    ::flock(lock, LOCK_EX);
    struct stat status {};
    if (::stat(host.c_str(), &status) == 0 && !(status.st_mode & S_IWUSR)) {
        ::close(lock);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    IniFile file;
    Load(host, file);
    if (!file.lines.empty() && file.lines.back().empty()) {
        file.lines.pop_back(); // the end of the last line
    }
    size_t header = 0, end = 0, line = 0;
    std::u16string value;
    bool section = FindSection(file, View(lpAppName), header, end);
    bool changed = true;
    if (!lpKeyName) {
        if (section) {
            file.lines.erase(file.lines.begin() + header, file.lines.begin() + end);
        }
        changed = section;
    } else if (!lpString) {
        bool key = section && FindKey(file, header, end, View(lpKeyName), line, value);
        if (key) {
            file.lines.erase(file.lines.begin() + line);
        }
        changed = key;
    } else {
        std::u16string entry =
            std::u16string(View(lpKeyName)) + u"=" + std::u16string(View(lpString));
        if (!section) {
            file.lines.push_back(u"[" + std::u16string(View(lpAppName)) + u"]");
            file.lines.push_back(entry);
        } else if (FindKey(file, header, end, View(lpKeyName), line, value)) {
            file.lines[line] = entry;
        } else {
            // After the section's last entry, before the blank lines that separate it.
            size_t at = end;
            while (at > header + 1 && Trim(file.lines[at - 1]).empty()) {
                --at;
            }
            file.lines.insert(file.lines.begin() + at, entry);
        }
    }
    bool ok = true;
    if (changed) {
        std::string temporary = host + "." + std::to_string(::getpid()) + ".new";
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << Encode(file);
        ok = static_cast<bool>(out.flush());
        out.close();
        ok = ok && std::rename(temporary.c_str(), host.c_str()) == 0;
        if (!ok) {
            std::remove(temporary.c_str());
            SetLastError(MissingPathError(host));
        }
    }
    ::close(lock);
    return ok ? TRUE : FALSE;
}
}
