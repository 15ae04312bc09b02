#pragma once
// `moltr jobs PRINTER` lists a printer's queue; `moltr job PRINTER ID pause|resume|delete`
// controls one job.
#include <string>
#include <vector>

namespace moltr::tool {

int RunJobs(const std::vector<std::string>& args);
int RunJob(const std::vector<std::string>& args);

extern const char kJobsUsage[];
extern const char kJobUsage[];

} // namespace moltr::tool
