#include "src/unidrv/pclxl_stream.h"

#include <cstring>

namespace moltr::unidrv::pclxl {
namespace {

constexpr char kUniversalExit[] = "\x1b%-12345X";
constexpr size_t kUniversalExitLength = sizeof(kUniversalExit) - 1;

// The size of one element of a data type tag's family (ubyte, uint16, uint32, sint16, sint32,
// real32), by the tag's low three bits; 0 for the codes no type has.
constexpr size_t kElementSizes[8] = {1, 2, 4, 2, 4, 4, 0, 0};

bool Whitespace(BYTE byte) {
    return byte == 0x00 || (byte >= 0x09 && byte <= 0x0D) || byte == 0x20;
}

bool IsOperator(BYTE byte) {
    return byte >= 0x41 && byte <= 0xBF;
}

// Little-endian value of `size` bytes.
size_t Value(const std::vector<BYTE>& stream, size_t at, size_t size) {
    size_t value = 0;
    for (size_t i = size; i > 0; --i) {
        value = (value << 8) | stream[at + i - 1];
    }
    return value;
}

} // namespace

void Writer::Attr(Attribute attribute) {
    out_->push_back(static_cast<BYTE>(Tag::kAttributeUByte));
    out_->push_back(static_cast<BYTE>(attribute));
}

void Writer::Word(WORD value) {
    out_->push_back(static_cast<BYTE>(value));
    out_->push_back(static_cast<BYTE>(value >> 8));
}

void Writer::UByte(BYTE value, Attribute attribute) {
    out_->push_back(static_cast<BYTE>(Tag::kUByte));
    out_->push_back(value);
    Attr(attribute);
}

void Writer::UInt16(WORD value, Attribute attribute) {
    out_->push_back(static_cast<BYTE>(Tag::kUInt16));
    Word(value);
    Attr(attribute);
}

void Writer::UInt16Xy(WORD x, WORD y, Attribute attribute) {
    out_->push_back(static_cast<BYTE>(Tag::kUInt16Xy));
    Word(x);
    Word(y);
    Attr(attribute);
}

void Writer::Op(Operator op) {
    out_->push_back(static_cast<BYTE>(op));
}

void Writer::Data(const std::vector<BYTE>& data) {
    out_->push_back(static_cast<BYTE>(Tag::kDataLength));
    DWORD size = static_cast<DWORD>(data.size());
    for (int shift = 0; shift < 32; shift += 8) {
        out_->push_back(static_cast<BYTE>(size >> shift));
    }
    out_->insert(out_->end(), data.begin(), data.end());
}

void Reader::FindHeader(const std::vector<BYTE>& stream) {
    const size_t length = sizeof(kStreamHeaderStart) - 1;
    for (; at_ + length <= stream.size(); ++at_) {
        if (std::memcmp(stream.data() + at_, kStreamHeaderStart, length) != 0) {
            continue;
        }
        size_t end = at_ + length;
        while (end < stream.size() && stream[end] != '\n') {
            ++end;
        }
        if (end == stream.size()) {
            return; // the header line goes on in what comes next
        }
        at_ = end + 1;
        binary_ = true;
        headerSeen_ = true;
        return;
    }
}

long long Reader::TokenLength(const std::vector<BYTE>& stream, size_t at) const {
    const size_t left = stream.size() - at;
    const BYTE tag = stream[at];
    auto fits = [&](size_t size) { return size <= left ? static_cast<long long>(size) : 0; };
    if (Whitespace(tag) || IsOperator(tag)) {
        return 1;
    }
    size_t element = kElementSizes[tag & 7];
    if (tag >= 0xC0 && tag <= 0xC5) {
        return fits(1 + element);
    }
    if (tag >= 0xD0 && tag <= 0xD5) {
        return fits(1 + 2 * element);
    }
    if (tag >= 0xE0 && tag <= 0xE5) {
        return fits(1 + 4 * element);
    }
    if (tag >= 0xC8 && tag <= 0xCD) {
        // The array's length is a ubyte or uint16 value of its own.
        if (left < 2) {
            return 0;
        }
        size_t lengthSize = stream[at + 1] == 0xC0 ? 1 : stream[at + 1] == 0xC1 ? 2 : 0;
        if (lengthSize == 0) {
            return -1;
        }
        if (left < 2 + lengthSize) {
            return 0;
        }
        return fits(2 + lengthSize + Value(stream, at + 2, lengthSize) * element);
    }
    switch (static_cast<Tag>(tag)) {
    case Tag::kAttributeUByte:
        return fits(2);
    case Tag::kAttributeUInt16:
        return fits(3);
    case Tag::kDataLength:
        return left < 5 ? 0 : fits(5 + Value(stream, at + 1, 4));
    case Tag::kDataLengthByte:
        return left < 2 ? 0 : fits(2 + stream[at + 1]);
    default:
        return -1;
    }
}

void Reader::Follow(Operator op) {
    operators_.push_back(op);
    switch (op) {
    case Operator::kBeginSession:
        session_ = true;
        break;
    case Operator::kEndSession:
        session_ = false;
        break;
    case Operator::kBeginPage:
        page_ = true;
        break;
    case Operator::kEndPage:
        page_ = false;
        break;
    default:
        break;
    }
}

void Reader::Feed(const std::vector<BYTE>& stream) {
    while (at_ < stream.size() && wellFormed_) {
        if (!binary_) {
            FindHeader(stream);
            if (!binary_) {
                return;
            }
            continue;
        }
        if (stream[at_] == 0x1B) {
            if (stream.size() - at_ < kUniversalExitLength) {
                return;
            }
            wellFormed_ =
                std::memcmp(stream.data() + at_, kUniversalExit, kUniversalExitLength) == 0;
            binary_ = false;
            continue;
        }
        long long length = TokenLength(stream, at_);
        if (length <= 0) {
            wellFormed_ = length == 0;
            return;
        }
        if (IsOperator(stream[at_])) {
            Follow(static_cast<Operator>(stream[at_]));
        }
        at_ += static_cast<size_t>(length);
    }
}

} // namespace moltr::unidrv::pclxl
