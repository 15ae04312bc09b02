#pragma once
// A job's state as the bag the spooler keeps it in: the job file and the job journal share it.
#include "src/winspool/spool_bag.h"
#include "src/winspool/spool_jobs.h"

namespace moltr::spool {

JobRecord JobFromBag(DWORD id, const ValueBag& bag);
ValueBag JobToBag(const JobRecord& job);

} // namespace moltr::spool
