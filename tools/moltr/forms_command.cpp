#include "moltr/forms_command.h"

#include <winspool.h>
#include <memory>
#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "sim/forms_admin.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"
#include "uiplugin/custom_media_forms.h"

#include <cstdio>

namespace moltr::tool {
namespace {

struct FlagName {
    DWORD flag;
    const char* name;
};
constexpr FlagName kFlagNames[] = {
    {FORM_USER, "user"}, {FORM_BUILTIN, "builtin"}, {FORM_PRINTER, "printer"}};

const char* FlagText(DWORD flags) {
    for (const FlagName& entry : kFlagNames) {
        if (entry.flag == flags) {
            return entry.name;
        }
    }
    return "?";
}

// The machine's printers, each open for reading its custom-media marks.
class MarkingPrinters {
public:
    MarkingPrinters() {
        for (const std::u16string& name : sim::Printers()) {
            HANDLE handle = nullptr;
            if (OpenPrinterW(const_cast<LPWSTR>(sim::W(name)), &handle, nullptr)) {
                printers_.push_back({sim::Utf8(name), handle});
            }
        }
    }
    ~MarkingPrinters() {
        for (const Printer& printer : printers_) {
            ClosePrinter(printer.handle);
        }
    }
    MarkingPrinters(const MarkingPrinters&) = delete;
    MarkingPrinters& operator=(const MarkingPrinters&) = delete;

    // The printers whose custom size the user form `form` is.
    std::vector<std::string> Marking(const sim::FormEntry& form) const {
        std::vector<std::string> names;
        for (const Printer& printer : printers_) {
            if (form.flags == FORM_USER &&
                uiplugin::HasCustomMediumMark(printer.handle, sim::W(form.name))) {
                names.push_back(printer.name);
            }
        }
        return names;
    }

private:
    struct Printer {
        std::string name;
        HANDLE handle;
    };
    std::vector<Printer> printers_;
};

void PrintText(const std::vector<sim::FormEntry>& forms, const MarkingPrinters& printers) {
    for (const sim::FormEntry& form : forms) {
        std::string marks;
        for (const std::string& name : printers.Marking(form)) {
            marks += (marks.empty() ? "  custom size of " : ", ") + name;
        }
        std::printf("%-32s %-8s %8d x %-8d area %d,%d-%d,%d%s\n", sim::Utf8(form.name).c_str(),
                    FlagText(form.flags), form.size.cx, form.size.cy, form.area.left, form.area.top,
                    form.area.right, form.area.bottom, marks.c_str());
    }
}

void PrintJson(const std::vector<sim::FormEntry>& forms, const MarkingPrinters& printers) {
    JsonValue list = JsonValue::Array();
    for (const sim::FormEntry& form : forms) {
        JsonValue& entry = list.Add(JsonValue::Object());
        entry.Add("name", JsonValue::String(sim::Utf8(form.name)));
        entry.Add("flags", JsonValue::Unsigned(form.flags));
        entry.Add("width", JsonValue::Signed(form.size.cx));
        entry.Add("length", JsonValue::Signed(form.size.cy));
        entry.Add("left", JsonValue::Signed(form.area.left));
        entry.Add("top", JsonValue::Signed(form.area.top));
        entry.Add("right", JsonValue::Signed(form.area.right));
        entry.Add("bottom", JsonValue::Signed(form.area.bottom));
        JsonValue marks = JsonValue::Array();
        for (const std::string& name : printers.Marking(form)) {
            marks.Add(JsonValue::String(name));
        }
        entry.Add("customSizeOf", std::move(marks));
    }
    std::printf("%s\n", list.Serialize().c_str());
}

} // namespace

int RunForms(const std::vector<std::string>& args) {
    bool json = false;
    for (const std::string& arg : args) {
        if (arg != "--json") {
            return Fail("unexpected argument '" + arg + "' (usage: moltr forms [--json])");
        }
        json = true;
    }
    const std::vector<sim::FormEntry> forms = sim::ListForms();
    const MarkingPrinters printers;
    json ? PrintJson(forms, printers) : PrintText(forms, printers);
    return 0;
}

} // namespace moltr::tool
