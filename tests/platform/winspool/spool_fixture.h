#pragma once
// A machine with one installed driver and one printer, for the spooler's tests.
#include <windows.h>
#include <winspool.h>

#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace moltr::test {

// Text as the non-const LPWSTR that the spooler's calls take.
class WideArg {
public:
    explicit WideArg(const char* utf8) : text_(sim::Utf16(utf8)) {}
    operator LPWSTR() { return sim::W(text_); }

private:
    std::u16string text_;
};

class SpoolTest : public ::testing::Test {
protected:
    static constexpr const char* kPrinter = "Test Laser";
    static constexpr const char* kDriver = "Test Laser PCL6";
    static constexpr const char* kGpdText =
        "*GPDFileVersion: 1.0\r\n*ModelName: \"Test Laser\"\r\n";

    void SetUp() override {
        ASSERT_FALSE(machine_.root().empty());
        source_ = machine_.root() + "/source";
        std::filesystem::create_directories(source_);
        sim::DriverSetup driver;
        driver.name = sim::Utf16(kDriver);
        driver.dataFile = WriteSource("TESTLSR.GPD", kGpdText);
        driver.helpFile = WriteSource("TESTLSR.CHM", "help");
        driver.dependentFiles = {WriteSource("MOLTRUIP.DLL", "ui"),
                                 WriteSource("MOLTRRPC.DLL", "rp"),
                                 WriteSource("MOLTRMDN.EXE", "mdn"), "UNIRES.DLL"};
        ASSERT_TRUE(sim::InstallDriver(driver));
        sim::PrinterSetup printer;
        printer.name = sim::Utf16(kPrinter);
        printer.driver = driver.name;
        printer.comment = u"Second floor";
        printer.location = u"Room 2.14";
        ASSERT_TRUE(sim::AddPrinter(printer));
    }

    std::string WriteSource(const std::string& name, const std::string& content) {
        std::string path = source_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // A handle to the test printer, opened with `access` (0: no defaults at all).
    HANDLE Open(ACCESS_MASK access, const char* name = kPrinter) {
        WideArg printer(name);
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
        HANDLE handle = nullptr;
        EXPECT_TRUE(OpenPrinterW(printer, &handle, access ? &defaults : nullptr)) << name;
        return handle;
    }

    // Starts a job on `printer` with the document name and datatype (null: none given).
    DWORD Start(HANDLE printer, const char* document, const char16_t* datatype = nullptr) {
        WideArg name(document);
        std::u16string type = datatype ? datatype : u"";
        DOC_INFO_1W info = {name, nullptr, datatype ? sim::W(type) : nullptr};
        return StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&info));
    }

    sim::TestMachine machine_;
    std::string source_;
};

// Text as the const LPCWSTR of the Ex calls.
inline const WCHAR* W(const char16_t* text) {
    return reinterpret_cast<const WCHAR*>(text);
}

// A file of the spooler's state on disk, read and replaced as a whole.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Whether [p, p + size) lies inside [buffer, buffer + length).
inline bool Inside(const void* p, size_t size, const void* buffer, size_t length) {
    auto at = reinterpret_cast<uintptr_t>(p);
    auto start = reinterpret_cast<uintptr_t>(buffer);
    return at >= start && at + size <= start + length;
}

inline size_t WideBytes(const WCHAR* text) {
    return (sim::View(text).size() + 1) * sizeof(WCHAR);
}

} // namespace moltr::test
