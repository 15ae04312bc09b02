#pragma once
// What the resources object reads once about the installed driver around a printer: the driver's
// and the printer's descriptions, the model name and PDL word, the dependent files that play the
// family's roles, the print processor module and the versions of the sibling modules.
#include <windows.h>
#include <winspool.h>

#include "common/resources.h"
#include "common/resources_heap.h"

namespace moltr::common {

class DriverEnvironment {
public:
    explicit DriverEnvironment(const ResourcesHeap& heap) : heap_(heap) {}
    ~DriverEnvironment();
    DriverEnvironment(const DriverEnvironment&) = delete;
    DriverEnvironment& operator=(const DriverEnvironment&) = delete;

    // E_INVALIDARG for INVALID_HANDLE_VALUE, E_FAIL when either description can't be read or the
    // driver lists no resource module, E_OUTOFMEMORY.
    HRESULT Read(HANDLE printer);
    void FillModuleVersions();

    LPCWSTR modelName() const { return driver_ ? driver_->pName : nullptr; }
    LPCWSTR pdlSuffix() const { return pdlSuffix_; }
    LPCWSTR helpFile() const { return driver_ ? driver_->pHelpFile : nullptr; }
    LPCWSTR resourceModule() const { return resourceModule_; }
    LPCWSTR settingsFile() const { return settingsFile_; }
    LPCWSTR notifier() const { return notifier_; }
    LPCWSTR uiPlugin() const { return uiPlugin_; }
    // Null when the printer uses the system's print processor or its module is unknown.
    LPCWSTR printProcessor() const {
        return printProcessor_ && *printProcessor_ ? printProcessor_ : nullptr;
    }
    const ModuleVersions& moduleVersions() const { return versions_; }

    // The first dependent file whose upper-cased name contains `part` and not `exclusion`
    // (optional); entries are upper-cased in place as they are visited.
    LPWSTR FindDependentFile(LPCWSTR part, LPCWSTR exclusion = nullptr);

private:
    void* ReadDriverInfo(HANDLE printer, HRESULT* result);
    void SplitPdlWord();
    HRESULT ReadPrintProcessor(HANDLE printer);
    void FillVersion(ModuleVersionEntry* entry, LPWSTR path);

    const ResourcesHeap& heap_;
    DRIVER_INFO_3W* driver_ = nullptr;
    PRINTER_INFO_2W* printer_ = nullptr;
    LPWSTR pdlSuffix_ = nullptr;
    LPWSTR resourceModule_ = nullptr;
    LPWSTR settingsFile_ = nullptr;
    LPWSTR notifier_ = nullptr;
    LPWSTR uiPlugin_ = nullptr;
    LPWSTR printProcessor_ = nullptr;
    ModuleVersions versions_ = {};
};

// Whether `text` contains `part`, both compared as they stand.
bool ContainsText(LPCWSTR text, LPCWSTR part);

} // namespace moltr::common
