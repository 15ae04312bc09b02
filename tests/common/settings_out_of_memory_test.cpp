// Running out of memory in the settings object: whichever allocation fails, no exception leaves
// the object; the call answers E_OUTOFMEMORY or E_FAIL, or S_OK when the settings were stored
// (rewriting the data file only mirrors them, and a failed rewrite leaves the file as it was).
#include "failing_allocations.h"
#include "settings_printer.h"

namespace moltr::test {
namespace {

// A printer-settings change as the printer property sheet makes it: the value is written, the
// record saved and the RTI block of the GPD rewritten.
HRESULT ChangeDuplex(const SettingsPrinter& printer, DWORD duplex, long failAt, bool* failed) {
    OPTPARAM option = {sizeof(OPTPARAM), 0, 0, nullptr, 0, static_cast<LPARAM>(duplex), {}};
    OPTTYPE optType = {sizeof(OPTTYPE), TVOT_LISTBOX, 0, 1, 0, &option, 0, {}, {}};
    OPTITEM item = {};
    item.cbSize = sizeof(OPTITEM);
    item.Flags = OPTIF_CHANGED;
    item.UserData = reinterpret_cast<ULONG_PTR>(L"PRINTERSETTINGS._DUPLEXTYPE");
    item.pOptType = &optType;
    HRESULT result = E_UNEXPECTED;
    AllocationWatch watch(failAt);
    common::IDrvSettings* settings = nullptr;
    result = common::CreateDrvSettings(common::kModePrinter, printer.handle(), &settings);
    if (SUCCEEDED(result)) {
        result = settings->SettingsFromItems(&item, 1, nullptr, printer.handle());
        if (SUCCEEDED(result)) {
            result = settings->ItemsFromSettings(&item, 1, nullptr);
        }
        settings->Release();
    }
    *failed = watch.failed();
    return result;
}

DWORD StoredDuplex(const SettingsPrinter& printer) {
    SettingsPtr settings(printer.Create(common::kModeDocument));
    DWORD duplex = 0xFFFF;
    settings->GetValue(nullptr, L"_DUPLEXTYPE", &duplex, 4, common::kLayoutPrinterSettings);
    return duplex;
}

TEST(SettingsOutOfMemory, AnyFailedAllocationIsAnsweredWithoutAnException) {
    sim::TestMachine machine;
    SettingsPrinter printer;
    bool failed = false;
    long allocations = 0;
    {
        AllocationWatch watch;
        ASSERT_EQ(S_OK, ChangeDuplex(printer, 2, -1, &failed));
        allocations = watch.counted();
    }
    ASSERT_GT(allocations, 0);
    for (long at = 0; at < allocations; ++at) {
        // Each try stores another value, so that a stored change can be told from an older one.
        const DWORD duplex = 2 + static_cast<DWORD>(at % 2);
        HRESULT result = E_UNEXPECTED;
        EXPECT_NO_THROW(result = ChangeDuplex(printer, duplex, at, &failed)) << at;
        EXPECT_TRUE(failed) << at;
        if (result == S_OK) {
            EXPECT_EQ(duplex, StoredDuplex(printer)) << at;
        } else {
            EXPECT_TRUE(result == E_OUTOFMEMORY || result == E_FAIL) << at << " " << result;
        }
    }
}

} // namespace
} // namespace moltr::test
