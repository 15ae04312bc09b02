#include "moltr/forms_command.h"

#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "sim/forms_admin.h"
#include "sim/utf.h"

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

void PrintText(const std::vector<sim::FormEntry>& forms) {
    for (const sim::FormEntry& form : forms) {
        std::printf("%-32s %-8s %8d x %-8d area %d,%d-%d,%d\n", sim::Utf8(form.name).c_str(),
                    FlagText(form.flags), form.size.cx, form.size.cy, form.area.left, form.area.top,
                    form.area.right, form.area.bottom);
    }
}

void PrintJson(const std::vector<sim::FormEntry>& forms) {
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
    json ? PrintJson(forms) : PrintText(forms);
    return 0;
}

} // namespace moltr::tool
