#pragma once
// A printer made for one `moltr` command: a driver whose data file is the description to compile,
// installed with the files beside it, and a printer using it; the printer is removed again at the
// end of the command.
#include <filesystem>
#include <string>
#include <vector>
#include "compiler/compile_driver.h"

namespace moltr::tool {

class ScratchPrinter {
public:
    ScratchPrinter() = default;
    ~ScratchPrinter();
    ScratchPrinter(const ScratchPrinter&) = delete;
    ScratchPrinter& operator=(const ScratchPrinter&) = delete;

    // Sets the printer up for the host file `source` and the driver name `driverName` (empty: the
    // description's own *ModelName). Fills `request` as the compile driver would for the driver's
    // data file; `embedded` is "embedded", "plain" or empty to decide from the file name. Returns
    // an error text, empty on success.
    std::string Create(const std::string& source, const std::string& driverName,
                       const std::string& embedded, compiler::CompileRequestData& request);

    const std::u16string& name() const { return name_; }

private:
    std::u16string name_;
};

// The quoted value of the description's *ModelName line, if any.
std::string ModelName(const std::filesystem::path& source);

// The files a driver built from `source` carries along: the descriptions, modules and settings
// files beside it, and the language module of this build when none lies there.
std::vector<std::string> DependentFiles(const std::filesystem::path& source);

// The value `valueName` of the printer's data, empty when it has none.
std::vector<BYTE> ReadPrinterData(const std::u16string& printer, const std::u16string& valueName);

} // namespace moltr::tool
