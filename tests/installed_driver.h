#pragma once
// Drivers as the operating system sets them up for the tests: the sample description with whole
// lines replaced, a driver installed with a printer of it added and opened, and a plug-in module
// loaded from the driver's folder with its two exports and the objects of its classes.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::test {

// Whole lines of a description, each replaced by another.
using LineReplacements = std::vector<std::pair<std::string, std::string>>;

// The build folder, above the folder of the running test program.
inline std::filesystem::path BuildRoot() {
    return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
}

// The text of `sample` from the samples folder with `lines` replaced; a line it lacks fails the
// test.
inline std::string SampleDescription(const std::string& sample, const LineReplacements& lines) {
    std::ifstream in(std::filesystem::path(MOLTR_SOURCE_DIR) / "samples" / sample,
                     std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    for (const auto& [from, to] : lines) {
        size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) {
            text.replace(at, from.size(), to);
        }
    }
    return text;
}

// Installs `driver`, adds the printer `name` of it and opens it with every right; null when that
// fails, which fails the test.
inline HANDLE InstallPrinter(const sim::DriverSetup& driver, const std::u16string& name) {
    EXPECT_TRUE(sim::InstallDriver(driver));
    sim::PrinterSetup printer;
    printer.name = name;
    printer.driver = driver.name;
    EXPECT_TRUE(sim::AddPrinter(printer));
    std::u16string opened = name;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    EXPECT_TRUE(OpenPrinterW(sim::W(opened), &handle, &defaults));
    return handle;
}

// A plug-in module loaded from the installed driver's folder, as the universal driver loads it.
class DriverModule {
public:
    explicit DriverModule(const std::u16string& file) {
        std::u16string path = u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\" + file;
        module_ = LoadLibraryW(sim::W(path));
        EXPECT_NE(module_, nullptr);
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllCanUnloadNow")));
        EXPECT_NE(getClassObject_, nullptr);
        EXPECT_NE(canUnloadNow_, nullptr);
    }
    ~DriverModule() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    DriverModule(const DriverModule&) = delete;
    DriverModule& operator=(const DriverModule&) = delete;

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
        return getClassObject_ ? getClassObject_(clsid, iid, object) : E_FAIL;
    }
    HRESULT CanUnloadNow() const { return canUnloadNow_ ? canUnloadNow_() : E_FAIL; }

    // A new object of `clsid` through the class factory, at the interface `iid`.
    template <typename Interface> Interface* CreateObject(REFCLSID clsid, REFIID iid) const {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
                  S_OK);
        void* object = nullptr;
        if (factory != nullptr) {
            EXPECT_EQ(factory->CreateInstance(nullptr, iid, &object), S_OK);
            factory->Release();
        }
        return static_cast<Interface*>(object);
    }

private:
    using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT (*)();
    HMODULE module_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    CanUnloadNowFn canUnloadNow_ = nullptr;
};

} // namespace moltr::test
