#include "uiplugin/custom_media_ppd_writer.h"

#include <cstdint>

namespace moltr::uiplugin {
namespace {

constexpr char kCrLf[] = "\r\n";
constexpr std::string_view kHidden = "*%__";

size_t EndOfLine(std::string_view text, size_t at) {
    size_t newline = text.find('\n', at);
    return newline == std::string_view::npos ? text.size() : newline + 1;
}

int64_t Points(DWORD micrometres) {
    return static_cast<int64_t>(uint64_t{micrometres} * 72 / 25400);
}

// The placeholder's text for `medium`, or false when `keyword` starts no placeholder.
bool Placeholder(std::string_view rest, const CustomMedium& medium, size_t* used,
                 std::string* text) {
    const int64_t width = Points(medium.width);
    const int64_t height = Points(medium.length);
    const struct {
        std::string_view keyword;
        std::string value;
    } kPlaceholders[] = {
        {"NAME", medium.identifier},
        {"DNAME", medium.name},
        {"WIDTH", std::to_string(width)},
        {"HEIGHT", std::to_string(height)},
        {"LLX", "12"},
        {"LLY", "12"},
        {"URX", std::to_string(width - 24)},
        {"URY", std::to_string(height - 24)},
    };
    for (const auto& placeholder : kPlaceholders) {
        if (rest.substr(0, placeholder.keyword.size()) == placeholder.keyword) {
            *used = placeholder.keyword.size();
            *text = placeholder.value;
            return true;
        }
    }
    return false;
}

} // namespace

std::string ExpandPpdTemplate(std::string_view template_, const CustomMedium& medium) {
    std::string out;
    out.reserve(template_.size() + 128);
    size_t at = 0;
    while (at < template_.size()) {
        size_t used = 0;
        std::string text;
        if (template_.substr(at, kHidden.size()) == kHidden) {
            at += kHidden.size();
        } else if (template_[at] == '#' &&
                   Placeholder(template_.substr(at + 1), medium, &used, &text)) {
            out += text;
            at += 1 + used;
        } else {
            out += template_[at++];
        }
    }
    return out;
}

bool WritePpdCustomMedia(std::string_view ppd, const std::vector<CustomMedium>& media,
                         std::string* result) {
    size_t begin = ppd.find(kPpdCmsBegin);
    size_t end = begin == std::string_view::npos ? begin : ppd.find(kPpdCmsEnd, begin);
    if (end == std::string_view::npos) {
        return false;
    }
    std::string out(ppd.substr(0, begin));
    size_t copied = begin;
    while (true) {
        const size_t synBegin = ppd.find(kPpdSynBegin, begin);
        const size_t synEnd =
            synBegin == std::string_view::npos ? synBegin : ppd.find(kPpdSynEnd, synBegin);
        if (synEnd == std::string_view::npos || synEnd > end) {
            break; // the rest goes out as it stands, from this block's begin tag on
        }
        out += std::string(kPpdCmsBegin) + kCrLf;
        out += ppd.substr(synBegin, synEnd - synBegin);
        out += std::string(kPpdSynEnd) + kCrLf;
        const size_t templateStart = EndOfLine(ppd, synBegin);
        const std::string_view template_ =
            ppd.substr(templateStart, synEnd > templateStart ? synEnd - templateStart : 0);
        for (const CustomMedium& medium : media) {
            out += ExpandPpdTemplate(template_, medium);
        }
        if (media.empty()) {
            out += kCrLf;
        }
        out += std::string(kPpdCmsEnd) + kCrLf;
        copied = EndOfLine(ppd, end);
        begin = ppd.find(kPpdCmsBegin, copied);
        end = begin == std::string_view::npos ? begin : ppd.find(kPpdCmsEnd, begin);
        if (end == std::string_view::npos) {
            break;
        }
        out += ppd.substr(copied, begin - copied);
        copied = begin;
    }
    out += ppd.substr(copied);
    *result = std::move(out);
    return true;
}

} // namespace moltr::uiplugin
