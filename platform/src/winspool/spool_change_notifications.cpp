// Printer change notifications for the jobs of a printer. A watch remembers the requested fields of
// each job as it last saw them and reads the job journal from where it stopped: a new job reports
// every requested field, a changed job the fields whose values changed, a removed job its status
// with JOB_STATUS_DELETED. Changes wait in the watch, the latest value per job and field, until
// FindNextPrinterChangeNotification takes them; too many of them are discarded, and the caller
// then asks for the whole state with PRINTER_NOTIFY_OPTIONS_REFRESH.
#include <windows.h>
#include <winspool.h>

#include "src/kernel32/last_error_results.h"
#include "src/kernel32/waitable_object.h"
#include "src/winspool/spool_handles.h"
#include "src/winspool/spool_job_events.h"
#include "src/winspool/spool_jobs.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <set>

namespace moltr::spool {
namespace {

constexpr DWORD kOptionsVersion = 2;
constexpr WORD kLastJobField = JOB_NOTIFY_FIELD_REMOTE_JOB_ID;
// Beyond this many waiting changes the watch keeps none and reports them discarded.
constexpr size_t kMostPending = 512;

struct FieldValue {
    bool isData = false;
    DWORD number = 0;
    std::vector<BYTE> data;
    bool operator==(const FieldValue&) const = default;
};

FieldValue Number(DWORD number) {
    return FieldValue{false, number, {}};
}

FieldValue Text(std::u16string_view text) {
    FieldValue value{true, 0, std::vector<BYTE>((text.size() + 1) * sizeof(char16_t))};
    std::memcpy(value.data.data(), text.data(), text.size() * sizeof(char16_t));
    return value;
}

FieldValue Blob(const void* data, size_t size) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    return FieldValue{true, 0, std::vector<BYTE>(bytes, bytes + size)};
}

FieldValue JobField(WORD field, const JobRecord& job, const PrinterRecord& printer,
                    DWORD position) {
    switch (field) {
    case JOB_NOTIFY_FIELD_PRINTER_NAME:
        return Text(printer.name);
    case JOB_NOTIFY_FIELD_MACHINE_NAME:
        return Text(job.machineName);
    case JOB_NOTIFY_FIELD_PORT_NAME:
        return Text(printer.port);
    case JOB_NOTIFY_FIELD_USER_NAME:
    case JOB_NOTIFY_FIELD_NOTIFY_NAME:
        return Text(job.userName);
    case JOB_NOTIFY_FIELD_DATATYPE:
        return Text(job.datatype);
    case JOB_NOTIFY_FIELD_PRINT_PROCESSOR:
        return Text(printer.printProcessor);
    case JOB_NOTIFY_FIELD_PARAMETERS:
    case JOB_NOTIFY_FIELD_STATUS_STRING:
        return Text(u"");
    case JOB_NOTIFY_FIELD_DRIVER_NAME:
        return Text(printer.driver);
    case JOB_NOTIFY_FIELD_DEVMODE:
        return Blob(job.devmode.data(), job.devmode.size());
    case JOB_NOTIFY_FIELD_STATUS:
        return Number(job.status);
    case JOB_NOTIFY_FIELD_SECURITY_DESCRIPTOR:
        return Blob(nullptr, 0);
    case JOB_NOTIFY_FIELD_DOCUMENT:
        return Text(job.document);
    case JOB_NOTIFY_FIELD_PRIORITY:
        return Number(job.priority);
    case JOB_NOTIFY_FIELD_POSITION:
        return Number(position);
    case JOB_NOTIFY_FIELD_SUBMITTED:
        return Blob(&job.submitted, sizeof job.submitted);
    case JOB_NOTIFY_FIELD_TOTAL_PAGES:
        return Number(job.totalPages);
    case JOB_NOTIFY_FIELD_PAGES_PRINTED:
        return Number(job.pagesPrinted);
    case JOB_NOTIFY_FIELD_TOTAL_BYTES:
        return Number(JobDataSize(job.id));
    default: // start, until and elapsed time, bytes printed, remote id: not kept by this spooler
        return Number(0);
    }
}

struct Change {
    DWORD job = 0;
    WORD field = 0;
    FieldValue value;
};

// The job fields asked for in PRINTER_NOTIFY_OPTIONS; false for options that do not parse.
bool RequestedFields(const PRINTER_NOTIFY_OPTIONS* options, std::vector<WORD>& fields) {
    if (options->Version != kOptionsVersion || (options->Count && !options->pTypes)) {
        return false;
    }
    for (DWORD t = 0; t < options->Count; ++t) {
        const PRINTER_NOTIFY_OPTIONS_TYPE& type = options->pTypes[t];
        if ((type.Type != JOB_NOTIFY_TYPE && type.Type != PRINTER_NOTIFY_TYPE) ||
            (type.Count && !type.pFields)) {
            return false;
        }
        // Printer fields are accepted; this spooler raises only job notifications.
        for (DWORD f = 0; type.Type == JOB_NOTIFY_TYPE && f < type.Count; ++f) {
            if (type.pFields[f] > kLastJobField) {
                return false;
            }
            if (std::find(fields.begin(), fields.end(), type.pFields[f]) == fields.end()) {
                fields.push_back(type.pFields[f]);
            }
        }
    }
    return true;
}

class ChangeNotification : public sim::WaitableObject {
public:
    ChangeNotification(const PrinterRecord& printer, DWORD filter, std::vector<WORD> fields,
                       bool withInfo, bool refresh)
        : printer_(printer), filter_(filter), fields_(std::move(fields)), withInfo_(withInfo) {
        std::lock_guard guard(lock_);
        Resync();
        if (refresh) {
            for (const auto& [id, values] : known_) {
                for (const auto& [field, value] : values) {
                    Note(id, field, value);
                }
            }
        }
    }

