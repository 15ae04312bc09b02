#include "moltr/compile_command.h"

#include <cstdio>
#include <fstream>
#include "compiler/compile_driver.h"
#include "compiler/field_type_name.h"
#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "moltr/scratch_printer.h"
#include "moltr/stored_image.h"
#include "sim/utf.h"
#include "this_module.h"

namespace moltr::tool {

namespace {

struct CompileOptions {
    std::string source;
    std::string embedded; // "embedded", "plain" or empty
    std::string driver;
    std::string structure;
    std::string output;
    bool json = false;
};

std::string ParseOptions(const std::vector<std::string>& args, bool image,
                         CompileOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* value = arg == "--driver"                             ? &options.driver
                             : image && arg == "--struct"                  ? &options.structure
                             : image && (arg == "-o" || arg == "--output") ? &options.output
                                                                           : nullptr;
        if (value) {
            if (i + 1 >= args.size()) {
                return arg + " needs a value";
            }
            *value = args[++i];
        } else if (arg == "--embedded" || arg == "--plain") {
            options.embedded = arg.substr(2);
        } else if (!image && arg == "--json") {
            options.json = true;
        } else if (arg.rfind("-", 0) == 0 || !options.source.empty()) {
            return "unexpected argument '" + arg + "'";
        } else {
            options.source = arg;
        }
    }
    if (options.source.empty()) {
        return image ? "usage: moltr image SOURCE --struct NAME -o FILE"
                     : "usage: moltr compile SOURCE";
    }
    if (image && (options.structure.empty() || options.output.empty())) {
        return "moltr image needs --struct NAME and -o FILE";
    }
    return {};
}

struct CompileOutcome {
    int result = 0;
    std::vector<compiler::CompileMessage> messages;
    std::vector<std::u16string> stored;
};

std::string Compile(const CompileOptions& options, ScratchPrinter& printer,
                    CompileOutcome& outcome) {
    compiler::CompileRequestData request;
    std::string error = printer.Create(options.source, options.driver, options.embedded, request);
    if (!error.empty()) {
        return error;
    }
    outcome.result = compiler::CompileRequest(
        request,
        [&](const compiler::CompileMessage& message) { outcome.messages.push_back(message); },
        &outcome.stored);
    return {};
}

void PrintText(const CompileOutcome& outcome,
               const std::vector<std::vector<StoredStructure>>& images) {
    for (const compiler::CompileMessage& message : outcome.messages) {
        std::printf("%u %d %s\n", message.id, message.messageClass, MessageText(message).c_str());
    }
    std::printf("result: %d\n", outcome.result);
    for (const std::vector<StoredStructure>& image : images) {
        for (const StoredStructure& structure : image) {
            std::printf("\nstructure %s", structure.name.c_str());
            if (structure.parent >= 0) {
                std::printf(" (in %s)", image[structure.parent].name.c_str());
            }
            std::printf(": record size %u, %u record%s\n", structure.recordSize,
                        structure.recordCount, structure.recordCount == 1 ? "" : "s");
            std::printf("  %-32s %-9s %4s %6s %5s %5s\n", "field", "type", "code", "offset", "size",
                        "count");
            for (const StoredField& field : structure.fields) {
                std::string type = sim::Utf8(compiler::FieldTypeName(field.type));
                std::printf("  %-32s %-9s %4u %6u %5u %5u\n", field.name.c_str(),
                            type.empty() ? "?" : type.c_str(), field.type, field.offset,
                            field.elementSize, field.elementCount);
            }
            for (size_t r = 0; r < structure.records.size(); ++r) {
                std::printf("  record %zu\n", r);
                for (const auto& [name, value] : structure.records[r].members()) {
                    std::printf("    %-32s %s\n", name.c_str(), value.Serialize().c_str());
                }
            }
        }
    }
}

void PrintJson(const CompileOutcome& outcome,
               const std::vector<std::vector<StoredStructure>>& images) {
    JsonValue document = JsonValue::Object();
    document.Add("result", JsonValue::Signed(outcome.result));
    JsonValue& messages = document.Add("messages", JsonValue::Array());
    for (const compiler::CompileMessage& message : outcome.messages) {
        JsonValue& entry = messages.Add(JsonValue::Object());
        entry.Add("id", JsonValue::Unsigned(message.id));
        entry.Add("class", JsonValue::Signed(message.messageClass));
        entry.Add("text", JsonValue::String(MessageText(message)));
    }
    JsonValue& structures = document.Add("structures", JsonValue::Array());
    for (const std::vector<StoredStructure>& image : images) {
        for (const StoredStructure& structure : image) {
            JsonValue& entry = structures.Add(JsonValue::Object());
            entry.Add("name", JsonValue::String(structure.name));
            entry.Add("parent", structure.parent >= 0
                                    ? JsonValue::String(image[structure.parent].name)
                                    : JsonValue());
            entry.Add("recordSize", JsonValue::Unsigned(structure.recordSize));
            JsonValue& fields = entry.Add("fields", JsonValue::Array());
            for (const StoredField& field : structure.fields) {
                JsonValue& item = fields.Add(JsonValue::Object());
                item.Add("name", JsonValue::String(field.name));
                item.Add("type", JsonValue::Unsigned(field.type));
                item.Add("offset", JsonValue::Unsigned(field.offset));
                item.Add("size", JsonValue::Unsigned(field.elementSize));
                item.Add("count", JsonValue::Unsigned(field.elementCount));
            }
            JsonValue& records = entry.Add("records", JsonValue::Array());
            for (const JsonValue& record : structure.records) {
                records.Add(record);
            }
        }
    }
    std::printf("%s\n", document.Serialize().c_str());
}

} // namespace

