#pragma once
// Jobs: one folder per job in the spool folder, shared by every process of the machine:
//   jobs/sequence            the last job id handed out (ids increase per machine)
//   jobs/<id>/job            the job's properties (a bag)
//   jobs/<id>/data           the spool file: the bytes the application wrote
#include <windows.h>
#include <winspool.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace moltr::spool {

struct JobRecord {
    DWORD id = 0;
    uint64_t printerId = 0;
    std::u16string document;
    std::u16string userName;
    std::u16string machineName;
    std::u16string datatype;
    // A Windows path that receives the job's output instead of the port; empty for the port.
    std::u16string outputFile;
    DWORD status = 0;
    DWORD priority = DEF_PRIORITY;
    DWORD totalPages = 0;
    DWORD pagesPrinted = 0;
    SYSTEMTIME submitted{};
    // A whole DEVMODEW, or empty.
    std::vector<BYTE> devmode;
};

std::optional<JobRecord> LoadJob(DWORD id);
// The printer's jobs in the order they were submitted.
std::vector<JobRecord> PrinterJobs(uint64_t printerId);
// Every job of the machine, in id order.
std::vector<JobRecord> AllJobs();
// The caller holds the spooler's lock for these.
bool SaveJob(const JobRecord& job);
bool RemoveJob(DWORD id);
DWORD NewJobId();

std::string JobsFolder();
std::string JobDataFile(DWORD id);
// The size of the job's spool file.
DWORD JobDataSize(DWORD id);

} // namespace moltr::spool
