// The job journal: records of [size][kind][job id][job bag], little-endian 32-bit numbers.
#include "src/winspool/spool_job_events.h"
#include "src/winspool/spool_bag.h"
#include "src/winspool/spool_job_codec.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace moltr::spool {
namespace {

constexpr DWORD kSaved = 1;
constexpr DWORD kRemoved = 2;
constexpr size_t kHeader = 3 * sizeof(DWORD);
// Larger than any job bag (a devmode is at most 64 KB): anything beyond is a broken journal.
constexpr DWORD kLargestRecord = 1 << 20;

std::string JournalFile() {
    const std::string folder = JobsFolder();
    return folder.empty() ? folder : folder + "/events";
}

void Append(DWORD kind, DWORD id, const std::vector<BYTE>& body) {
    const std::string file = JournalFile();
    if (file.empty()) {
        return;
    }
    std::vector<BYTE> record(kHeader + body.size());
    const DWORD header[] = {static_cast<DWORD>(record.size()), kind, id};
    std::memcpy(record.data(), header, kHeader);
    std::copy(body.begin(), body.end(), record.begin() + kHeader);
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
        // One write of the whole record: readers never see two records interleaved.
        [[maybe_unused]] ssize_t written = ::write(fd, record.data(), record.size());
        ::close(fd);
    }
}

} // namespace

void AppendJobSaved(const JobRecord& job) {
    Append(kSaved, job.id, JobToBag(job).Serialize());
}

void AppendJobRemoved(DWORD id) {
    Append(kRemoved, id, {});
}

uint64_t JobEventsEnd() {
    struct stat status {};
    return ::stat(JournalFile().c_str(), &status) == 0 ? static_cast<uint64_t>(status.st_size) : 0;
}

std::vector<JobEvent> ReadJobEvents(uint64_t& offset, bool& broken) {
    std::vector<JobEvent> events;
    broken = false;
    const uint64_t end = JobEventsEnd();
    if (end <= offset) {
        return events;
    }
    const int fd = ::open(JournalFile().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return events;
    }
    std::vector<BYTE> bytes(end - offset);
    const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    ::close(fd);
    size_t at = 0;
    while (got > 0 && static_cast<size_t>(got) - at >= kHeader) {
        DWORD header[3];
        std::memcpy(header, bytes.data() + at, kHeader);
        const auto [size, kind, id] = header;
        if (size < kHeader || size > kLargestRecord || (kind != kSaved && kind != kRemoved)) {
            broken = true;
            break;
        }
        if (static_cast<size_t>(got) - at < size) {
            break; // still being written
        }
        JobEvent event{id, std::nullopt};
        if (kind == kSaved) {
            auto bag = ValueBag::Parse({bytes.data() + at + kHeader, size - kHeader});
            if (!bag) {
                broken = true;
                break;
            }
            event.job = JobFromBag(id, *bag);
        }
        events.push_back(std::move(event));
        at += size;
    }
    offset += at;
    return events;
}

} // namespace moltr::spool
