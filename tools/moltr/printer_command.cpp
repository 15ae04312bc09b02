#include "moltr/printer_command.h"

#include <winspool.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include "compiler/compile_driver.h"
#include "moltr/command_line.h"
#include "moltr/compile_command.h"
#include "moltr/field_value.h"
#include "moltr/json_value.h"
#include "moltr/named_printer.h"
#include "moltr/printer_gpd_command.h"
#include "moltr/printer_info_command.h"
#include "moltr/scratch_printer.h"
#include "sim/spooler_admin.h"
#include "sim/processes_admin.h"
#include "sim/utf.h"
#include "store/field_type.h"

namespace moltr::tool {

const char kPortsUsage[] =
    "usage: moltr printer ports [--json]\n"
    "Lists the printers' ports with the files of the machine that receive what they print\n"
    "(ports/NAME under the machine folder) and the printers using each. --json prints an array\n"
    "of objects with port, file and printers.\n";

namespace {

namespace fs = std::filesystem;

// The value key of the printer data the plug-ins use.
constexpr WCHAR kDriverDataKey[] = L"PrinterDriverData";

struct SettingsRelease {
    void operator()(common::IDrvSettings* settings) const { settings->Release(); }
};
using SettingsPtr = std::unique_ptr<common::IDrvSettings, SettingsRelease>;

// The sample printers by the page description language they print.
struct SamplePrinter {
    const char* language;
    const char* gpd;
};

constexpr SamplePrinter kSamplePrinters[] = {
    {"pcl5", MOLTR_SAMPLES_DIR "/MOLTR4KC.GPD"},
    {"pcl6", MOLTR_SAMPLES_DIR "/MOLTR4KX.GPD"},
};

int Add(const std::vector<std::string>& args) {
    constexpr char kUsage[] =
        "usage: moltr printer add NAME [--sample pcl5|pcl6 | --gpd FILE] [--driver NAME]";
    std::string name, gpd = kSamplePrinters[0].gpd, driver;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--sample" && i + 1 < args.size()) {
            auto sample = std::find_if(
                std::begin(kSamplePrinters), std::end(kSamplePrinters),
                [&](const SamplePrinter& known) { return args[i + 1] == known.language; });
            if (sample == std::end(kSamplePrinters)) {
                return Fail(kUsage);
            }
            gpd = sample->gpd;
            ++i;
        } else if ((args[i] == "--gpd" || args[i] == "--driver") && i + 1 < args.size()) {
            (args[i] == "--gpd" ? gpd : driver) = args[i + 1];
            ++i;
        } else if (name.empty() && args[i].rfind("--", 0) != 0) {
            name = args[i];
        } else {
            return Fail(kUsage);
        }
    }
    std::error_code error;
    fs::path path = fs::absolute(gpd, error);
    if (name.empty() || !fs::is_regular_file(path, error)) {
        return Fail(name.empty() ? "moltr printer add needs a printer name"
                                 : "no such file: " + gpd);
    }
    if (driver.empty()) {
        driver = ModelName(path);
    }
    if (driver.empty()) {
        return Fail(gpd + " names no model: give the driver with --driver NAME");
    }
    sim::DriverSetup setup;
    setup.name = sim::Utf16(driver);
    setup.dataFile = path.string();
    setup.dependentFiles = DependentFiles(path);
    // The plug-ins of this build, which the sample's settings file names, come along, and so do
    // the notifier that the UI plug-in starts and its language module.
    const fs::path bin = fs::read_symlink("/proc/self/exe", error).parent_path();
    for (const fs::path& built :
         {bin / "MOLTRUIP.DLL", bin / "MOLTRRPC.DLL", bin.parent_path() / "modules/MOLTRMDN.EXE",
          bin.parent_path() / "modules/MOLTRMDN.DLL"}) {
        if (fs::is_regular_file(built, error)) {
            setup.dependentFiles.push_back(built.string());
        }
    }
    if (!sim::InstallDriver(setup)) {
        return Fail("cannot install the driver " + driver);
    }
    // The driver's notifier program runs as this build's host notifier beside moltr.
    const fs::path notifier = bin / "MOLTRMDN";
    if (!sim::RegisterProgram(u"MOLTRMDN.EXE", notifier.string())) {
        return Fail("cannot register the notifier program " + notifier.string());
    }
    sim::PrinterSetup printer;
    printer.name = sim::Utf16(name);
    printer.driver = setup.name;
    if (!sim::AddPrinter(printer)) {
        return Fail("cannot add the printer " + name + " (is the name in use?)");
    }
    std::printf("printer %s added with driver %s (%s)\n", name.c_str(), driver.c_str(),
                path.filename().string().c_str());
    return 0;
}

