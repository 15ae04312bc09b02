#include "uiplugin/custom_media_gpd_writer.h"

#include <cstdint>

namespace moltr::uiplugin {
namespace {

constexpr char kCrLf[] = "\r\n";
constexpr size_t kMaxDigits = 15;

// The digits run starting at or after `at` before `end`; false when none, or one too long.
bool NextNumber(std::string_view text, size_t* at, size_t end, unsigned* value) {
    while (*at < end && (text[*at] < '0' || text[*at] > '9')) {
        ++*at;
    }
    size_t start = *at;
    uint64_t number = 0;
    while (*at < end && text[*at] >= '0' && text[*at] <= '9') {
        number = number * 10 + static_cast<unsigned>(text[*at] - '0');
        ++*at;
    }
    if (*at == start || *at - start > kMaxDigits || number > UINT32_MAX) {
        return false;
    }
    *value = static_cast<unsigned>(number);
    return true;
}

// The offset just past the line end that follows `at`: "\r\n", "\n" or the end of the text.
size_t AfterLine(std::string_view text, size_t at) {
    size_t newline = text.find('\n', at);
    return newline == std::string_view::npos ? text.size() : newline + 1;
}

// A '"' would close the quoted name early: GPD strings write it as a hexadecimal substitution.
std::string QuotedName(const std::string& name) {
    std::string quoted;
    for (char c : name) {
        quoted += c == '"' ? std::string("<22>") : std::string(1, c);
    }
    return quoted;
}

std::string Pair(int64_t x, int64_t y) {
    return "PAIR(" + std::to_string(x) + "," + std::to_string(y) + ")";
}

void AppendOption(const CustomMedium& medium, MasterUnits units, std::string* out) {
    const int64_t w = static_cast<int64_t>(uint64_t{units.x} * medium.width / 25400);
    const int64_t h = static_cast<int64_t>(uint64_t{units.y} * medium.length / 25400);
    const std::string& id = medium.identifier;
    // One orientation's case: printable area, origins and the page set-up command.
    auto orientation = [&](const char* name, const std::string& area, const std::string& origin,
                           const std::string& cursor, const char* command) {
        *out += std::string("\t\t\t*case: ") + name + "\r\n\t\t\t{\r\n";
        *out += "\t\t\t\t*PrintableArea: " + area + kCrLf;
        *out += "\t\t\t\t*PrintableOrigin: " + origin + kCrLf;
        *out += "\t\t\t\t*CursorOrigin: " + cursor + kCrLf;
        *out += "\t\t\t\t*Command: CmdSelect\r\n\t\t\t\t{\r\n\t\t\t\t\t*Order: PAGE_SETUP.3\r\n";
        *out += std::string("\t\t\t\t\t*Cmd: =") + command + "\r\n\t\t\t\t}\r\n\t\t\t}\r\n";
    };
    *out += "*Ifdef: _CUSTOM_" + id + "_ALLOWED_01\r\n";
    *out += "\t*Option: CUSTOM_" + id + "\r\n\t{\r\n";
    *out += "\t\t*Name: \"" + QuotedName(medium.name) + "\"\r\n";
    *out += "\t\t*PageDimensions: " + Pair(w, h) + "\r\n\r\n";
    *out += "\t\t*switch: Orientation\r\n\t\t{\r\n";
    orientation("PORTRAIT", Pair(w - 600, h - 480), Pair(300, 240), Pair(300, 240),
                "MediaSizeCustomPortrait");
    orientation("LANDSCAPE_CC90", Pair(w - 480, h - 600), Pair(240, 300), Pair(240, h - 300),
                "MediaSizeCustomLandscape");
    *out += "\t\t}\r\n\t}\r\n";
    *out += "*Endif: _CUSTOM_" + id + "_ALLOWED_01\r\n\r\n";
}

} // namespace

MasterUnits ReadMasterUnits(std::string_view gpd) {
    MasterUnits units;
    size_t at = gpd.find("MasterUnits");
    if (at == std::string_view::npos) {
        return units;
    }
    size_t end = gpd.find(kCrLf, at);
    end = end == std::string_view::npos ? gpd.size() : end;
    unsigned x = 0;
    unsigned y = 0;
    if (NextNumber(gpd, &at, end, &x) && NextNumber(gpd, &at, end, &y)) {
        units = {x, y};
    }
    return units;
}

bool WriteGpdCustomMedia(std::string_view gpd, const std::vector<CustomMedium>& media,
                         MasterUnits units, std::string* result) {
    const size_t begin = gpd.find(kGpdCmsBegin);
    if (begin == std::string_view::npos) {
        return false;
    }
    const size_t end = gpd.find(kGpdCmsEnd, begin + sizeof(kGpdCmsBegin) - 1);
    if (end == std::string_view::npos) {
        return false;
    }
    std::string out(gpd.substr(0, begin));
    out += std::string(kGpdCmsBegin) + kCrLf;
    out += "\r\n*Ifdef: _FORMASSIGN_01\r\n*Else:\r\n";
    for (const CustomMedium& medium : media) {
        out += "*Define: _CUSTOM_" + medium.identifier + "_ALLOWED_01\r\n";
    }
    out += "*Endif: _FORMASSIGN_01\r\n\r\n";
    for (const CustomMedium& medium : media) {
        AppendOption(medium, units, &out);
    }
    out += std::string(kGpdCmsEnd) + kCrLf;
    out += gpd.substr(AfterLine(gpd, end));
    *result = std::move(out);
    return true;
}

} // namespace moltr::uiplugin