    bool IsSignalled() override {
        std::lock_guard guard(lock_);
        Poll();
        return (changed_ & Filter()) || !pending_.empty() || discarded_;
    }
    bool ChangesElsewhere() const override { return true; }

    // What changed since the last call; with `refresh` every job's whole state instead.
    void Take(bool refresh, DWORD& changed, std::vector<Change>& changes, bool& discarded) {
        std::lock_guard guard(lock_);
        Poll();
        changed = changed_;
        discarded = discarded_ && !refresh;
        if (refresh) {
            Resync();
            changes.clear();
            for (const auto& [id, values] : known_) {
                for (const auto& [field, value] : values) {
                    changes.push_back(Change{id, field, value});
                }
            }
        } else {
            changes = std::move(pending_);
        }
        pending_.clear();
        changed_ = 0;
        discarded_ = false;
    }

    bool withInfo() const { return withInfo_; }

private:
    using Values = std::map<WORD, FieldValue>;

    DWORD Filter() const { return filter_ ? filter_ : PRINTER_CHANGE_JOB; }

    Values ValuesOf(const JobRecord& job, DWORD position) const {
        Values values;
        for (WORD field : fields_) {
            values[field] = JobField(field, job, printer_, position);
        }
        return values;
    }

    // The current jobs, as they are now; the journal is read from here on.
    void Resync() {
        offset_ = JobEventsEnd();
        known_.clear();
        DWORD position = 0;
        for (const JobRecord& job : PrinterJobs(printer_.id)) {
            known_[job.id] = ValuesOf(job, ++position);
        }
    }

    void Note(DWORD job, WORD field, const FieldValue& value) {
        if (discarded_) {
            return;
        }
        auto same = std::find_if(pending_.begin(), pending_.end(), [&](const Change& change) {
            return change.job == job && change.field == field;
        });
        if (same != pending_.end()) {
            same->value = value;
        } else if (pending_.size() < kMostPending) {
            pending_.push_back(Change{job, field, value});
        } else {
            pending_.clear();
            discarded_ = true;
        }
    }

    void Poll() {
        bool broken = false;
        for (const JobEvent& event : ReadJobEvents(offset_, broken)) {
            Apply(event);
        }
        // A journal that cannot be read on loses the changes in it: the caller learns so.
        if (broken) {
            Resync();
            pending_.clear();
            discarded_ = true;
        }
    }

    void Apply(const JobEvent& event) {
        auto known = known_.find(event.id);
        if (!event.job) {
            if (known != known_.end()) {
                const DWORD status = known->second[JOB_NOTIFY_FIELD_STATUS].number;
                Note(event.id, JOB_NOTIFY_FIELD_STATUS,
                     Number(status | JOB_STATUS_DELETING | JOB_STATUS_DELETED));
                known_.erase(known);
                changed_ |= PRINTER_CHANGE_DELETE_JOB;
            }
            return;
        }
        if (event.job->printerId != printer_.id) {
            return;
        }
        const bool added = known == known_.end();
        const DWORD position =
            static_cast<DWORD>(std::distance(known_.begin(), known_.lower_bound(event.id))) + 1;
        Values values = ValuesOf(*event.job, position);
        for (const auto& [field, value] : values) {
            if (added || known->second[field] != value) {
                Note(event.id, field, value);
            }
        }
        changed_ |= added ? PRINTER_CHANGE_ADD_JOB : PRINTER_CHANGE_SET_JOB;
        known_[event.id] = std::move(values);
    }

