#pragma once
// Installed printer drivers: one record per driver and environment.
#include "src/winspool/spool_environment.h"

#include <optional>
#include <string>
#include <vector>

namespace moltr::spool {

struct DriverRecord {
    std::u16string name;
    // File names in the environment's driver files directory.
    std::u16string driverPath;
    std::u16string dataFile;
    std::u16string configFile;
    std::u16string helpFile;
    std::vector<std::u16string> dependentFiles;
    std::u16string monitor;
    std::u16string defaultDataType;
};

std::optional<DriverRecord> LoadDriver(std::u16string_view name, const Environment& environment);
// Adds or replaces the driver; the caller holds the spooler's lock.
bool SaveDriver(const DriverRecord& driver, const Environment& environment);
std::string DriversFolder();

} // namespace moltr::spool
