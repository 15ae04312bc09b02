#pragma once
// The spooler's state on disk, in the machine's "spool" folder, shared by every process of the
// machine:
//   lock                              taken around every read-modify-write
//   sequence                          the last printer id handed out
//   drivers/<environment>/<name>      one bag per installed driver
//   printers/<id>/printer             one bag per printer: its properties
//   printers/<id>/data/<key>          one key of the printer's data (spool_key_file.h)
// Files are replaced atomically or only ever appended to, so readers need no lock and never see
// half a file.
#include "src/winspool/spool_bag.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace moltr::spool {

// The spool folder of the current machine; empty when there is no machine.
std::string SpoolFolder();

// Holds the spooler's lock while it lives; locks out other threads and processes alike.
class SpoolLock {
public:
    SpoolLock();
    ~SpoolLock();
    SpoolLock(const SpoolLock&) = delete;
    SpoolLock& operator=(const SpoolLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Nothing when the file is missing, unreadable or not a bag.
std::optional<ValueBag> ReadBag(const std::string& path);
bool WriteBag(const std::string& path, const ValueBag& bag);

bool ReadAllBytes(const std::string& path, std::vector<BYTE>& bytes);
// Replaces the file (and makes its folders) through a temporary file renamed over it.
bool WriteAtomically(const std::string& path, const std::vector<BYTE>& bytes);
// Adds the bytes at the end of an existing file in one write.
bool AppendBytes(const std::string& path, const std::vector<BYTE>& bytes);
bool RemoveAll(const std::string& path);
// The numbers that name the entries of `folder` written as exactly `digits` lower-case hexadecimal
// digits (the spooler's record folders), in increasing order; other entries are not the spooler's.
std::vector<uint64_t> NumberedEntries(const std::string& folder, size_t digits);
// The records that `load` (returning std::optional<Record>) reads for the numbered entries of
// `folder`, in their order; none for an empty folder name.
template <typename Record, typename Load>
std::vector<Record> LoadNumbered(const std::string& folder, size_t digits, Load load) {
    std::vector<Record> records;
    if (folder.empty()) {
        return records;
    }
    for (uint64_t id : NumberedEntries(folder, digits)) {
        if (std::optional<Record> record = load(id)) {
            records.push_back(std::move(*record));
        }
    }
    return records;
}

} // namespace moltr::spool
