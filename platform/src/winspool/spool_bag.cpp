// The spooler's value bags and their file format: "MSPL", format version, title, value count, then
// per value its name, type, size and data; lengths are 32-bit little-endian, texts UTF-16 without
// terminator.
#include "src/winspool/spool_bag.h"
#include "src/winspool/spool_names.h"

#include <cstring>

namespace moltr::spool {
namespace {

constexpr char kMagic[4] = {'M', 'S', 'P', 'L'};
constexpr uint32_t kFormatVersion = 1;

void PutNumber(std::vector<BYTE>& out, uint32_t number) {
    const size_t at = out.size();
    out.resize(at + sizeof number);
    std::memcpy(out.data() + at, &number, sizeof number);
}

void PutText(std::vector<BYTE>& out, std::u16string_view text) {
    PutNumber(out, static_cast<uint32_t>(text.size()));
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.data());
    out.insert(out.end(), bytes, bytes + text.size() * 2);
}

// Reads from an untrusted buffer; every read checks what is left.
class Reader {
public:
    Reader(std::span<const BYTE> bytes, size_t start) : bytes_(bytes), at_(start) {}
    bool Number(uint32_t& number) {
        if (Left() < 4) {
            return false;
        }
        std::memcpy(&number, bytes_.data() + at_, 4);
        at_ += 4;
        return true;
    }
    bool Text(std::u16string& text) {
        uint32_t length = 0;
        if (!Number(length) || length > Left() / 2) {
            return false;
        }
        text.resize(length);
        std::memcpy(text.data(), bytes_.data() + at_, length * 2);
        at_ += length * 2;
        return true;
    }
    bool Bytes(std::vector<BYTE>& data) {
        uint32_t size = 0;
        if (!Number(size) || size > Left()) {
            return false;
        }
        data.assign(bytes_.begin() + at_, bytes_.begin() + at_ + size);
        at_ += size;
        return true;
    }
    size_t Left() const { return bytes_.size() - at_; }

private:
    std::span<const BYTE> bytes_;
    size_t at_;
};

std::u16string TextOf(const std::vector<BYTE>& data) {
    std::u16string text(data.size() / 2, u'\0');
    std::memcpy(text.data(), data.data(), text.size() * 2);
    return text;
}

} // namespace

const Value* ValueBag::Find(std::u16string_view name) const {
    for (const Value& value : values) {
        if (SameName(value.name, name)) {
            return &value;
        }
    }
    return nullptr;
}

void ValueBag::Set(std::u16string_view name, DWORD type, const BYTE* data, size_t size) {
    std::vector<BYTE> bytes(data, data + size);
    for (Value& value : values) {
        if (SameName(value.name, name)) {
            value.type = type;
            value.data = std::move(bytes);
            return;
        }
    }
    values.push_back(Value{std::u16string(name), type, std::move(bytes)});
}

bool ValueBag::Erase(std::u16string_view name) {
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (SameName(it->name, name)) {
            values.erase(it);
            return true;
        }
    }
    return false;
}

std::u16string ValueBag::Text(std::u16string_view name) const {
    const Value* value = Find(name);
    if (!value || value->type != REG_SZ) {
        return {};
    }
    std::u16string text = TextOf(value->data);
    return text.substr(0, text.find(u'\0'));
}

void ValueBag::SetText(std::u16string_view name, std::u16string_view text) {
    std::u16string terminated(text);
    Set(name, REG_SZ, reinterpret_cast<const BYTE*>(terminated.c_str()), (text.size() + 1) * 2);
}

std::vector<std::u16string> ValueBag::TextList(std::u16string_view name) const {
    std::vector<std::u16string> list;
    const Value* value = Find(name);
    if (!value || value->type != REG_MULTI_SZ) {
        return list;
    }
    std::u16string text = TextOf(value->data);
    size_t start = 0;
    while (start < text.size() && text[start] != u'\0') {
        size_t end = text.find(u'\0', start);
        if (end == std::u16string::npos) {
            end = text.size();
        }
        list.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return list;
}

void ValueBag::SetTextList(std::u16string_view name, const std::vector<std::u16string>& list) {
    std::u16string text;
    for (const std::u16string& entry : list) {
        text += entry;
        text += u'\0';
    }
    text += u'\0';
    Set(name, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(text.data()), text.size() * 2);
}

DWORD ValueBag::Number(std::u16string_view name) const {
    const Value* value = Find(name);
    DWORD number = 0;
    if (value && value->type == REG_DWORD && value->data.size() == sizeof number) {
        std::memcpy(&number, value->data.data(), sizeof number);
    }
    return number;
}

void ValueBag::SetNumber(std::u16string_view name, DWORD number) {
    Set(name, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

std::vector<BYTE> ValueBag::Bytes(std::u16string_view name) const {
    const Value* value = Find(name);
    return value && value->type == REG_BINARY ? value->data : std::vector<BYTE>();
}

void ValueBag::SetBytes(std::u16string_view name, const std::vector<BYTE>& bytes) {
    Set(name, REG_BINARY, bytes.data(), bytes.size());
}

std::vector<BYTE> ValueBag::Serialize() const {
    std::vector<BYTE> out(kMagic, kMagic + 4);
    PutNumber(out, kFormatVersion);
    PutText(out, title);
    PutNumber(out, static_cast<uint32_t>(values.size()));
    for (const Value& value : values) {
        PutText(out, value.name);
        PutNumber(out, value.type);
        PutNumber(out, static_cast<uint32_t>(value.data.size()));
        out.insert(out.end(), value.data.begin(), value.data.end());
    }
    return out;
}

size_t ValueBag::SerializedSize() const {
    size_t size = sizeof kMagic + 3 * 4 + title.size() * 2;
    for (const Value& value : values) {
        size += 3 * 4 + value.name.size() * 2 + value.data.size();
    }
    return size;
}

std::optional<ValueBag> ValueBag::Parse(std::span<const BYTE> bytes) {
    if (bytes.size() < 4 || std::memcmp(bytes.data(), kMagic, 4) != 0) {
        return std::nullopt;
    }
    Reader reader(bytes, sizeof kMagic);
    uint32_t version = 0;
    uint32_t count = 0;
    ValueBag bag;
    if (!reader.Number(version) || version != kFormatVersion || !reader.Text(bag.title) ||
        !reader.Number(count)) {
        return std::nullopt;
    }
    for (uint32_t i = 0; i < count; ++i) {
        Value value;
        if (!reader.Text(value.name) || !reader.Number(value.type) || !reader.Bytes(value.data)) {
            return std::nullopt;
        }
        bag.values.push_back(std::move(value));
    }
    if (reader.Left() != 0) {
        return std::nullopt;
    }
    return bag;
}

} // namespace moltr::spool
