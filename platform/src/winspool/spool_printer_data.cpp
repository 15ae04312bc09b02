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
    std::string folder = DataFolder(printerId);
    if (folder.empty()) {
        return std::nullopt;
    }
    std::optional<ValueBag> bag = ReadBag(folder + "/" + FileNameFor(key));
    if (!bag || !SameName(bag->title, key)) {
        return std::nullopt;
    }
    return bag;
}

bool SaveKey(uint64_t printerId, const ValueBag& key) {
    std::string folder = DataFolder(printerId);
    return !folder.empty() && WriteBag(folder + "/" + FileNameFor(key.title), key);
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
        std::optional<ValueBag> bag = ReadBag(entry.path().string());
        if (bag && IsValidKeyName(bag->title) &&
            FileNameFor(bag->title) == entry.path().filename().string()) {
            paths.push_back(bag->title);
        }
    }
    std::sort(paths.begin(), paths.end(), [](const std::u16string& a, const std::u16string& b) {
        return FoldCase(a) < FoldCase(b);
    });
    return paths;
}

} // namespace moltr::spool
