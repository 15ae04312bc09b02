// Printer records in the spool folder.
#include "src/winspool/spool_printers.h"
#include "src/winspool/spool_bag.h"
#include "src/winspool/spool_devmode.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_names.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace moltr::spool {
namespace {

std::string PrinterFile(uint64_t id) {
    std::string folder = PrinterFolder(id);
    return folder.empty() ? folder : folder + "/printer";
}

PrinterRecord FromBag(uint64_t id, const ValueBag& bag) {
    PrinterRecord p;
    p.id = id;
    p.name = bag.title;
    p.shareName = bag.Text(u"Share Name");
    p.port = bag.Text(u"Port");
    p.driver = bag.Text(u"Printer Driver");
    p.comment = bag.Text(u"Description");
    p.location = bag.Text(u"Location");
    p.sepFile = bag.Text(u"Separator File");
    p.printProcessor = bag.Text(u"Print Processor");
    p.datatype = bag.Text(u"Datatype");
    p.parameters = bag.Text(u"Parameters");
    p.attributes = bag.Number(u"Attributes");
    p.priority = bag.Number(u"Priority");
    p.defaultPriority = bag.Number(u"Default Priority");
    p.startTime = bag.Number(u"StartTime");
    p.untilTime = bag.Number(u"UntilTime");
    p.status = bag.Number(u"Status");
    p.refuseAllAccess = bag.Number(u"Refuse All Access") != 0;
    p.devmode = StoredDevMode(bag.Bytes(u"Default DevMode"));
    return p;
}

ValueBag ToBag(const PrinterRecord& p) {
    ValueBag bag;
    bag.title = p.name;
    bag.SetText(u"Share Name", p.shareName);
    bag.SetText(u"Port", p.port);
    bag.SetText(u"Printer Driver", p.driver);
    bag.SetText(u"Description", p.comment);
    bag.SetText(u"Location", p.location);
    bag.SetText(u"Separator File", p.sepFile);
    bag.SetText(u"Print Processor", p.printProcessor);
    bag.SetText(u"Datatype", p.datatype);
    bag.SetText(u"Parameters", p.parameters);
    bag.SetNumber(u"Attributes", p.attributes);
    bag.SetNumber(u"Priority", p.priority);
    bag.SetNumber(u"Default Priority", p.defaultPriority);
    bag.SetNumber(u"StartTime", p.startTime);
    bag.SetNumber(u"UntilTime", p.untilTime);
    bag.SetNumber(u"Status", p.status);
    bag.SetNumber(u"Refuse All Access", p.refuseAllAccess ? 1 : 0);
    bag.SetBytes(u"Default DevMode", p.devmode);
    return bag;
}

} // namespace

std::string PrintersFolder() {
    std::string spool = SpoolFolder();
    return spool.empty() ? spool : spool + "/printers";
}

std::string PrinterFolder(uint64_t id) {
    std::string folder = PrintersFolder();
    if (folder.empty()) {
        return folder;
    }
    char name[17];
    std::snprintf(name, sizeof name, "%016" PRIx64, id);
    return folder + "/" + name;
}

std::optional<PrinterRecord> LoadPrinter(uint64_t id) {
    std::string file = PrinterFile(id);
    std::optional<ValueBag> bag = file.empty() ? std::nullopt : ReadBag(file);
    if (!bag || bag->title.empty()) {
        return std::nullopt;
    }
    return FromBag(id, *bag);
}

std::vector<PrinterRecord> AllPrinters() {
    return LoadNumbered<PrinterRecord>(PrintersFolder(), 16, LoadPrinter);
}

std::optional<PrinterRecord> FindPrinter(std::u16string_view name) {
    for (PrinterRecord& printer : AllPrinters()) {
        if (SameName(printer.name, name)) {
            return std::move(printer);
        }
    }
    return std::nullopt;
}

bool SavePrinter(const PrinterRecord& printer) {
    std::string file = PrinterFile(printer.id);
    return !file.empty() && WriteBag(file, ToBag(printer));
}

uint64_t NewPrinterId() {
    std::string file = SpoolFolder() + "/sequence";
    std::optional<ValueBag> bag = ReadBag(file);
    uint64_t last = 0;
    if (bag) {
        bag->ReadPlain(u"Last", last);
    } else {
        // A new, reset or damaged sequence starts from the clock, above every id handed out
        // before, so that handles from before a reset stay dead.
        last = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch() /
                                     std::chrono::microseconds(1));
    }
    uint64_t id = last + 1;
    ValueBag next;
    next.SetPlain(u"Last", id);
    WriteBag(file, next);
    return id;
}

} // namespace moltr::spool
