#include "renderplugin/job_records.h"

#include <winspool.h>

#include <iterator>
#include "common/model_family.h"

namespace moltr::render {

namespace {

// A printer opened by name for the job's records, closed at the end of the scope.
class NamedPrinter {
public:
    explicit NamedPrinter(LPWSTR name) {
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE | READ_CONTROL};
        if (name == nullptr || !OpenPrinterW(name, &handle_, &defaults)) {
            handle_ = nullptr;
        }
    }
    ~NamedPrinter() {
        if (handle_ != nullptr) {
            ClosePrinter(handle_);
        }
    }
    NamedPrinter(const NamedPrinter&) = delete;
    NamedPrinter& operator=(const NamedPrinter&) = delete;
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// The sizing protocol of the spooler's Get calls: asks for the size, then fills a buffer of it.
template <typename Get> std::unique_ptr<BYTE[]> ReadRecord(Get get) {
    DWORD needed = 0;
    get(nullptr, 0, &needed);
    if (needed == 0) {
        return nullptr;
    }
    auto record = std::make_unique<BYTE[]>(needed);
    return get(record.get(), needed, &needed) ? std::move(record) : nullptr;
}

std::unique_ptr<BYTE[]> ReadJobInfo(HANDLE printer, DWORD jobId) {
    return ReadRecord([&](BYTE* buffer, DWORD size, DWORD* needed) {
        return GetJobW(printer, jobId, 2, buffer, size, needed);
    });
}

bool SameText(LPCWSTR a, LPCWSTR b) {
    for (; *a != L'\0' && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

} // namespace

bool LookUpModelCode(const RenderState& state, DWORD* modelCode) {
    NamedPrinter printer(state.printerName);
    if (printer.handle() == nullptr) {
        return false;
    }
    std::unique_ptr<BYTE[]> info = ReadRecord([&](BYTE* buffer, DWORD size, DWORD* needed) {
        return GetPrinterW(printer.handle(), 2, buffer, size, needed);
    });
    if (info == nullptr) {
        return false;
    }
    LPCWSTR driver = reinterpret_cast<const PRINTER_INFO_2W*>(info.get())->pDriverName;
    *modelCode = 0;
    for (const common::ModelFamilyEntry& model : common::kModelFamily) {
        if (driver != nullptr && SameText(driver, model.driverName)) {
            *modelCode = model.modelClass;
        }
    }
    return true;
}

bool JobRecords::Read(const RenderState& state) {
    NamedPrinter printer(state.printerName);
    if (printer.handle() == nullptr) {
        return false;
    }
    job_ = ReadJobInfo(printer.handle(), state.jobId);
    driver_ = ReadRecord([&](BYTE* buffer, DWORD size, DWORD* needed) {
        return GetPrinterDriverW(printer.handle(), nullptr, 4, buffer, size, needed);
    });
    return job_ != nullptr && driver_ != nullptr;
}

bool JobRecords::ReadJob(const RenderState& state) {
    NamedPrinter printer(state.printerName);
    job_ = printer.handle() != nullptr ? ReadJobInfo(printer.handle(), state.jobId) : nullptr;
    return job_ != nullptr;
}

LPCWSTR JobRecords::driverName() const {
    LPCWSTR name = driver_ != nullptr
                       ? reinterpret_cast<const DRIVER_INFO_4W*>(driver_.get())->pName
                       : nullptr;
    return name != nullptr ? name : L"";
}

SystemVersion ReadSystemVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    SystemVersion version;
    if (GetVersionExW(&info)) {
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
        lstrcpynW(version.servicePack, info.szCSDVersion,
                  static_cast<int>(std::size(version.servicePack)));
    }
    return version;
}

} // namespace moltr::render
