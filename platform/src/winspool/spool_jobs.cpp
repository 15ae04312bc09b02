// Job records and spool files in the spool folder.
#include <winspool.h>

#include "src/winspool/spool_jobs.h"
#include "src/winspool/spool_bag.h"
#include "src/winspool/spool_devmode.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_job_codec.h"
#include "src/winspool/spool_job_events.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace moltr::spool {
namespace {

constexpr size_t kIdDigits = 8;

std::string JobFolder(DWORD id) {
    std::string folder = JobsFolder();
    if (folder.empty()) {
        return folder;
    }
    char name[kIdDigits + 1];
    std::snprintf(name, sizeof name, "%08lx", static_cast<unsigned long>(id));
    return folder + "/" + name;
}

} // namespace

JobRecord JobFromBag(DWORD id, const ValueBag& bag) {
    JobRecord job;
    job.id = id;
    bag.ReadPlain(u"Printer", job.printerId);
    job.document = bag.title;
    job.userName = bag.Text(u"User");
    job.machineName = bag.Text(u"Machine");
    job.datatype = bag.Text(u"Datatype");
    job.outputFile = bag.Text(u"Output File");
    job.status = bag.Number(u"Status");
    job.priority = bag.Number(u"Priority");
    job.totalPages = bag.Number(u"Total Pages");
    job.pagesPrinted = bag.Number(u"Pages Printed");
    bag.ReadPlain(u"Submitted", job.submitted);
    job.devmode = StoredDevMode(bag.Bytes(u"DevMode"));
    return job;
}

ValueBag JobToBag(const JobRecord& job) {
    ValueBag bag;
    bag.title = job.document;
    bag.SetPlain(u"Printer", job.printerId);
    bag.SetText(u"User", job.userName);
    bag.SetText(u"Machine", job.machineName);
    bag.SetText(u"Datatype", job.datatype);
    bag.SetText(u"Output File", job.outputFile);
    bag.SetNumber(u"Status", job.status);
    bag.SetNumber(u"Priority", job.priority);
    bag.SetNumber(u"Total Pages", job.totalPages);
    bag.SetNumber(u"Pages Printed", job.pagesPrinted);
    bag.SetPlain(u"Submitted", job.submitted);
    bag.SetBytes(u"DevMode", job.devmode);
    return bag;
}

std::string JobsFolder() {
    std::string spool = SpoolFolder();
    return spool.empty() ? spool : spool + "/jobs";
}

std::optional<JobRecord> LoadJob(DWORD id) {
    std::string folder = JobFolder(id);
    std::optional<ValueBag> bag = folder.empty() ? std::nullopt : ReadBag(folder + "/job");
    if (!bag) {
        return std::nullopt;
    }
    return JobFromBag(id, *bag);
}

std::vector<JobRecord> AllJobs() {
    return LoadNumbered<JobRecord>(JobsFolder(), kIdDigits,
                                   [](uint64_t id) { return LoadJob(static_cast<DWORD>(id)); });
}

std::vector<JobRecord> PrinterJobs(uint64_t printerId) {
    std::vector<JobRecord> jobs = AllJobs();
    std::erase_if(jobs, [&](const JobRecord& job) { return job.printerId != printerId; });
    return jobs;
}

bool SaveJob(const JobRecord& job) {
    std::string folder = JobFolder(job.id);
    if (folder.empty() || !WriteBag(folder + "/job", JobToBag(job))) {
        return false;
    }
    AppendJobSaved(job);
    return true;
}

bool RemoveJob(DWORD id) {
    std::string folder = JobFolder(id);
    if (folder.empty() || !RemoveAll(folder)) {
        return false;
    }
    AppendJobRemoved(id);
    return true;
}

DWORD NewJobId() {
    std::string file = JobsFolder() + "/sequence";
    std::optional<ValueBag> bag = ReadBag(file);
    DWORD id = (bag ? bag->Number(u"Last") : 0) + 1;
    ValueBag next;
    next.SetNumber(u"Last", id);
    return WriteBag(file, next) ? id : 0;
}

std::string JobDataFile(DWORD id) {
    std::string folder = JobFolder(id);
    return folder.empty() ? folder : folder + "/data";
}

DWORD JobDataSize(DWORD id) {
    struct stat status {};
    if (::stat(JobDataFile(id).c_str(), &status) != 0) {
        return 0;
    }
    return static_cast<DWORD>(status.st_size);
}

} // namespace moltr::spool
