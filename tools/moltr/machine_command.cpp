#include "moltr/machine_command.h"

#include <windows.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include "moltr/command_line.h"
#include "moltr/json_value.h"
#include "sim/machine.h"

namespace moltr::tool {
namespace {

constexpr char kUsage[] = "usage: moltr machine [--clock YYYY-MM-DDTHH:MM:SS.mmm|now] "
                          "[--tz-bias MINUTES] [--locale LCID] [--code-page CP] [--json]";
constexpr char kClockFormat[] = "dddd-dd-ddTdd:dd:dd.ddd";
// GetTimeZoneInformation's bias spans the world's zones, UTC-12 to UTC+14.
constexpr long kLowestBias = -720;
constexpr long kHighestBias = 840;
// The pages Windows uses as a system's ANSI code page; the machine must also have the page.
constexpr UINT kWindowsAnsiCodePages[] = {874,  932,  936,  949,  950,  1250, 1251,
                                          1252, 1253, 1254, 1255, 1256, 1257, 1258};

// A whole decimal number, with `hex` also 0x-hexadecimal, within [low, high].
bool ParseNumber(const std::string& text, bool hex, long low, long high, long* value) {
    const bool isHex =
        hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = text.c_str() + (isHex ? 2 : 0);
    if (*digits == '\0' || std::isspace(static_cast<unsigned char>(*digits)) || *digits == '+') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(digits, &end, isHex ? 16 : 10);
    if (errno != 0 || *end != '\0' || (isHex && *digits == '-') || number < low || number > high) {
        return false;
    }
    *value = static_cast<long>(number);
    return true;
}

// The clock as UTC FILETIME ticks; "now" is 0, the host's running clock.
std::string ParseClock(const std::string& text, sim::MachineConfig& config) {
    if (text == "now") {
        config.clock = 0;
        return {};
    }
    const std::string wanted = "--clock wants YYYY-MM-DDTHH:MM:SS.mmm or now, not '" + text + "'";
    if (text.size() != sizeof kClockFormat - 1) {
        return wanted;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (kClockFormat[i] == 'd' ? !digit : text[i] != kClockFormat[i]) {
            return wanted;
        }
    }
    auto part = [&](size_t at, size_t length) {
        return static_cast<WORD>(std::atoi(text.substr(at, length).c_str()));
    };
    SYSTEMTIME time = {part(0, 4),  part(5, 2),  0,           part(8, 2),
                       part(11, 2), part(14, 2), part(17, 2), part(20, 3)};
    FILETIME ticks{};
    if (!SystemTimeToFileTime(&time, &ticks)) {
        return "--clock: '" + text + "' is no time of the calendar";
    }
    config.clock = (static_cast<ULONGLONG>(ticks.dwHighDateTime) << 32) | ticks.dwLowDateTime;
    // 0 would be taken for the host's clock.
    return config.clock == 0 ? "--clock: '" + text + "' is before the first time the machine keeps"
                             : std::string();
}

std::string ParseBias(const std::string& text, sim::MachineConfig& config) {
    long bias = 0;
    if (!ParseNumber(text, false, kLowestBias, kHighestBias, &bias)) {
        return "--tz-bias wants minutes from -720 to 840, not '" + text + "'";
    }
    config.timeZoneBias = static_cast<LONG>(bias);
    return {};
}

std::string ParseLocale(const std::string& text, sim::MachineConfig& config) {
    long locale = 0;
    if (!ParseNumber(text, true, 0, 0xFFFFFFFFL, &locale) ||
        !IsValidLocale(static_cast<LCID>(locale), LCID_SUPPORTED)) {
        return "--locale: the machine knows no locale '" + text + "'";
    }
    config.systemLocale = static_cast<LCID>(locale);
    return {};
}

std::string ParseCodePage(const std::string& text, sim::MachineConfig& config) {
    long page = 0;
    const bool known = ParseNumber(text, false, 0, 65535, &page) &&
                       std::find(std::begin(kWindowsAnsiCodePages), std::end(kWindowsAnsiCodePages),
                                 static_cast<UINT>(page)) != std::end(kWindowsAnsiCodePages) &&
                       IsValidCodePage(static_cast<UINT>(page));
    if (!known) {
        return "--code-page: the machine knows no ANSI code page '" + text + "'";
    }
    config.ansiCodePage = static_cast<UINT>(page);
    return {};
}

struct MachineOption {
    const char* name;
    std::string (*parse)(const std::string& text, sim::MachineConfig& config);
};

constexpr MachineOption kOptions[] = {
    {"--clock", ParseClock},
    {"--tz-bias", ParseBias},
    {"--locale", ParseLocale},
    {"--code-page", ParseCodePage},
};

const MachineOption* FindOption(const std::string& name) {
    for (const MachineOption& option : kOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

// Applies the options to `config`; returns an error text, empty on success.
std::string ParseOptions(const std::vector<std::string>& args, sim::MachineConfig& config,
                         bool* json, bool* changed) {
    std::vector<const MachineOption*> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            *json = true;
            continue;
        }
        const size_t equals = args[i].find('=');
        const MachineOption* option = FindOption(args[i].substr(0, equals));
        if (option == nullptr) {
            return kUsage;
        }
        if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
            return std::string(option->name) + " is given twice";
        }
        seen.push_back(option);
        if (equals == std::string::npos && i + 1 >= args.size()) {
            return std::string(option->name) + " needs a value";
        }
        const std::string value =
            equals != std::string::npos ? args[i].substr(equals + 1) : args[++i];
        std::string error = option->parse(value, config);
        if (!error.empty()) {
            return error;
        }
    }
    *changed = !seen.empty();
    return {};
}

// The frozen clock as --clock takes it, or "now" for the host's.
std::string ClockText(ULONGLONG clock) {
    FILETIME ticks = {static_cast<DWORD>(clock), static_cast<DWORD>(clock >> 32)};
    SYSTEMTIME time{};
    if (clock == 0 || !FileTimeToSystemTime(&ticks, &time)) {
        return "now";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03u", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

void PrintText(const sim::MachineConfig& config) {
    std::printf("root: %s\n", sim::MachineRoot().c_str());
    std::printf("windows: %u.%u (build %u)\n", config.version.major, config.version.minor,
                config.version.build);
    std::printf("ui languages: user %u, system %u\n", config.userUiLanguage,
                config.systemUiLanguage);
    std::printf("system locale: %u\n", config.systemLocale);
    std::printf("ansi code page: %u\n", config.ansiCodePage);
    std::printf("time zone bias: %d minutes\n", static_cast<int>(config.timeZoneBias));
    if (config.clock == 0) {
        std::printf("clock: the host's, running\n");
    } else {
        std::printf("clock: %s UTC, frozen\n", ClockText(config.clock).c_str());
    }
}

void PrintJson(const sim::MachineConfig& config) {
    JsonValue machine = JsonValue::Object();
    machine.Add("root", JsonValue::String(sim::MachineRoot()));
    JsonValue& windows = machine.Add("windows", JsonValue::Object());
    windows.Add("major", JsonValue::Unsigned(config.version.major));
    windows.Add("minor", JsonValue::Unsigned(config.version.minor));
    windows.Add("build", JsonValue::Unsigned(config.version.build));
    machine.Add("userUiLanguage", JsonValue::Unsigned(config.userUiLanguage));
    machine.Add("systemUiLanguage", JsonValue::Unsigned(config.systemUiLanguage));
    machine.Add("systemLocale", JsonValue::Unsigned(config.systemLocale));
    machine.Add("ansiCodePage", JsonValue::Unsigned(config.ansiCodePage));
    machine.Add("timeZoneBias", JsonValue::Signed(config.timeZoneBias));
    machine.Add("clock", JsonValue::String(ClockText(config.clock)));
    std::printf("%s\n", machine.Serialize().c_str());
}

} // namespace

int RunMachine(const std::vector<std::string>& args) {
    sim::MachineConfig config = sim::CurrentConfig();
    bool json = false;
    bool changed = false;
    std::string error = ParseOptions(args, config, &json, &changed);
    if (!error.empty()) {
        return Fail(error);
    }
    if (changed && !sim::UpdateConfig(config)) {
        return Fail("cannot change the machine in '" + sim::MachineRoot() + "'");
    }
    if (json) {
        PrintJson(sim::CurrentConfig());
    } else {
        PrintText(sim::CurrentConfig());
    }
    return 0;
}

} // namespace moltr::tool
