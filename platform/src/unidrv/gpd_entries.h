#pragma once
// The first two passes of the GPD reader: the preprocessor (comments, *Include, *Define and
// *Undefine, *Ifdef/*Elseif/*Else/*Endif) turns a file into the lines that are in force, each
// knowing its file and line; the entry reader turns those lines into a tree of entries
// ("*Keyword: value" with an optional { } block of child entries).
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "src/unidrv/gpd_model.h"

namespace moltr::unidrv {

// An error of the reader, with the place it was found.
struct GpdError {
    GpdOrigin origin;
    std::string message;

    // "FILE(LINE): message".
    std::string Text() const;
};

// Reads the text of an included file by the name its *Include gives; false when it cannot.
using GpdIncludeReader = std::function<bool(const std::string& name, std::string* text)>;

// The standard names file of the universal driver, which the reader knows itself.
inline constexpr char kStandardNamesFile[] = "StdNames.gpd";

struct GpdLine {
    std::string text;
    const GpdOrigin* origin; // owned by the GpdSource the line belongs to
};

// The lines of a GPD file and its includes that are in force.
struct GpdSource {
    std::vector<std::unique_ptr<GpdOrigin>> origins;
    std::vector<GpdLine> lines;
    std::vector<std::string> symbols;
    bool standardNames = false;
};

bool PreprocessGpd(std::string_view text, const std::string& file, const GpdIncludeReader& include,
                   GpdSource* source, GpdError* error);

struct GpdEntry {
    std::string keyword; // with its '*' when written with one
    std::string value;   // trimmed; continuation lines joined with a blank
    bool hasBlock = false;
    std::vector<GpdEntry> children;
    GpdOrigin origin;
};

bool ReadGpdEntries(const GpdSource& source, std::vector<GpdEntry>* entries, GpdError* error);

} // namespace moltr::unidrv
