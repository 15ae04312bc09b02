#pragma once
// The machine's journal of job changes (jobs/events in the spool folder): every saved job state and
// every removal, appended in the order the spooler's lock put them. Printer change notifications
// of any process read it from where they last stopped, so that they see each state a job passed
// through, also those another process wrote.
#include "src/winspool/spool_jobs.h"

#include <optional>
#include <vector>

namespace moltr::spool {

struct JobEvent {
    DWORD id = 0;
    // The state saved; nothing when the job was removed.
    std::optional<JobRecord> job;
};

// Called by SaveJob and RemoveJob, under the spooler's lock.
void AppendJobSaved(const JobRecord& job);
void AppendJobRemoved(DWORD id);

// The journal's size now: where a new reader starts.
uint64_t JobEventsEnd();
// The whole events from `offset` on, and the offset after the last of them; a record still being
// written is left for the next read. A journal that does not parse ends the read where it breaks
// (`broken` is then set) rather than being read wrongly.
std::vector<JobEvent> ReadJobEvents(uint64_t& offset, bool& broken);

} // namespace moltr::spool