int Compile(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Fail("usage: moltr printer compile NAME");
    }
    NamedPrinter printer;
    std::string error = printer.Open(args[0]);
    if (!error.empty()) {
        return Fail(error);
    }
    int result = compiler::CompileForPrinter(printer.handle(), [](const auto& message) {
        std::printf("%u %d %s\n", message.id, message.messageClass, MessageText(message).c_str());
    });
    std::printf("result: %d\n", result);
    return result >= 2 ? 1 : 0;
}

const char* TypeName(DWORD type) {
    switch (type) {
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_BINARY:
        return "REG_BINARY";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    default:
        return "REG_NONE";
    }
}

int Data(const std::vector<std::string>& args) {
    std::string name, value;
    bool hex = false;
    for (const std::string& arg : args) {
        if (arg == "--hex") {
            hex = true;
        } else if (name.empty()) {
            name = arg;
        } else if (value.empty()) {
            value = arg;
        } else {
            return Fail("usage: moltr printer data NAME [VALUE] [--hex]");
        }
    }
    NamedPrinter printer;
    std::string error =
        name.empty() ? "usage: moltr printer data NAME [VALUE] [--hex]" : printer.Open(name);
    if (!error.empty()) {
        return Fail(error);
    }
    DWORD needed = 0, count = 0;
    EnumPrinterDataExW(printer.handle(), kDriverDataKey, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (EnumPrinterDataExW(printer.handle(), kDriverDataKey, buffer.data(), needed, &needed,
                           &count) != ERROR_SUCCESS) {
        count = 0;
    }
    auto* values = reinterpret_cast<PRINTER_ENUM_VALUESW*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        const PRINTER_ENUM_VALUESW& entry = values[i];
        std::string entryName = sim::Utf8(entry.pValueName);
        if (value.empty()) {
            std::printf("%-32s %-13s %8lu\n", entryName.c_str(), TypeName(entry.dwType),
                        static_cast<unsigned long>(entry.cbData));
            continue;
        }
        if (lstrcmpiW(entry.pValueName, sim::W(sim::Utf16(value))) != 0) {
            continue;
        }
        std::vector<BYTE> bytes(entry.pData, entry.pData + entry.cbData);
        if (!hex && (entry.dwType == REG_SZ || entry.dwType == REG_EXPAND_SZ)) {
            std::u16string text(bytes.size() / 2, u'\0');
            std::memcpy(text.data(), bytes.data(), text.size() * 2);
            std::printf("%s\n", sim::Utf8(text.substr(0, text.find(u'\0'))).c_str());
        } else if (!hex && entry.dwType == REG_DWORD && bytes.size() == 4) {
            DWORD number = 0;
            std::memcpy(&number, bytes.data(), 4);
            std::printf("%lu\n", static_cast<unsigned long>(number));
        } else {
            PrintHex(bytes);
        }
        return 0;
    }
    if (!value.empty()) {
        return Fail("the printer has no data value " + value);
    }
    return 0;
}

// One changed option item per FIELD=VALUE, holding its value the way the property sheets do.
struct Change {
    std::u16string setting; // PRINTERSETTINGS.FIELD
    std::vector<BYTE> value;
    std::u16string text;
    OPTPARAM params[2] = {};
    OPTTYPE type = {};
};

