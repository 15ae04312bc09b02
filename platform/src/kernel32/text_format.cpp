// The printf engine behind wsprintf and the strsafe printf functions.
#include "src/kernel32/text_format.h"
#include "src/kernel32/text_code_page.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace moltr::sim::text {
namespace {

// Widths and precisions saturate here instead of overflowing.
constexpr size_t kMaxNumber = INT_MAX;
// A double's exact decimal expansion ends within 1074 fractional digits; precision beyond this is
// padded with zeros instead of being asked of the C library.
constexpr size_t kMaxFloatPrecision = 1100;

// va_list wrapped so that helpers share one position in the arguments.
struct Args {
    va_list list;
};

enum class Size { Default, Char, Short, Long, LongLong, Pointer, Int32, Wide, LongDouble };

struct Conversion {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    size_t width = 0;
    std::optional<size_t> precision;
    Size size = Size::Default;
};

// One converted field: prefix, zeros, body, more zeros and suffix, padded to the width.
template <typename BodyChar> struct Field {
    std::string_view prefix; // sign or 0x
    size_t zeros = 0;        // from an integer's precision
    std::basic_string_view<BodyChar> body;
    size_t trailingZeros = 0; // a float's precision beyond kMaxFloatPrecision
    std::string_view suffix;  // a float's exponent after those zeros
    bool zeroPad = false;     // the '0' flag pads between prefix and body
};

template <typename Char> class Sink {
public:
    Sink(Char* out, size_t capacity) : out_(out), capacity_(capacity) {}

    bool Full() const { return truncated_; }
    FormatResult Result() const { return {length_, truncated_}; }

    void Repeat(Char c, size_t count) {
        count = Room(count);
        std::fill_n(out_ + length_, count, c);
        length_ += count;
    }

    template <typename From> void Append(std::basic_string_view<From> text) {
        const size_t count = Room(text.size());
        for (size_t i = 0; i < count; ++i) {
            out_[length_ + i] = static_cast<Char>(static_cast<std::make_unsigned_t<From>>(text[i]));
        }
        length_ += count;
    }

private:
    size_t Room(size_t wanted) {
        const size_t room = capacity_ - length_;
        if (wanted > room) {
            truncated_ = true;
            return room;
        }
        return wanted;
    }

    Char* out_;
    size_t capacity_;
    size_t length_ = 0;
    bool truncated_ = false;
};

template <typename Char, typename BodyChar>
void Emit(Sink<Char>& sink, const Conversion& conversion, const Field<BodyChar>& field) {
    const size_t length = field.prefix.size() + field.zeros + field.body.size() +
                          field.trailingZeros + field.suffix.size();
    const size_t pad = conversion.width > length ? conversion.width - length : 0;
    const bool zeroPad = field.zeroPad && !conversion.left;
    if (!conversion.left && !zeroPad) {
        sink.Repeat(' ', pad);
    }
    sink.Append(field.prefix);
    sink.Repeat('0', field.zeros + (zeroPad ? pad : 0));
    sink.Append(field.body);
    sink.Repeat('0', field.trailingZeros);
    sink.Append(field.suffix);
    if (conversion.left) {
        sink.Repeat(' ', pad);
    }
}

template <typename Char> bool IsDigit(Char c) {
    return c >= '0' && c <= '9';
}

template <typename Char> size_t ParseNumber(const Char*& p) {
    size_t value = 0;
    for (; IsDigit(*p); ++p) {
        value = std::min(value * 10 + static_cast<size_t>(*p - '0'), kMaxNumber);
    }
    return value;
}

// Reads flags, width, precision and size of the field at p (just after '%'); returns the position
// of its type character.
template <typename Char>
const Char* ParseConversion(const Char* p, Conversion& conversion, Args& args,
                            FormatDialect dialect) {
    const bool crt = dialect == FormatDialect::Crt;
    for (;; ++p) {
        if (*p == '-') {
            conversion.left = true;
        } else if (*p == '#') {
            conversion.alternate = true;
        } else if (*p == '0') {
            conversion.zero = true;
        } else if (crt && *p == '+') {
            conversion.plus = true;
        } else if (crt && *p == ' ') {
            conversion.space = true;
        } else {
            break;
        }
    }
    if (crt && *p == '*') {
        const long long width = va_arg(args.list, int);
        conversion.left = conversion.left || width < 0;
        conversion.width = static_cast<size_t>(std::min<long long>(std::llabs(width), kMaxNumber));
        ++p;
    } else {
        conversion.width = ParseNumber(p);
    }
    if (*p == '.') {
        ++p;
        if (crt && *p == '*') {
            const int precision = va_arg(args.list, int);
            if (precision >= 0) {
                conversion.precision = static_cast<size_t>(precision);
            }
            ++p;
        } else {
            conversion.precision = ParseNumber(p);
        }
    }
    if (*p == 'h') {
        ++p;
        conversion.size = Size::Short;
        if (crt && *p == 'h') {
            ++p;
            conversion.size = Size::Char;
        }
    } else if (*p == 'l') {
        ++p;
        conversion.size = Size::Long;
        if (crt && *p == 'l') {
            ++p;
            conversion.size = Size::LongLong;
        }
    } else if (*p == 'w') {
        ++p;
        conversion.size = Size::Wide;
    } else if (*p == 'I' && p[1] == '6' && p[2] == '4') {
        p += 3;
        conversion.size = Size::LongLong;
    } else if (crt && *p == 'I' && p[1] == '3' && p[2] == '2') {
        p += 3;
        conversion.size = Size::Int32;
    } else if (crt && (*p == 'I' || *p == 'z' || *p == 't' || *p == 'j')) {
        ++p;
        conversion.size = Size::Pointer;
    } else if (crt && *p == 'L') {
        ++p;
        conversion.size = Size::LongDouble;
    }
    return p;
}

// int, long and I32 are all 32-bit on Windows.
int64_t ReadSigned(Args& args, Size size) {
    switch (size) {
    case Size::Char:
        return static_cast<signed char>(va_arg(args.list, int));
    case Size::Short:
        return static_cast<short>(va_arg(args.list, int));
    case Size::LongLong:
    case Size::Pointer:
        return va_arg(args.list, int64_t);
    default:
        return va_arg(args.list, int);
    }
}

uint64_t ReadUnsigned(Args& args, Size size) {
    switch (size) {
    case Size::Char:
        return static_cast<unsigned char>(va_arg(args.list, unsigned));
    case Size::Short:
        return static_cast<unsigned short>(va_arg(args.list, unsigned));
    case Size::LongLong:
    case Size::Pointer:
        return va_arg(args.list, uint64_t);
    default:
        return va_arg(args.list, unsigned);
    }
}

template <typename Char>
void EmitInteger(Sink<Char>& sink, const Conversion& conversion, char type, uint64_t magnitude,
                 bool negative) {
    const unsigned base = type == 'o' ? 8 : (type == 'x' || type == 'X') ? 16 : 10;
    const char* digitSet = type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    char buffer[24];
    char* end = buffer + sizeof buffer;
    char* begin = end;
    for (uint64_t v = magnitude; v != 0; v /= base) {
        *--begin = digitSet[v % base];
    }
    // Precision 0 prints no digits for 0.
    if (magnitude == 0 && conversion.precision != size_t{0}) {
        *--begin = '0';
    }
    const std::string_view digits(begin, static_cast<size_t>(end - begin));
    Field<char> field;
    field.body = digits;
    field.zeros = conversion.precision.value_or(0) > digits.size()
                      ? *conversion.precision - digits.size()
                      : 0;
    if (type == 'd' || type == 'i') {
        field.prefix = negative ? "-" : conversion.plus ? "+" : conversion.space ? " " : "";
    } else if (base == 16 && conversion.alternate && magnitude != 0) {
        field.prefix = type == 'X' ? "0X" : "0x";
    } else if (base == 8 && conversion.alternate && field.zeros == 0 &&
               digits.substr(0, 1) != "0") {
        field.zeros = 1;
    }
    field.zeroPad = conversion.zero && !conversion.precision;
    Emit(sink, conversion, field);
}

template <typename Char>
void FormatInteger(Sink<Char>& sink, const Conversion& conversion, char type, Args& args) {
    if (type == 'd' || type == 'i') {
        const int64_t value = ReadSigned(args, conversion.size);
        const uint64_t magnitude =
            value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        EmitInteger(sink, conversion, type, magnitude, value < 0);
    } else {
        EmitInteger(sink, conversion, type, ReadUnsigned(args, conversion.size), false);
    }
}

// Pointers print as all their hexadecimal digits in capitals.
template <typename Char> void FormatPointer(Sink<Char>& sink, Conversion conversion, Args& args) {
    conversion.precision = 2 * sizeof(void*);
    conversion.alternate = false;
    EmitInteger(sink, conversion, 'X', reinterpret_cast<uintptr_t>(va_arg(args.list, void*)),
                false);
}

// Text of either width, converted to the output's; strings and characters pad with zeros too.
template <typename Char, typename From>
void EmitText(Sink<Char>& sink, const Conversion& conversion, std::basic_string_view<From> text) {
    if constexpr (std::is_same_v<Char, From>) {
        Field<From> field;
        field.body = text;
        field.zeroPad = conversion.zero;
        Emit(sink, conversion, field);
    } else if constexpr (std::is_same_v<Char, char16_t>) {
        const std::u16string wide = AnsiToWide(text);
        EmitText(sink, conversion, std::u16string_view(wide));
    } else {
        const std::string narrow = WideToAnsi(text);
        EmitText(sink, conversion, std::string_view(narrow));
    }
}

template <typename Char> bool TakesWide(Char type, Size size) {
    if (size == Size::Short) {
        return false;
    }
    if (size == Size::Long || size == Size::Wide) {
        return true;
    }
    const bool otherWidth = type == 'S' || type == 'C';
    return std::is_same_v<Char, char16_t> != otherWidth;
}

template <typename From>
std::basic_string_view<From> Bounded(const From* text, const Conversion& conversion) {
    const size_t limit = conversion.precision.value_or(SIZE_MAX);
    size_t length = 0;
    while (length < limit && text[length]) {
        ++length;
    }
    return {text, length};
}

template <typename Char, typename From>
void FormatStringOf(Sink<Char>& sink, const Conversion& conversion, Args& args, const From* null) {
    const From* text = va_arg(args.list, const From*);
    EmitText(sink, conversion, Bounded(text ? text : null, conversion));
}

template <typename Char>
void FormatString(Sink<Char>& sink, const Conversion& conversion, Char type, Args& args) {
    if (TakesWide(type, conversion.size)) {
        FormatStringOf(sink, conversion, args, u"(null)");
    } else {
        FormatStringOf(sink, conversion, args, "(null)");
    }
}

template <typename Char>
void FormatChar(Sink<Char>& sink, const Conversion& conversion, Char type, Args& args) {
    const int value = va_arg(args.list, int);
    if (TakesWide(type, conversion.size)) {
        const char16_t c = static_cast<char16_t>(value);
        EmitText(sink, conversion, std::u16string_view(&c, 1));
    } else {
        const char c = static_cast<char>(value);
        EmitText(sink, conversion, std::string_view(&c, 1));
    }
}

template <typename Char>
void FormatFloat(Sink<Char>& sink, const Conversion& conversion, char type, Args& args) {
    const double value = va_arg(args.list, double);
    const size_t precision = conversion.precision.value_or(6);
    const size_t asked = std::min(precision, kMaxFloatPrecision);
    std::string format = "%";
    format += conversion.plus ? "+" : "";
    format += conversion.space ? " " : "";
    format += conversion.alternate ? "#" : "";
    format += ".*";
    format += type;
    const int length = std::snprintf(nullptr, 0, format.c_str(), static_cast<int>(asked), value);
    if (length < 0) {
        return;
    }
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format.c_str(), static_cast<int>(asked), value);

