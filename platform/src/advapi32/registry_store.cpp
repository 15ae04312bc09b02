#include "src/advapi32/registry_store.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include "src/core/wide_text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace moltr::sim {
namespace {

// The file's text: a line "K <path>" for every key (parents first), each followed by lines
// "V :<name> <type> <hex data>-" for its values. Names are UTF-8 with %, space, tab, CR and LF
// escaped as %XX (the colon keeps the default value's empty name visible); path components are
// separated by backslashes.
std::string Escape(std::u16string_view text) {
    std::string out;
    for (char c : Utf8(text)) {
        if (c == '%' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            char code[4];
            std::snprintf(code, sizeof(code), "%%%02X", static_cast<unsigned char>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// The byte written as two hex digits at `at`, or -1.
int HexByte(const std::string& text, size_t at) {
    if (at + 1 >= text.size() || HexDigit(text[at]) < 0 || HexDigit(text[at + 1]) < 0) {
        return -1;
    }
    return HexDigit(text[at]) * 16 + HexDigit(text[at + 1]);
}

std::u16string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && HexByte(text, i + 1) >= 0) {
            out += static_cast<char>(HexByte(text, i + 1));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return Utf16(out);
}

void Write(const RegistryNode& node, const std::string& path, std::ostringstream& out) {
    if (!path.empty()) {
        out << "K " << path << "\n";
    }
    for (const RegistryValue& value : node.values) {
        out << "V :" << Escape(value.name) << " " << value.type << " ";
        static const char digits[] = "0123456789abcdef";
        for (BYTE b : value.data) {
            out << digits[b >> 4] << digits[b & 15];
        }
        out << "-\n"; // ends the data, which may be empty
    }
    for (const RegistryNode& child : node.subkeys) {
        Write(child, path.empty() ? Escape(child.name) : path + "\\" + Escape(child.name), out);
    }
}

RegistryNode Parse(const std::string& text) {
    RegistryNode top;
    RegistryNode* current = &top;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "K") {
            std::string path;
            fields >> path;
            current = &top;
            std::stringstream parts(path);
            std::string part;
            while (std::getline(parts, part, '\\')) {
                if (!part.empty()) {
                    current = &current->ChildOrNew(Unescape(part));
                }
            }
        } else if (kind == "V") {
            std::string name, hex;
            RegistryValue value;
            if (!(fields >> name >> value.type >> hex) || name.empty() || name[0] != ':') {
                continue;
            }
            value.name = Unescape(name.substr(1));
            for (size_t i = 0; HexByte(hex, i) >= 0; i += 2) {
                value.data.push_back(static_cast<BYTE>(HexByte(hex, i)));
            }
            current->values.push_back(std::move(value));
        }
    }
    // The root keys, and the machine's classes behind HKEY_CLASSES_ROOT, always exist.
    const KeyPath always[] = {{u"HKEY_LOCAL_MACHINE", u"SOFTWARE", u"Classes"},
                              {u"HKEY_LOCAL_MACHINE", u"SYSTEM"},
                              {u"HKEY_CURRENT_USER", u"Software"},
                              {u"HKEY_USERS"}};
    for (const KeyPath& path : always) {
        RegistryNode* node = &top;
        for (const std::u16string& name : path) {
            node = &node->ChildOrNew(name);
        }
    }
    return top;
}

struct Cache {
    std::mutex lock;
    std::string file;
    struct stat identity {};
    bool loaded = false;
    RegistryNode top;
};

Cache& TheCache() {
    static Cache* cache = new Cache;
    return *cache;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

void Load(Cache& cache, const std::string& file) {
    struct stat now {};
    bool exists = ::stat(file.c_str(), &now) == 0;
    if (cache.loaded && cache.file == file && exists && SameFile(now, cache.identity)) {
        return;
    }
    std::string text;
    if (exists) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        text = all.str();
    }
    cache.top = Parse(text);
    cache.file = file;
    cache.identity = now;
    cache.loaded = exists;
}

bool Store(Cache& cache, const std::string& file) {
    std::ostringstream out;
    Write(cache.top, {}, out);
    std::string temporary = file + "." + std::to_string(::getpid()) + ".new";
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        stream << out.str();
        if (!stream.flush()) {
            return false;
        }
    }
    if (std::rename(temporary.c_str(), file.c_str()) != 0) {
        return false;
    }
    cache.loaded = ::stat(file.c_str(), &cache.identity) == 0;
    return true;
}

} // namespace

RegistryNode* RegistryNode::Child(std::u16string_view wanted) {
    for (RegistryNode& child : subkeys) {
        if (EqualNoCase(child.name, wanted)) {
            return &child;
        }
    }
    return nullptr;
}

RegistryNode& RegistryNode::ChildOrNew(std::u16string_view wanted) {
    if (RegistryNode* child = Child(wanted)) {
        return *child;
    }
    subkeys.push_back(RegistryNode{std::u16string(wanted), {}, {}});
    return subkeys.back();
}

RegistryValue* RegistryNode::Value(std::u16string_view wanted) {
    for (RegistryValue& value : values) {
        if (EqualNoCase(value.name, wanted)) {
            return &value;
        }
    }
    return nullptr;
}

RegistryNode* FindKey(RegistryNode& top, const KeyPath& path) {
    RegistryNode* node = &top;
    for (const std::u16string& name : path) {
        node = node->Child(name);
        if (!node) {
            return nullptr;
        }
    }
    return node;
}

LONG WithRegistry(bool write, const std::function<LONG(RegistryNode& top)>& work) {
    Cache& cache = TheCache();
    std::lock_guard guard(cache.lock);
    std::string root = MachineRoot();
    if (root.empty()) {
        // Without a machine the registry lives in this process only.
        if (!cache.file.empty() || cache.top.subkeys.empty()) {
            cache.top = Parse({});
            cache.file.clear();
            cache.loaded = false;
        }
        return work(cache.top);
    }
    fs::path folder = fs::path(root) / "registry";
    std::error_code ec;
    fs::create_directories(folder, ec);
    int lock = ::open((folder / ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lock < 0 || ::flock(lock, write ? LOCK_EX : LOCK_SH) != 0) {
        if (lock >= 0) {
            ::close(lock);
        }
        return ERROR_CANTOPEN;
    }
    const std::string file = (folder / "registry.dat").string();
    Load(cache, file);
    LONG result = ERROR_SUCCESS;
    if (write) {
        RegistryNode before = cache.top;
        result = work(cache.top);
        if (result == ERROR_SUCCESS && !Store(cache, file)) {
            cache.top = std::move(before);
            result = ERROR_CANTWRITE;
        } else if (result != ERROR_SUCCESS) {
            cache.top = std::move(before);
        }
    } else {
        result = work(cache.top);
    }
    ::close(lock);
    return result;
}

} // namespace moltr::sim
