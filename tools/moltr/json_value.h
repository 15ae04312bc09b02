#pragma once
// A small JSON value: what `moltr compile` prints, as JSON or as text for people.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace moltr::tool {

class JsonValue {
public:
    enum class Kind { kNull, kBool, kSigned, kUnsigned, kString, kArray, kObject };

    JsonValue() = default;
    static JsonValue Bool(bool truth);
    static JsonValue Signed(int64_t number);
    static JsonValue Unsigned(uint64_t number);
    static JsonValue String(std::string text); // UTF-8
    static JsonValue Array();
    static JsonValue Object();

    // Arrays: appends; objects: adds a member (members keep their order).
    JsonValue& Add(JsonValue value);
    JsonValue& Add(std::string name, JsonValue value);

    Kind kind() const { return kind_; }
    const std::string& text() const { return text_; }
    const std::vector<std::pair<std::string, JsonValue>>& members() const { return members_; }
    const std::vector<JsonValue>& elements() const { return elements_; }

    // Compact JSON.
    std::string Serialize() const;

private:
    Kind kind_ = Kind::kNull;
    int64_t signed_ = 0;
    uint64_t unsigned_ = 0;
    std::string text_;
    std::vector<JsonValue> elements_;
    std::vector<std::pair<std::string, JsonValue>> members_;
};

// `text` as a JSON string literal, quotes included.
std::string JsonQuote(const std::string& text);

} // namespace moltr::tool
