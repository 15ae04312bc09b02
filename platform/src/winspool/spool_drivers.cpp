// Driver records in the spool folder.
#include "src/winspool/spool_drivers.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_names.h"
#include "sim/utf.h"

namespace moltr::spool {
namespace {

std::string DriverFile(std::u16string_view name, const Environment& environment) {
    std::string folder = DriversFolder();
    return folder.empty() ? folder
                          : folder + "/" + sim::Utf8(environment.folder) + "/" + FileNameFor(name);
}

} // namespace

std::string DriversFolder() {
    std::string spool = SpoolFolder();
    return spool.empty() ? spool : spool + "/drivers";
}

std::optional<DriverRecord> LoadDriver(std::u16string_view name, const Environment& environment) {
    std::string file = DriverFile(name, environment);
    std::optional<ValueBag> bag = file.empty() ? std::nullopt : ReadBag(file);
    if (!bag || !SameName(bag->title, name)) {
        return std::nullopt;
    }
    DriverRecord driver;
    driver.name = bag->title;
    driver.driverPath = bag->Text(u"Driver");
    driver.dataFile = bag->Text(u"Data File");
    driver.configFile = bag->Text(u"Configuration File");
    driver.helpFile = bag->Text(u"Help File");
    driver.dependentFiles = bag->TextList(u"Dependent Files");
    driver.monitor = bag->Text(u"Monitor");
    driver.defaultDataType = bag->Text(u"Datatype");
    return driver;
}

bool SaveDriver(const DriverRecord& driver, const Environment& environment) {
    std::string file = DriverFile(driver.name, environment);
    if (file.empty()) {
        return false;
    }
    ValueBag bag;
    bag.title = driver.name;
    bag.SetText(u"Driver", driver.driverPath);
    bag.SetText(u"Data File", driver.dataFile);
    bag.SetText(u"Configuration File", driver.configFile);
    bag.SetText(u"Help File", driver.helpFile);
    bag.SetTextList(u"Dependent Files", driver.dependentFiles);
    bag.SetText(u"Monitor", driver.monitor);
    bag.SetText(u"Datatype", driver.defaultDataType);
    return WriteBag(file, bag);
}

} // namespace moltr::spool
