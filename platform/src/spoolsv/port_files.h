#pragma once
// The printers' ports as files of the machine (sim/spooler_admin.h says where), and the record of
// the jobs printed to each.
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::spoolsv {

// What the service sent for one job.
struct PortJob {
    DWORD jobId = 0;
    DWORD pages = 0;
    std::vector<DWORD> callbackIds;
};

// Appends the job's bytes to the port and its line to the port's record, under the spooler's lock.
bool SendToPort(std::u16string_view port, const PortJob& job, const std::vector<BYTE>& bytes);

// The record's line for the job as "job=ID offset=N bytes=N pages=N callbacks=A,B,..."; false for
// a line that does not read so.
std::string PortRecordLine(const PortJob& job, size_t offset, size_t size);
bool ParsePortRecordLine(const std::string& line, PortJob& job, size_t& offset, size_t& size);

} // namespace moltr::spoolsv
