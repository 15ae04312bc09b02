#include "moltr/json_value.h"

#include <cstdio>

namespace moltr::tool {

JsonValue JsonValue::Bool(bool truth) {
    JsonValue value;
    value.kind_ = Kind::kBool;
    value.signed_ = truth ? 1 : 0;
    return value;
}

JsonValue JsonValue::Signed(int64_t number) {
    JsonValue value;
    value.kind_ = Kind::kSigned;
    value.signed_ = number;
    return value;
}

JsonValue JsonValue::Unsigned(uint64_t number) {
    JsonValue value;
    value.kind_ = Kind::kUnsigned;
    value.unsigned_ = number;
    return value;
}

JsonValue JsonValue::String(std::string text) {
    JsonValue value;
    value.kind_ = Kind::kString;
    value.text_ = std::move(text);
    return value;
}

JsonValue JsonValue::Array() {
    JsonValue value;
    value.kind_ = Kind::kArray;
    return value;
}

JsonValue JsonValue::Object() {
    JsonValue value;
    value.kind_ = Kind::kObject;
    return value;
}

JsonValue& JsonValue::Add(JsonValue value) {
    elements_.push_back(std::move(value));
    return elements_.back();
}

JsonValue& JsonValue::Add(std::string name, JsonValue value) {
    members_.emplace_back(std::move(name), std::move(value));
    return members_.back().second;
}

std::string JsonQuote(const std::string& text) {
    std::string quoted = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                quoted += escape;
            } else {
                quoted += static_cast<char>(c);
            }
        }
    }
    return quoted + "\"";
}

std::string JsonValue::Serialize() const {
    switch (kind_) {
    case Kind::kNull:
        return "null";
    case Kind::kBool:
        return signed_ ? "true" : "false";
    case Kind::kSigned:
        return std::to_string(signed_);
    case Kind::kUnsigned:
        return std::to_string(unsigned_);
    case Kind::kString:
        return JsonQuote(text_);
    case Kind::kArray: {
        std::string out = "[";
        for (size_t i = 0; i < elements_.size(); ++i) {
            out += (i ? ", " : "") + elements_[i].Serialize();
        }
        return out + "]";
    }
    case Kind::kObject: {
        std::string out = "{";
        for (size_t i = 0; i < members_.size(); ++i) {
            out += (i ? ", " : "") + JsonQuote(members_[i].first) + ": " +
                   members_[i].second.Serialize();
        }
        return out + "}";
    }
    }
    return "null";
}

} // namespace moltr::tool