    std::mutex lock_;
    const PrinterRecord printer_;
    const DWORD filter_;
    const std::vector<WORD> fields_;
    const bool withInfo_;
    uint64_t offset_ = 0;
    std::map<DWORD, Values> known_;
    std::vector<Change> pending_;
    DWORD changed_ = 0;
    bool discarded_ = false;
};

// The blocks handed out by FindNextPrinterChangeNotification, so that FreePrinterNotifyInfo
// frees only those.
struct IssuedInfos {
    std::mutex lock;
    std::set<void*> blocks;
};

IssuedInfos& Issued() {
    static IssuedInfos* issued = new IssuedInfos;
    return *issued;
}

size_t Aligned(size_t size) {
    return (size + 7) & ~size_t{7};
}

// One block: the header, the items, and the items' data behind them.
PPRINTER_NOTIFY_INFO Pack(const std::vector<Change>& changes, bool discarded) {
    const size_t items = std::max<size_t>(changes.size(), 1);
    size_t size = offsetof(PRINTER_NOTIFY_INFO, aData) + items * sizeof(PRINTER_NOTIFY_INFO_DATA);
    for (const Change& change : changes) {
        size += Aligned(change.value.data.size());
    }
    auto* block = static_cast<BYTE*>(std::calloc(1, size));
    if (!block) {
        return nullptr;
    }
    auto* info = reinterpret_cast<PPRINTER_NOTIFY_INFO>(block);
    info->Version = kOptionsVersion;
    info->Flags = discarded ? PRINTER_NOTIFY_INFO_DISCARDED : 0;
    info->Count = discarded ? 0 : static_cast<DWORD>(changes.size());
    BYTE* data =
        block + offsetof(PRINTER_NOTIFY_INFO, aData) + items * sizeof(PRINTER_NOTIFY_INFO_DATA);
    for (DWORD i = 0; i < info->Count; ++i) {
        const Change& change = changes[i];
        PRINTER_NOTIFY_INFO_DATA& item = info->aData[i];
        item.Type = JOB_NOTIFY_TYPE;
        item.Field = change.field;
        item.Id = change.job;
        if (!change.value.isData) {
            item.NotifyData.adwData[0] = change.value.number;
            continue;
        }
        item.NotifyData.Data.cbBuf = static_cast<DWORD>(change.value.data.size());
        if (!change.value.data.empty()) {
            std::memcpy(data, change.value.data.data(), change.value.data.size());
            item.NotifyData.Data.pBuf = data;
            data += Aligned(change.value.data.size());
        }
    }
    std::lock_guard guard(Issued().lock);
    Issued().blocks.insert(info);
    return info;
}

} // namespace
} // namespace moltr::spool

using namespace moltr::spool;
using moltr::sim::Fail;
using moltr::sim::FailBool;

extern "C" {

HANDLE WINAPI FindFirstPrinterChangeNotification(HANDLE hPrinter, DWORD fdwFilter, DWORD,
                                                 LPVOID pPrinterNotifyOptions) {
    DWORD error = ERROR_SUCCESS;
    std::optional<HandlePrinter> resolved = ResolveHandle(hPrinter, error);
    if (!resolved) {
        return Fail(error);
    }
    const auto* options = static_cast<const PRINTER_NOTIFY_OPTIONS*>(pPrinterNotifyOptions);
    std::vector<WORD> fields;
    if ((!fdwFilter && !options) ||
        (fdwFilter & ~DWORD{PRINTER_CHANGE_ALL | PRINTER_CHANGE_TIMEOUT}) ||
        (options && !RequestedFields(options, fields))) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    // With the refresh flag here the watch starts with the whole current state waiting.
    const bool refresh = options && (options->Flags & PRINTER_NOTIFY_OPTIONS_REFRESH);
    HANDLE handle = moltr::sim::InsertHandle(std::make_shared<ChangeNotification>(
        resolved->printer, fdwFilter, std::move(fields), options != nullptr, refresh));
    return handle ? handle : Fail(ERROR_NOT_ENOUGH_MEMORY);
}

BOOL WINAPI FindNextPrinterChangeNotification(HANDLE hChange, PDWORD pdwChange,
                                              LPVOID pPrinterNotifyOptions,
                                              LPVOID* ppPrinterNotifyInfo) {
    auto watch = moltr::sim::LookupHandleAs<ChangeNotification>(hChange);
    if (!watch) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    const auto* options = static_cast<const PRINTER_NOTIFY_OPTIONS*>(pPrinterNotifyOptions);
    if (options && options->Version != kOptionsVersion) {
        return FailBool(ERROR_INVALID_PARAMETER);
    }
    const bool refresh = options && (options->Flags & PRINTER_NOTIFY_OPTIONS_REFRESH);
    DWORD changed = 0;
    bool discarded = false;
    std::vector<Change> changes;
    watch->Take(refresh, changed, changes, discarded);
    if (pdwChange) {
        *pdwChange = changed;
    }
    if (ppPrinterNotifyInfo) {
        *ppPrinterNotifyInfo = nullptr;
        if (watch->withInfo()) {
            *ppPrinterNotifyInfo = Pack(changes, discarded);
            if (!*ppPrinterNotifyInfo) {
                return FailBool(ERROR_NOT_ENOUGH_MEMORY);
            }
        }
    }
    return TRUE;
}

BOOL WINAPI FreePrinterNotifyInfo(PPRINTER_NOTIFY_INFO pPrinterNotifyInfo) {
    {
        std::lock_guard guard(Issued().lock);
        if (Issued().blocks.erase(pPrinterNotifyInfo) == 0) {
            return FailBool(ERROR_INVALID_PARAMETER);
        }
    }
    std::free(pPrinterNotifyInfo);
    return TRUE;
}

BOOL WINAPI FindClosePrinterChangeNotification(HANDLE hChange) {
    if (!moltr::sim::LookupHandleAs<ChangeNotification>(hChange)) {
        return FailBool(ERROR_INVALID_HANDLE);
    }
    return moltr::sim::RemoveHandle(hChange) ? TRUE : FailBool(ERROR_INVALID_HANDLE);
}
}