    Field<char> field;
    std::string_view rest(text);
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+' || rest[0] == ' ')) {
        field.prefix = rest.substr(0, 1);
        rest.remove_prefix(1);
    }
    field.body = rest;
    const bool finite = std::isfinite(value);
    if (finite && precision > asked && type != 'g' && type != 'G') {
        field.trailingZeros = precision - asked;
        const size_t exponent = rest.find_first_of("eE");
        if (exponent != std::string_view::npos) {
            field.body = rest.substr(0, exponent);
            field.suffix = rest.substr(exponent);
        }
    }
    field.zeroPad = conversion.zero && finite;
    Emit(sink, conversion, field);
}

template <typename Char>
void FormatField(Sink<Char>& sink, const Conversion& conversion, Char type, Args& args,
                 FormatDialect dialect) {
    const bool crt = dialect == FormatDialect::Crt;
    switch (type) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
        FormatInteger(sink, conversion, static_cast<char>(type), args);
        return;
    case 'o':
        if (crt) {
            FormatInteger(sink, conversion, 'o', args);
            return;
        }
        break;
    case 'p':
        FormatPointer(sink, conversion, args);
        return;
    case 's':
    case 'S':
        FormatString(sink, conversion, type, args);
        return;
    case 'c':
    case 'C':
        FormatChar(sink, conversion, type, args);
        return;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
        if (crt) {
            FormatFloat(sink, conversion, static_cast<char>(type), args);
            return;
        }
        break;
    default:
        break;
    }
    sink.Repeat(type, 1);
}

template <typename Char>
FormatResult Format(Char* out, size_t capacity, const Char* format, va_list list,
                    FormatDialect dialect) {
    Sink<Char> sink(out, capacity);
    if (!format) {
        return sink.Result();
    }
    Args args;
    va_copy(args.list, list);
    const Char* p = format;
    while (*p && !sink.Full()) {
        if (*p != '%') {
            sink.Repeat(*p++, 1);
            continue;
        }
        Conversion conversion;
        p = ParseConversion(p + 1, conversion, args, dialect);
        if (!*p) {
            break; // a field cut off by the end of the format prints nothing
        }
        const Char type = *p++;
        FormatField(sink, conversion, type, args, dialect);
    }
    va_end(args.list);
    return sink.Result();
}

} // namespace

FormatResult FormatText(char16_t* out, size_t capacity, const char16_t* format, va_list args,
                        FormatDialect dialect) {
    return Format(out, capacity, format, args, dialect);
}

FormatResult FormatText(char* out, size_t capacity, const char* format, va_list args,
                        FormatDialect dialect) {
    return Format(out, capacity, format, args, dialect);
}

} // namespace moltr::sim::text
