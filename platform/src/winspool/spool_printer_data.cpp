// Printer data keys, one file each in the printer's data folder.
#include "src/winspool/spool_printer_data.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_names.h"
#include "src/winspool/spool_printers.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace moltr::spool {
namespace {

std::string DataFolder(uint64_t printerId) {
    std::string folder = PrinterFolder(printerId);
    return folder.empty() ? folder : folder + "/data";
}

std::string KeyFilePath(uint64_t printerId, std::u16string_view key) {
    std::string folder = DataFolder(printerId);
    return folder.empty() ? folder : folder + "/" + FileNameFor(key);
}

} // namespace

bool IsValidKeyName(std::u16string_view key) {
    if (key.empty()) {
        return false;
    }
    size_t start = 0;
    for (;;) {
        size_t end = key.find(u'\\', start);
        size_t length = (end == std::u16string_view::npos ? key.size() : end) - start;
        if (length == 0) {
            return false;
        }
        if (end == std::u16string_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

std::optional<ValueBag> LoadKey(uint64_t printerId, std::u16string_view key) {
    std::string path = KeyFilePath(printerId, key);
    std::optional<KeyFile> file = path.empty() ? std::nullopt : ReadKeyFile(path);
    if (!file || !SameName(file->key.title, key)) {
        return std::nullopt;
    }
    return std::move(file->key);
}

DWORD ChangeKey(uint64_t printerId, std::u16string_view key, const ValueChange& change) {
    std::string path = KeyFilePath(printerId, key);
    if (path.empty()) {
        return ERROR_CANTWRITE;
    }
    std::optional<KeyFile> file = ReadKeyFile(path);
    if (file && !SameName(file->key.title, key)) {
        file.reset(); // another key whose long name hashes alike; the new one takes its place
    }
    if (!file && change.erase) {
        return ERROR_FILE_NOT_FOUND;
    }
    ValueBag after = file ? file->key : ValueBag{std::u16string(key), {}};
    if (!change.ApplyTo(after)) {
        return ERROR_FILE_NOT_FOUND;
    }
    return WriteKeyChange(path, file, after, change) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

std::vector<std::u16string> KeyPaths(uint64_t printerId) {
    std::vector<std::u16string> paths;
    std::string folder = DataFolder(printerId);
    std::error_code ec;
    if (folder.empty()) {
        return paths;
    }
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        // Key files have no '.' in their names; files being written do.
        if (entry.path().filename().string().find('.') != std::string::npos) {
            continue;
        }
        std::optional<KeyFile> file = ReadKeyFile(entry.path().string());
        if (file && IsValidKeyName(file->key.title) &&
            FileNameFor(file->key.title) == entry.path().filename().string()) {
            paths.push_back(file->key.title);
        }
    }
    std::sort(paths.begin(), paths.end(), [](const std::u16string& a, const std::u16string& b) {
        return FoldCase(a) < FoldCase(b);
    });
    return paths;
}

} // namespace moltr::spool