std::string MessageText(const compiler::CompileMessage& message) {
    WCHAR format[1024];
    int length = LoadStringW(ThisModuleHandle(), message.id, format, 1024);
    std::u16string text =
        length > 0 ? compiler::FormatCompileMessage(sim::View(format), message) : u"";
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) {
        text.pop_back();
    }
    if (length <= 0) {
        // A number without text still shows its arguments.
        for (const std::u16string& argument : message.arguments) {
            text += (text.empty() ? u"" : u" ") + argument;
        }
    }
    return sim::Utf8(text);
}

int RunCompile(const std::vector<std::string>& args) {
    CompileOptions options;
    std::string error = ParseOptions(args, false, options);
    if (!error.empty()) {
        return Fail(error);
    }
    ScratchPrinter printer;
    CompileOutcome outcome;
    error = Compile(options, printer, outcome);
    if (!error.empty()) {
        return Fail(error);
    }
    std::vector<std::vector<StoredStructure>> images;
    for (const std::u16string& name : outcome.stored) {
        std::vector<StoredStructure> image;
        if (!ReadStoredImage(ReadPrinterData(printer.name(), name), image, error)) {
            return Fail("the stored image of " + sim::Utf8(name) + " is damaged: " + error);
        }
        images.push_back(std::move(image));
    }
    if (options.json) {
        PrintJson(outcome, images);
    } else {
        PrintText(outcome, images);
    }
    return outcome.result >= compiler::kError ? 1 : 0;
}

int RunImage(const std::vector<std::string>& args) {
    CompileOptions options;
    std::string error = ParseOptions(args, true, options);
    if (!error.empty()) {
        return Fail(error);
    }
    ScratchPrinter printer;
    CompileOutcome outcome;
    error = Compile(options, printer, outcome);
    if (!error.empty()) {
        return Fail(error);
    }
    for (const compiler::CompileMessage& message : outcome.messages) {
        if (message.messageClass >= compiler::kWarning) {
            std::fprintf(stderr, "%u %d %s\n", message.id, message.messageClass,
                         MessageText(message).c_str());
        }
    }
    std::vector<BYTE> image = ReadPrinterData(printer.name(), sim::Utf16(options.structure));
    if (image.empty()) {
        return Fail("the compile stored no structure " + options.structure);
    }
    std::ofstream out(options.output, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    if (!out) {
        return Fail("cannot write " + options.output);
    }
    return outcome.result >= compiler::kError ? 1 : 0;
}

} // namespace moltr::tool
