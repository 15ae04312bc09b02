#pragma once
// A printer of the simulated spooler named on the `moltr` command line, opened for administration
// for the length of one command, with the layouts of its compiled settings structures.
#include <windows.h>
#include <string>
#include <vector>
#include "common/drv_settings.h"
#include "moltr/stored_image.h"

namespace moltr::tool {

class NamedPrinter {
public:
    NamedPrinter() = default;
    ~NamedPrinter();
    NamedPrinter(const NamedPrinter&) = delete;
    NamedPrinter& operator=(const NamedPrinter&) = delete;

    // Returns an error text, empty on success.
    std::string Open(const std::string& name);
    HANDLE handle() const { return handle_; }
    const std::u16string& name() const { return name_; }

    // The root structure `root` as the printer's data stores it. Returns an error text.
    std::string Layout(const std::u16string& root, StoredStructure& structure) const;
    // A settings object in `mode`; null with `error` set when the printer has none.
    common::IDrvSettings* Settings(DWORD mode, std::string& error) const;
    // The printer settings block as `settings` (a printer-mode object) holds it. Returns an error
    // text, empty on success.
    static std::string PrinterSettings(common::IDrvSettings* settings, std::vector<BYTE>& data);

private:
    HANDLE handle_ = nullptr;
    std::u16string name_;
};

} // namespace moltr::tool
