#include "moltr/media_command.h"

#include <winspool.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "sim/utf.h"
#include "uiplugin/custom_media_forms.h"

namespace moltr::tool {

const char kMediaUsage[] =
    "usage: moltr media PRINTER add NAME WIDTH LENGTH | rename OLD NEW | delete NAME |\n"
    "                           list [--json]\n"
    "Adds, renames or deletes a custom paper size of the printer as its custom-size dialog does:\n"
    "the user form in the forms database, the printer's mark on it, then the custom media block\n"
    "of the driver's description file (see moltr printer gpd). WIDTH and LENGTH are micrometres.\n"
    "list shows the custom sizes the dialog's list holds, with their paper index; a size outside\n"
    "the printer's paper limits is not listed. --json prints an array of objects with name,\n"
    "width, length, paperIndex and listed.\n";

namespace {

struct SettingsRelease {
    void operator()(common::IDrvSettings* settings) const { settings->Release(); }
};

// The printer's paper limits: its model's row, or the large fall-back row for a printer whose
// settings allow large sizes.
ui::PaperLimits LimitsOf(const NamedPrinter& printer) {
    std::string error;
    std::unique_ptr<common::IDrvSettings, SettingsRelease> settings(
        printer.Settings(common::kModePrinter, error));
    return uiplugin::PaperLimitsOfPrinter(printer.handle(), settings.get());
}

bool ParseMicrometres(const std::string& text, DWORD& value) {
    char* end = nullptr;
    const unsigned long number = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || text[0] == '-' || number == 0 || number > 0x7FFFFFFF) {
        return false;
    }
    value = static_cast<DWORD>(number);
    return true;
}

// The description file follows every change; a file without the custom media block is fine.
int Rewrite(const NamedPrinter& printer, const std::string& done) {
    if (FAILED(uiplugin::WriteCustomMediaOfPrinter(printer.handle(), LimitsOf(printer)))) {
        return Fail(done + ", but the driver's description file cannot be rewritten");
    }
    std::printf("%s\n", done.c_str());
    return 0;
}

int Add(const NamedPrinter& printer, const std::vector<std::string>& args) {
    DWORD width = 0, length = 0;
    if (args.size() != 3 || !ParseMicrometres(args[1], width) ||
        !ParseMicrometres(args[2], length)) {
        return Fail("usage: moltr media PRINTER add NAME WIDTH LENGTH (micrometres, above 0)");
    }
    const std::u16string name = sim::Utf16(args[0]);
    if (const char* problem =
            uiplugin::CustomMediumNameProblem(printer.handle(), sim::W(name), nullptr)) {
        return Fail("'" + args[0] + "' cannot name a custom size: " + problem);
    }
    if (!uiplugin::AddCustomMedium(sim::W(printer.name()), sim::W(name), width, length)) {
        return Fail("the custom size '" + args[0] +
                    "' cannot be added (a form of that name exists?)");
    }
    return Rewrite(printer, "custom size " + args[0] + " added");
}

int Rename(const NamedPrinter& printer, const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return Fail("usage: moltr media PRINTER rename OLD NEW");
    }
    const std::u16string from = sim::Utf16(args[0]);
    const std::u16string to = sim::Utf16(args[1]);
    if (!uiplugin::HasCustomMediumMark(printer.handle(), sim::W(from))) {
        return Fail("'" + args[0] + "' is no custom size of this printer");
    }
    if (const char* problem =
            uiplugin::CustomMediumNameProblem(printer.handle(), sim::W(to), sim::W(from))) {
        return Fail("'" + args[1] + "' cannot name a custom size: " + problem);
    }
    if (!uiplugin::RenameCustomMedium(sim::W(printer.name()), sim::W(from), sim::W(to))) {
        return Fail("the custom size '" + args[0] + "' cannot be renamed");
    }
    return Rewrite(printer, "custom size " + args[0] + " renamed to " + args[1]);
}

int Delete(const NamedPrinter& printer, const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Fail("usage: moltr media PRINTER delete NAME");
    }
    const std::u16string name = sim::Utf16(args[0]);
    if (!uiplugin::HasCustomMediumMark(printer.handle(), sim::W(name))) {
        return Fail("'" + args[0] + "' is no custom size of this printer");
    }
    if (!uiplugin::DeleteCustomMedium(sim::W(printer.name()), sim::W(name))) {
        return Fail("the custom size '" + args[0] + "' cannot be deleted");
    }
    return Rewrite(printer, "custom size " + args[0] + " deleted");
}

int List(const NamedPrinter& printer, const std::vector<std::string>& args) {
    const bool json = args.size() == 1 && args[0] == "--json";
    if (!args.empty() && !json) {
        return Fail("usage: moltr media PRINTER list [--json]");
    }
    const ui::PaperLimits limits = LimitsOf(printer);
    JsonValue list = JsonValue::Array();
    for (const uiplugin::CustomSizeEntry& entry :
         uiplugin::EnumerateCustomMedia(printer.handle(), limits)) {
        const std::string name = sim::Utf8(entry.name);
        if (!json) {
            std::printf("%-32s %8ld x %-8ld paper %-5lu %s\n", name.c_str(),
                        static_cast<long>(entry.size.cx), static_cast<long>(entry.size.cy),
                        static_cast<unsigned long>(entry.paperIndex),
                        entry.listed ? "listed" : "not listed (outside the paper limits)");
            continue;
        }
        JsonValue& item = list.Add(JsonValue::Object());
        item.Add("name", JsonValue::String(name));
        item.Add("width", JsonValue::Signed(entry.size.cx));
        item.Add("length", JsonValue::Signed(entry.size.cy));
        item.Add("paperIndex", JsonValue::Unsigned(entry.paperIndex));
        item.Add("listed", JsonValue::Bool(entry.listed));
    }
    if (json) {
        std::printf("%s\n", list.Serialize().c_str());
    } else {
        std::printf("paper limits: width %lu-%lu, length %lu-%lu micrometres\n",
                    static_cast<unsigned long>(limits.widthMin),
                    static_cast<unsigned long>(limits.widthMax),
                    static_cast<unsigned long>(limits.lengthMin),
                    static_cast<unsigned long>(limits.lengthMax));
    }
    return 0;
}

} // namespace

int RunMedia(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return Fail(
            "usage: moltr media PRINTER add|rename|delete|list ... (see moltr media --help)");
    }
    NamedPrinter printer;
    if (std::string error = printer.Open(args[0]); !error.empty()) {
        return Fail(error);
    }
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    if (args[1] == "add") {
        return Add(printer, rest);
    }
    if (args[1] == "rename") {
        return Rename(printer, rest);
    }
    if (args[1] == "delete") {
        return Delete(printer, rest);
    }
    if (args[1] == "list") {
        return List(printer, rest);
    }
    return Fail("moltr media needs add, rename, delete or list (see moltr media --help)");
}

} // namespace moltr::tool
