#pragma once
// A printer on a fresh simulated machine for compile-driver tests: description files written into
// the machine, a driver and a printer using them, compiles with their messages collected, and the
// stored structures read back through the settings store.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>
#include "compiler/compile_driver.h"
#include "sim/machine.h"
#include "sim/spooler_admin.h"
#include "sim/utf.h"
#include "store/xpr.h"

namespace moltr::test {

// A folder of the simulated machine where the tests put their files.
inline constexpr char kFolder[] = "C:\\Windows\\Temp\\";

inline std::string HostFile(const std::string& windowsPath) {
    return sim::HostPath(sim::W(sim::Utf16(windowsPath)));
}

// Description text with CR LF line ends, as description files have them.
inline void WriteDescription(const std::string& windowsPath, const std::string& text) {
    std::string crlf;
    for (char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    std::ofstream(HostFile(windowsPath), std::ios::binary) << crlf;
}

// A resource module in the binary .res form (what a resource-only module is on the host) holding
// string tables: language -> (string id -> text).
using StringTables = std::map<LANGID, std::map<UINT, std::u16string>>;

inline void WriteStringModule(const std::string& windowsPath, const StringTables& tables) {
    std::vector<BYTE> res;
    auto put16 = [&](WORD value) { res.insert(res.end(), {BYTE(value), BYTE(value >> 8)}); };
    auto put32 = [&](DWORD value) {
        put16(WORD(value));
        put16(WORD(value >> 16));
    };
    auto entry = [&](WORD type, WORD name, LANGID language, const std::vector<BYTE>& data) {
        put32(static_cast<DWORD>(data.size()));
        put32(32);
        put16(0xFFFF);
        put16(type);
        put16(0xFFFF);
        put16(name);
        put32(0);
        put16(type == 0 ? 0 : 0x1030);
        put16(language);
        put32(0);
        put32(0);
        res.insert(res.end(), data.begin(), data.end());
        while (res.size() % 4) {
            res.push_back(0);
        }
    };
    entry(0, 0, 0, {});
    for (const auto& [language, strings] : tables) {
        std::map<UINT, std::vector<const std::u16string*>> blocks;
        for (const auto& [id, text] : strings) {
            auto& block = blocks[id / 16 + 1];
            block.resize(16, nullptr);
            block[id % 16] = &text;
        }
        for (const auto& [number, block] : blocks) {
            std::vector<BYTE> data;
            for (const std::u16string* text : block) {
                WORD length = text ? static_cast<WORD>(text->size()) : 0;
                data.insert(data.end(), {BYTE(length), BYTE(length >> 8)});
                for (WORD i = 0; i < length; ++i) {
                    data.insert(data.end(), {BYTE((*text)[i]), BYTE((*text)[i] >> 8)});
                }
            }
            entry(6, static_cast<WORD>(number), language, data);
        }
    }
    std::ofstream(HostFile(windowsPath), std::ios::binary)
        .write(reinterpret_cast<const char*>(res.data()), static_cast<std::streamsize>(res.size()));
}

class TestPrinter {
public:
    static constexpr char16_t kName[] = u"Test printer";

    // Installs a driver named `driver` whose data file is `dataFile` (a host path) with the host
    // files `dependents`, and a printer using it.
    TestPrinter(const std::string& dataFile, std::vector<std::string> dependents = {},
                const std::u16string& driver = u"MOLTR ColorLaser 4000 PCL5c") {
        sim::DriverSetup setup;
        setup.name = driver;
        setup.dataFile = dataFile;
        setup.dependentFiles = std::move(dependents);
        EXPECT_TRUE(sim::InstallDriver(setup));
        sim::PrinterSetup printer;
        printer.name = kName;
        printer.driver = driver;
        EXPECT_TRUE(sim::AddPrinter(printer));
        driver_ = driver;
    }

    // CompileRequest for the source at `windowsPath`.
    int Compile(const std::string& windowsPath, bool embedded = false) {
        compiler::CompileRequestData request = {};
        std::u16string name = kName;
        std::u16string source = sim::Utf16(windowsPath);
        lstrcpynW(request.printerName, sim::W(name), compiler::kPathChars);
        lstrcpynW(request.driverName, sim::W(driver_), compiler::kPathChars);
        lstrcpynW(request.sourcePath, sim::W(source), compiler::kPathChars);
        request.embedded = embedded;
        stored.clear();
        messages.clear();
        return compiler::CompileRequest(request, Sink(), &stored);
    }

    int CompileForPrinter() {
        stored.clear();
        messages.clear();
        std::u16string name = kName;
        HANDLE printer = nullptr;
        EXPECT_TRUE(OpenPrinterW(sim::W(name), &printer, nullptr));
        int result = compiler::CompileForPrinter(printer, Sink());
        ClosePrinter(printer);
        return result;
    }

    compiler::MessageSink Sink() {
        return [this](const compiler::CompileMessage& message) { messages.push_back(message); };
    }

    // The ids of the messages of class `messageClass` or more, for failure output.
    std::vector<UINT> MessagesOfClass(int messageClass) const {
        std::vector<UINT> ids;
        for (const compiler::CompileMessage& message : messages) {
            if (message.messageClass >= messageClass) {
                ids.push_back(message.id);
            }
        }
        return ids;
    }

    bool Raised(UINT id) const {
        for (const compiler::CompileMessage& message : messages) {
            if (message.id == id) {
                return true;
            }
        }
        return false;
    }

    std::vector<BYTE> Data(const std::u16string& valueName) const {
        std::u16string name = kName;
        std::u16string value = valueName;
        HANDLE printer = nullptr;
        std::vector<BYTE> data;
        if (!OpenPrinterW(sim::W(name), &printer, nullptr)) {
            return data;
        }
        DWORD type = 0;
        DWORD needed = 0;
        if (GetPrinterDataW(printer, sim::W(value), &type, nullptr, 0, &needed) ==
            ERROR_MORE_DATA) {
            data.resize(needed);
            GetPrinterDataW(printer, sim::W(value), &type, data.data(), needed, &needed);
        }
        ClosePrinter(printer);
        return data;
    }

    void SetData(const std::u16string& valueName, std::vector<BYTE> data) const {
        std::u16string name = kName;
        std::u16string value = valueName;
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE printer = nullptr;
        ASSERT_TRUE(OpenPrinterW(sim::W(name), &printer, &defaults));
        EXPECT_EQ(0u, SetPrinterDataW(printer, sim::W(value), REG_BINARY, data.data(),
                                      static_cast<DWORD>(data.size())));
        ClosePrinter(printer);
    }

    // The text of STRING or CHAR field `field` in record `record` of `structure` (the root or a
    // sub-structure of the root's first record), "<none>" when it cannot be read.
    std::string Text(const std::u16string& root, const std::u16string& structure,
                     const std::u16string& field, int record = 0) const {
        std::u16string name = kName;
        store::StructureRecord* open = nullptr;
        if (store::OpenByName(sim::W(name), sim::W(root), &open) != 0) {
            return "<none>";
        }
        std::string text = "<none>";
        store::StructureHandle handle = nullptr;
        store::StructureHandle parent = nullptr;
        if (structure != root && store::GetStructure(open, sim::W(root), &parent, nullptr) != 0) {
            store::Close(&open);
            return text;
        }
        for (int i = 0; i <= record; ++i) {
            if (store::GetStructure(open, sim::W(structure), &handle, nullptr) != 0) {
                handle = nullptr;
                break;
            }
        }
        void* value = nullptr;
        if (handle && store::GetFieldPointer(handle, sim::W(field), &value) == 0) {
            if (store::GetFieldType(handle, sim::W(field)) == store::kTypeString) {
                const WCHAR* pointer = nullptr;
                std::memcpy(&pointer, value, sizeof pointer);
                text = pointer ? sim::Utf8(pointer) : "<null>";
            } else {
                // Inline text may start at an odd offset: copy it out before reading it.
                std::u16string inline_(store::GetFieldSize(handle, sim::W(field)) / 2, u'\0');
                std::memcpy(inline_.data(), value, inline_.size() * 2);
                text = sim::Utf8(std::u16string_view(inline_.c_str()));
            }
        }
        store::Close(&open);
        return text;
    }

    std::vector<compiler::CompileMessage> messages;
    std::vector<std::u16string> stored;

private:
    std::u16string driver_;
};

} // namespace moltr::test
