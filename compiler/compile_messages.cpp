#include "compiler/compile_messages.h"

#include <cstring>

namespace moltr::compiler {

int MessageClass(UINT id) {
    struct Range {
        UINT first;
        UINT last;
        int messageClass;
    };
    // The compiler's numbers, one band of 400 per class.
    static constexpr Range kRanges[] = {
        {61400, 61799, kWarning},
        {61800, 62199, kError},
        {62200, 62599, kInternalError},
    };
    for (const Range& range : kRanges) {
        if (id >= range.first && id <= range.last) {
            return range.messageClass;
        }
    }
    return kSuccess;
}

std::u16string NumberText(long long number) {
    std::u16string text;
    unsigned long long magnitude = number < 0 ? 0ULL - static_cast<unsigned long long>(number)
                                              : static_cast<unsigned long long>(number);
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (number < 0) {
        text.insert(text.begin(), u'-');
    }
    return text;
}

int Messages::Raise(UINT id, std::initializer_list<std::u16string_view> arguments) {
    CompileMessage message;
    message.id = id;
    message.arguments.assign(arguments.begin(), arguments.end());
    return Deliver(std::move(message));
}

int Messages::RaiseAt(UINT id, std::u16string_view file, int line,
                      std::initializer_list<std::u16string_view> arguments) {
    CompileMessage message;
    message.id = id;
    message.file = file;
    message.line = line;
    message.arguments.emplace_back(file);
    message.arguments.push_back(NumberText(line));
    message.arguments.insert(message.arguments.end(), arguments.begin(), arguments.end());
    return Deliver(std::move(message));
}

int Messages::RaiseInternal(UINT id, const char* source, int line) {
    // The source's file name is enough to find the place; its build path is not.
    const char* name = source;
    for (const char* at = source; *at != '\0'; ++at) {
        if (*at == '/' || *at == '\\') {
            name = at + 1;
        }
    }
    CompileMessage message;
    message.id = id;
    message.arguments.emplace_back(name, name + std::strlen(name));
    message.arguments.push_back(NumberText(line));
    return Deliver(std::move(message));
}

int Messages::Deliver(CompileMessage message) {
    message.messageClass = MessageClass(message.id);
    if (message.messageClass > worst_) {
        worst_ = message.messageClass;
    }
    if (sink_) {
        sink_(message);
    }
    return message.messageClass;
}

std::u16string FormatCompileMessage(std::u16string_view format, const CompileMessage& message) {
    std::u16string text;
    size_t next = 0;
    for (size_t at = 0; at < format.size(); ++at) {
        if (format[at] != u'%' || at + 1 == format.size()) {
            text.push_back(format[at]);
            continue;
        }
        char16_t conversion = format[++at];
        if (conversion == u's' || conversion == u'd') {
            if (next < message.arguments.size()) {
                text += message.arguments[next];
            }
            ++next;
        } else {
            text.push_back(conversion);
        }
    }
    return text;
}

} // namespace moltr::compiler
