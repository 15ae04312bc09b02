// Port files: the bytes each printer's port received, and a line per job beside them.
#include <winspool.h>

#include "src/spoolsv/port_files.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_names.h"
#include "src/winspool/spool_printers.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <sstream>
#include <sys/stat.h>

namespace moltr::spoolsv {
namespace {

constexpr char kRecordSuffix[] = ".jobs";

std::string PortFileName(std::u16string_view port) {
    if (!port.empty() && port.back() == u':') {
        port.remove_suffix(1);
    }
    std::string name;
    for (char16_t c : port) {
        const bool plain = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'a' && c <= u'z') || c == u'.' || c == u'-' || c == u'_';
        name += !plain                     ? '_'
                : (c >= u'a' && c <= u'z') ? static_cast<char>(c - u'a' + u'A')
                                           : static_cast<char>(c);
    }
    // "." and ".." would name folders.
    return name.find_first_not_of('.') == std::string::npos ? "_" + name : name;
}

size_t FileSize(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? static_cast<size_t>(status.st_size) : 0;
}

// Appends to the file, making it first when it is missing.
bool AppendOrCreate(const std::string& path, const std::vector<BYTE>& bytes) {
    return spool::AppendBytes(path, bytes) ||
           (FileSize(path) == 0 && spool::WriteAtomically(path, bytes));
}

std::string CallbackList(const std::vector<DWORD>& ids) {
    std::string list;
    for (DWORD id : ids) {
        list += (list.empty() ? "" : ",") + std::to_string(id);
    }
    return list;
}

} // namespace

std::string PortRecordLine(const PortJob& job, size_t offset, size_t size) {
    return "job=" + std::to_string(job.jobId) + " offset=" + std::to_string(offset) +
           " bytes=" + std::to_string(size) + " pages=" + std::to_string(job.pages) +
           " callbacks=" + CallbackList(job.callbackIds) + "\n";
}

bool ParsePortRecordLine(const std::string& line, PortJob& job, size_t& offset, size_t& size) {
    unsigned long id = 0, pages = 0;
    unsigned long long at = 0, bytes = 0;
    int listStart = 0;
    if (std::sscanf(line.c_str(), "job=%lu offset=%llu bytes=%llu pages=%lu callbacks=%n", &id, &at,
                    &bytes, &pages, &listStart) != 4 ||
        listStart == 0) {
        return false;
    }
    job = PortJob{static_cast<DWORD>(id), static_cast<DWORD>(pages), {}};
    std::istringstream list(line.substr(static_cast<size_t>(listStart)));
    for (std::string item; std::getline(list, item, ',');) {
        if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        job.callbackIds.push_back(static_cast<DWORD>(std::stoul(item)));
    }
    offset = static_cast<size_t>(at);
    size = static_cast<size_t>(bytes);
    return true;
}

bool SendToPort(std::u16string_view port, const PortJob& job, const std::vector<BYTE>& bytes) {
    const std::string file = sim::PortFile(port);
    spool::SpoolLock lock;
    if (file.empty() || !lock.held()) {
        return false;
    }
    const size_t offset = FileSize(file);
    const std::string line = PortRecordLine(job, offset, bytes.size());
    return AppendOrCreate(file, bytes) &&
           AppendOrCreate(file + kRecordSuffix, std::vector<BYTE>(line.begin(), line.end()));
}

} // namespace moltr::spoolsv

namespace moltr::sim {

std::string PortFile(std::u16string_view port) {
    const std::string root = MachineRoot();
    return root.empty() ? root : root + "/ports/" + spoolsv::PortFileName(port);
}

std::vector<PortInfo> Ports() {
    std::vector<PortInfo> ports;
    for (const spool::PrinterRecord& printer : spool::AllPrinters()) {
        auto same = [&](const PortInfo& port) { return spool::SameName(port.name, printer.port); };
        auto it = std::find_if(ports.begin(), ports.end(), same);
        if (it == ports.end()) {
            it = ports.insert(ports.end(), PortInfo{printer.port, PortFile(printer.port), {}});
        }
        it->printers.push_back(printer.name);
    }
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return a.file < b.file; });
    return ports;
}

std::optional<PrintedJob> FindPrintedJob(std::u16string_view printerName, DWORD jobId) {
    std::optional<spool::PrinterRecord> printer = spool::FindPrinter(printerName);
    if (!printer) {
        return std::nullopt;
    }
    const std::string file = PortFile(printer->port);
    std::vector<BYTE> record;
    std::vector<BYTE> bytes;
    if (!spool::ReadAllBytes(file + spoolsv::kRecordSuffix, record) ||
        !spool::ReadAllBytes(file, bytes)) {
        return std::nullopt;
    }
    // Job ids start again after a reset of the spooler: the job's latest line is its own.
    std::optional<PrintedJob> found;
    std::istringstream lines(std::string(record.begin(), record.end()));
    for (std::string line; std::getline(lines, line);) {
        spoolsv::PortJob job;
        size_t offset = 0, size = 0;
        if (spoolsv::ParsePortRecordLine(line, job, offset, size) && job.jobId == jobId &&
            offset <= bytes.size() && size <= bytes.size() - offset) {
            const auto start = bytes.begin() + static_cast<ptrdiff_t>(offset);
            found = PrintedJob{job.jobId, job.pages,
                               std::vector<BYTE>(start, start + static_cast<ptrdiff_t>(size)),
                               std::move(job.callbackIds)};
        }
    }
    return found;
}

} // namespace moltr::sim
