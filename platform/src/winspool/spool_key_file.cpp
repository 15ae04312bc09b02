// The parts of a key's file. A change is written as a bag of the one value, titled with what to do
// with it. Files from before changes were appended hold a bare bag, which reads as the whole key.
#include "src/winspool/spool_key_file.h"
#include "src/winspool/spool_files.h"

#include <cstdint>
#include <cstring>

namespace moltr::spool {
namespace {

constexpr char16_t kSetTitle[] = u"set";
constexpr char16_t kEraseTitle[] = u"erase";
constexpr BYTE kBareBagMagic[4] = {'M', 'S', 'P', 'L'};
// Changes may take up to this much beside twice the key before the file is written whole again.
constexpr size_t kChangeAllowance = 4096;

// The bag's bytes behind their count.
std::vector<BYTE> Framed(const ValueBag& bag) {
    const std::vector<BYTE> bytes = bag.Serialize();
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    std::vector<BYTE> framed(sizeof size + bytes.size());
    std::memcpy(framed.data(), &size, sizeof size);
    std::memcpy(framed.data() + sizeof size, bytes.data(), bytes.size());
    return framed;
}

// The change a part holds; nothing for a part that is not one.
std::optional<ValueChange> ChangeOf(const ValueBag& part) {
    if (part.values.size() != 1) {
        return std::nullopt;
    }
    const bool erase = part.title == kEraseTitle;
    if (!erase && part.title != kSetTitle) {
        return std::nullopt;
    }
    return ValueChange{erase, part.values.front()};
}

} // namespace

bool ValueChange::ApplyTo(ValueBag& key) const {
    if (erase) {
        return key.Erase(value.name);
    }
    key.Set(value.name, value.type, value.data.data(), value.data.size());
    return true;
}

std::optional<KeyFile> ReadKeyFile(const std::string& path) {
    std::vector<BYTE> bytes;
    if (!ReadAllBytes(path, bytes)) {
        return std::nullopt;
    }
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), kBareBagMagic, 4) == 0) {
        std::optional<ValueBag> bag = ValueBag::Parse(bytes);
        // Changes cannot follow a bare bag: the next write writes the key whole.
        return bag ? std::optional<KeyFile>(KeyFile{std::move(*bag), bytes.size(), 0})
                   : std::nullopt;
    }
    std::optional<KeyFile> file;
    size_t at = 0;
    uint32_t size = 0;
    while (bytes.size() - at >= sizeof size) {
        std::memcpy(&size, bytes.data() + at, sizeof size);
        if (size > bytes.size() - at - sizeof size) {
            break; // cut short
        }
        at += sizeof size;
        std::optional<ValueBag> part =
            ValueBag::Parse(std::span<const BYTE>(bytes).subspan(at, size));
        at += size;
        if (!part) {
            return std::nullopt;
        }
        if (!file) {
            file = KeyFile{std::move(*part), 0, 0};
            continue;
        }
        std::optional<ValueChange> change = ChangeOf(*part);
        if (!change || !change->ApplyTo(file->key)) {
            return std::nullopt;
        }
    }
    if (file) {
        file->fileSize = bytes.size();
        file->wholeSize = at;
    }
    return file;
}

bool WriteKeyChange(const std::string& path, const std::optional<KeyFile>& before,
                    const ValueBag& after, const ValueChange& change) {
    ValueBag part{change.erase ? kEraseTitle : kSetTitle, {change.value}};
    if (change.erase) {
        part.values.front().data.clear();
    }
    std::vector<BYTE> framed = Framed(part);
    const bool appendable =
        before && before->wholeSize == before->fileSize &&
        before->fileSize + framed.size() <= 2 * after.SerializedSize() + kChangeAllowance;
    return appendable ? AppendBytes(path, framed) : WriteAtomically(path, Framed(after));
}

} // namespace moltr::spool