int Settings(const std::vector<std::string>& args) {
    if (args.empty()) {
        return Fail("usage: moltr printer settings NAME [FIELD=VALUE ...]");
    }
    NamedPrinter printer;
    StoredStructure layout;
    std::string error = printer.Open(args[0]);
    if (error.empty()) {
        error = printer.Layout(u"PRINTERSETTINGS", layout);
    }
    SettingsPtr settings(error.empty() ? printer.Settings(common::kModePrinter, error) : nullptr);
    if (!settings) {
        return Fail(error);
    }
    std::vector<StoredField> fields = BlockFields(layout);
    std::vector<std::unique_ptr<Change>> changes;
    for (size_t i = 1; i < args.size(); ++i) {
        size_t equals = args[i].find('=');
        std::string field = args[i].substr(0, equals);
        auto match = std::find_if(fields.begin(), fields.end(),
                                  [&](const StoredField& known) { return known.name == field; });
        if (equals == std::string::npos || match == fields.end()) {
            return Fail(equals == std::string::npos ? "expected FIELD=VALUE: " + args[i]
                                                    : "PRINTERSETTINGS has no field " + field);
        }
        auto change = std::make_unique<Change>();
        error = ParseFieldValue(*match, args[i].substr(equals + 1), change->value);
        if (!error.empty()) {
            return Fail(error);
        }
        change->setting = u"PRINTERSETTINGS." + sim::Utf16(field);
        change->type.cbSize = sizeof(OPTTYPE);
        change->type.pOptParam = change->params;
        if (match->type == store::kTypeChar) {
            change->type.Type = TVOT_EDITBOX;
            change->type.Count = 2;
            change->text = sim::Utf16(args[i].substr(equals + 1));
            change->params[1].IconID = match->elementCount;
        } else {
            change->type.Type = TVOT_LISTBOX;
            change->type.Count = 1;
            LPARAM small = 0;
            std::memcpy(&small, change->value.data(), std::min<size_t>(change->value.size(), 2));
            change->params[0].lParam =
                change->value.size() > 2 ? reinterpret_cast<LPARAM>(change->value.data()) : small;
        }
        changes.push_back(std::move(change));
    }
    if (!changes.empty()) {
        std::vector<OPTITEM> items(changes.size());
        for (size_t i = 0; i < changes.size(); ++i) {
            items[i].cbSize = sizeof(OPTITEM);
            items[i].Flags = OPTIF_CHANGED;
            items[i].UserData = reinterpret_cast<ULONG_PTR>(sim::W(changes[i]->setting));
            items[i].pOptType = &changes[i]->type;
            if (changes[i]->type.Type == TVOT_EDITBOX) {
                items[i].pSel = sim::W(changes[i]->text);
            }
        }
        if (FAILED(settings->SettingsFromItems(items.data(), static_cast<DWORD>(items.size()),
                                               nullptr, printer.handle()))) {
            return Fail("the printer settings cannot be changed");
        }
    }
    std::vector<BYTE> data;
    error = NamedPrinter::PrinterSettings(settings.get(), data);
    if (!error.empty()) {
        return Fail(error);
    }
    PrintBlock(layout, data);
    return 0;
}

int Ports(const std::vector<std::string>& args) {
    const bool json = args.size() == 1 && args[0] == "--json";
    if (!args.empty() && !json) {
        return Fail("usage: moltr printer ports [--json]");
    }
    JsonValue list = JsonValue::Array();
    for (const sim::PortInfo& port : sim::Ports()) {
        std::string printers;
        JsonValue names = JsonValue::Array();
        for (const std::u16string& printer : port.printers) {
            printers += (printers.empty() ? "" : ", ") + sim::Utf8(printer);
            names.Add(JsonValue::String(sim::Utf8(printer)));
        }
        if (!json) {
            std::printf("%-12s %s  (%s)\n", sim::Utf8(port.name).c_str(), port.file.c_str(),
                        printers.c_str());
            continue;
        }
        JsonValue entry = JsonValue::Object();
        entry.Add("port", JsonValue::String(sim::Utf8(port.name)));
        entry.Add("file", JsonValue::String(port.file));
        entry.Add("printers", std::move(names));
        list.Add(std::move(entry));
    }
    if (json) {
        std::printf("%s\n", list.Serialize().c_str());
    }
    return 0;
}

} // namespace

int RunPrinter(const std::vector<std::string>& args) {
    std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    const std::string command = args.empty() ? "" : args[0];
    if (command == "add") {
        return Add(rest);
    }
    if (command == "compile") {
        return Compile(rest);
    }
    if (command == "data") {
        return Data(rest);
    }
    if (command == "settings") {
        return Settings(rest);
    }
    if (command == "info") {
        return RunPrinterInfo(rest);
    }
    if (command == "ports") {
        return Ports(rest);
    }
    if (command == "gpd") {
        return RunPrinterGpd(rest);
    }
    return Fail(
        "moltr printer needs add, compile, data, info, settings, ports or gpd (see moltr --help)");
}

} // namespace moltr::tool
