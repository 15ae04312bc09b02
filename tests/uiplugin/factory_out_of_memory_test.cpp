// The UI plug-in's class factory when memory runs out: every allocation it makes may fail, and
// each failure answers E_OUTOFMEMORY with no object left counted, so the module can be unloaded.
#include <gtest/gtest.h>
#include "failing_allocations.h"
#include "prcomoem.h"
#include "uiplugin/co_ui_plugin_factory.h"
#include "uiplugin/module_counts.h"

namespace moltr::test {
namespace {

// Creates the ticket provider through the factory, failing allocation `failAt`.
HRESULT CreateProvider(long failAt, bool& failed) {
    auto* factory = new ui::CoUIPluginFactory;
    factory->AddRef();
    void* provider = nullptr;
    HRESULT result = E_FAIL;
    {
        AllocationWatch watch(failAt);
        result = factory->CreateInstance(nullptr, IID_IPrintOemPrintTicketProvider, &provider);
        failed = watch.failed();
    }
    if (provider != nullptr) {
        static_cast<IUnknown*>(provider)->Release();
    }
    factory->Release();
    return result;
}

TEST(FactoryOutOfMemory, AFailedAllocationLeavesNoObjectCounted) {
    bool failed = true;
    for (long failAt = 0; failed; ++failAt) {
        HRESULT result = CreateProvider(failAt, failed);
        if (failed) {
            // The plug-in made first, or the provider after it: either way nothing stays.
            EXPECT_EQ(result, E_OUTOFMEMORY) << failAt;
        } else {
            EXPECT_EQ(result, S_OK);
        }
        EXPECT_FALSE(ui::ModuleInUse()) << failAt;
    }
}

} // namespace
} // namespace moltr::test
