#include "moltr/printer_info_command.h"

#include <winspool.h>
#include <cstdio>
#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "sim/utf.h"

namespace moltr::tool {
namespace {

constexpr char kUsage[] = "usage: moltr printer info NAME [--json]";

std::string Text(LPCWSTR text) {
    return text ? sim::Utf8(text) : std::string();
}

} // namespace

int RunPrinterInfo(const std::vector<std::string>& args) {
    std::string name;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (name.empty() && arg.rfind("--", 0) != 0) {
            name = arg;
        } else {
            return Fail(kUsage);
        }
    }
    NamedPrinter printer;
    std::string error = name.empty() ? kUsage : printer.Open(name);
    if (!error.empty()) {
        return Fail(error);
    }
    DWORD needed = 0;
    GetPrinterW(printer.handle(), 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!needed || !GetPrinterW(printer.handle(), 2, buffer.data(), needed, &needed)) {
        return Fail("cannot read the printer information of " + name);
    }
    const auto& info = *reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    JsonValue value = JsonValue::Object();
    value.Add("name", JsonValue::String(Text(info.pPrinterName)));
    value.Add("driver", JsonValue::String(Text(info.pDriverName)));
    value.Add("port", JsonValue::String(Text(info.pPortName)));
    value.Add("printProcessor", JsonValue::String(Text(info.pPrintProcessor)));
    value.Add("datatype", JsonValue::String(Text(info.pDatatype)));
    value.Add("attributes", JsonValue::Unsigned(info.Attributes));
    value.Add("status", JsonValue::Unsigned(info.Status));
    value.Add("jobs", JsonValue::Unsigned(info.cJobs));
    if (json) {
        std::printf("%s\n", value.Serialize().c_str());
        return 0;
    }
    for (const auto& [key, member] : value.members()) {
        std::string shown =
            member.kind() == JsonValue::Kind::kString ? member.text() : member.Serialize();
        std::printf("%s: %s\n", key.c_str(), shown.c_str());
    }
    return 0;
}

} // namespace moltr::tool
