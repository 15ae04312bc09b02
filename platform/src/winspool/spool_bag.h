#pragma once
// A named set of typed values: the unit in which the spooler keeps its state on disk (a printer's
// properties, an installed driver, one key of a printer's data). Value names compare without
// regard to case and keep the spelling they were first written with.
#include <windows.h>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace moltr::spool {

struct Value {
    std::u16string name;
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct ValueBag {
    std::u16string title;
    std::vector<Value> values;

    const Value* Find(std::u16string_view name) const;
    void Set(std::u16string_view name, DWORD type, const BYTE* data, size_t size);
    bool Erase(std::u16string_view name);

    // Typed access for the spooler's own records; a missing or mistyped value reads as empty/0.
    std::u16string Text(std::u16string_view name) const;
    void SetText(std::u16string_view name, std::u16string_view text);
    std::vector<std::u16string> TextList(std::u16string_view name) const;
    void SetTextList(std::u16string_view name, const std::vector<std::u16string>& list);
    DWORD Number(std::u16string_view name) const;
    void SetNumber(std::u16string_view name, DWORD number);
    std::vector<BYTE> Bytes(std::u16string_view name) const;
    void SetBytes(std::u16string_view name, const std::vector<BYTE>& bytes);
    // A plain value kept as its bytes; `value` stays as it is unless the bag holds exactly as
    // many bytes under `name`.
    template <typename Plain> void ReadPlain(std::u16string_view name, Plain& value) const {
        std::vector<BYTE> bytes = Bytes(name);
        if (bytes.size() == sizeof value) {
            std::memcpy(&value, bytes.data(), sizeof value);
        }
    }
    template <typename Plain> void SetPlain(std::u16string_view name, const Plain& value) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
        SetBytes(name, std::vector<BYTE>(bytes, bytes + sizeof value));
    }

    std::vector<BYTE> Serialize() const;
    size_t SerializedSize() const;
    // Nothing for anything that is not a complete, well-formed bag.
    static std::optional<ValueBag> Parse(std::span<const BYTE> bytes);
};

} // namespace moltr::spool
