#pragma once
// A compiled printer on a fresh simulated machine for the driver settings object: a data file (GPD
// or PPD) with the settings descriptions, a driver and a printer using it, compiled, and a handle
// opened for administration.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include "common/drv_settings.h"
#include "compiler/compile_driver.h"
#include "installed_driver.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"

namespace moltr::test {

// Text with CR LF line ends, as description files have them.
inline std::string Crlf(const std::string& text) {
    std::string crlf;
    for (char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return crlf;
}

inline std::string ReadHostFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The settings of the tests' printer: the built-in fields, those the devmode repair reads, and a
// text field. `extra` is added to PRINTERSETTINGS' defaults.
inline std::string Descriptions(const std::string& printerDefaults = "") {
    return "*XPDSTRUCT: OEMDEVMODE\n"
           "{\n"
           "    *FIELD: _BKL_MODE { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _MEDIAOUTPUT { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _JR_ENABLED { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _JR_JOBNAME\n"
           "    {\n"
           "        *FIELDTYPE: CHAR\n"
           "        *ARRAYSIZE: 16\n"
           "        *WARNWHENEMPTY: OFF\n"
           "    }\n"
           "}\n"
           "*OEMDEVMODE: DEFAULT\n"
           "{\n"
           "    *_VERSION: 1\n"
           "    *_PDLTYPE: =PDLTYPE_PCL5_COLOR\n"
           "    *_SCALEDOCON_SIZE: =DM_MEDIASIZE_A4\n"
           "    *_SCALE_FACTOR: 100\n"
           "    *_WMK_TEXT: \"Draft\"\n"
           "    *_WMK_COLOR: RGB(1,2,3)\n"
           "    *_BKL_MODE: 0\n"
           "    *_MEDIAOUTPUT: 1\n"
           "    *_JR_ENABLED: 1\n"
           "}\n"
           "*XPDSTRUCT: PRINTERSETTINGS\n"
           "{\n"
           "    *FIELD: _LRGSIZESCL { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _LRGSIZES { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _OPTSOURCE { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _OPTOUTPUT { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _ENVFEEDER { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _RAMDISK { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _CFLASH { *FIELDTYPE: BYTE }\n"
           "    *FIELD: _FORMLIST\n"
           "    {\n"
           "        *FIELDTYPE: WORD\n"
           "        *ARRAYSIZE: 3\n"
           "    }\n"
           "    *FIELD: _ALLOWED\n"
           "    {\n"
           "        *FIELDTYPE: CHAR\n"
           "        *ARRAYSIZE: 16\n"
           "        *WARNWHENEMPTY: OFF\n"
           "    }\n"
           "}\n"
           "*PRINTERSETTINGS: DEFAULT\n"
           "{\n"
           "    *_VERSION: 1\n"
           "    *_PDLTYPE: 42\n"
           "    *_DUPLEXTYPE: 1\n"
           "    *_LRGSIZESCL: 1\n"
           "    *_LRGSIZES: 1\n"
           "    *_RAMDISK: 1\n"
           "    *_FORMLIST: 9\n" +
           printerDefaults + "}\n";
}

// A GPD around `descriptions` with an RTI block and a part that selects on its symbols.
inline std::string Gpd(const std::string& descriptions = Descriptions()) {
    return "*GPDFileVersion: \"1.0\"\n"
           "*ModelName: \"MOLTR ColorLaser 4000 PCL5c\"\n"
           "*% RTI BEGIN - DO NOT REMOVE THIS TAG\n"
           "*Define: _OLD_00\n"
           "*% RTI END - DO NOT REMOVE THIS TAG\n"
           "*Ifdef: _DUPLEXTYPE_01000000\n"
           "*Feature: Duplex\n"
           "*Endif: _DUPLEXTYPE_01000000\n"
           "*% XPD BEGIN - DO NOT REMOVE THIS TAG\n" +
           descriptions + "*% XPD END - DO NOT REMOVE THIS TAG\n";
}

class SettingsPrinter {
public:
    static constexpr char16_t kName[] = u"Settings printer";

    // Installs a driver whose data file `dataFileName` holds `text` (written with CR LF), with the
    // XPD dependent file `xpdText` when not empty, adds the printer and compiles it.
    explicit SettingsPrinter(const std::string& text = Gpd(),
                             const std::string& dataFileName = "MOLTRTST.GPD",
                             const std::string& xpdText = "") {
        sim::DriverSetup driver;
        driver.name = u"MOLTR ColorLaser 4000 PCL5c";
        driver.dataFile = WriteFile(dataFileName, text);
        if (!xpdText.empty()) {
            driver.dependentFiles.push_back(WriteFile("MOLTRTST.XPD", xpdText));
        }
        handle_ = InstallPrinter(driver, kName);
        EXPECT_GT(compiler::kError,
                  compiler::CompileForPrinter(handle_, [](const compiler::CompileMessage& m) {
                      if (m.messageClass >= 2) {
                          ADD_FAILURE() << "message " << m.id << " line " << m.line << " "
                                        << (m.arguments.empty() ? "" : sim::Utf8(m.arguments[0]));
                      }
                  }));
    }
    ~SettingsPrinter() { ClosePrinter(handle_); }
    SettingsPrinter(const SettingsPrinter&) = delete;
    SettingsPrinter& operator=(const SettingsPrinter&) = delete;

    HANDLE handle() const { return handle_; }

    // The installed data file's host path.
    std::string DataFile() const {
        DWORD needed = 0;
        GetPrinterDriverW(handle_, nullptr, 3, nullptr, 0, &needed);
        std::vector<BYTE> info(needed);
        if (!GetPrinterDriverW(handle_, nullptr, 3, info.data(), needed, &needed)) {
            return {};
        }
        return sim::HostPath(reinterpret_cast<DRIVER_INFO_3W*>(info.data())->pDataFile);
    }

    // A new settings object; null (with a test failure) when creation fails.
    common::IDrvSettings* Create(DWORD mode) const {
        common::IDrvSettings* settings = nullptr;
        EXPECT_EQ(S_OK, common::CreateDrvSettings(mode, handle_, &settings));
        return settings;
    }

private:
    static std::string WriteFile(const std::string& name, const std::string& text) {
        std::u16string path = u"C:\\Windows\\Temp\\" + sim::Utf16(name);
        std::string host = sim::HostPath(sim::W(path));
        std::ofstream(host, std::ios::binary) << Crlf(text);
        return host;
    }

    HANDLE handle_ = nullptr;
};

// Releases a settings object at the end of a scope.
struct SettingsRelease {
    void operator()(common::IDrvSettings* settings) const {
        if (settings != nullptr) {
            settings->Release();
        }
    }
};
using SettingsPtr = std::unique_ptr<common::IDrvSettings, SettingsRelease>;

} // namespace moltr::test
