#include "compiler/compile_driver.h"

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include "compiler/builtin_description.h"
#include "compiler/compilation.h"
#include "compiler/os_selection.h"
#include "compiler/resource_modules.h"
#include "compiler/structure_compiler.h"
#include "compiler/tokenizer.h"
#include "compiler/translation.h"
#include "compiler/upper_text.h"
#include "compiler/value_compiler.h"
#include "store/xpr.h"

namespace moltr::compiler {

namespace {

// The two file times that "Timestamp" holds.
struct SourceTimes {
    FILETIME creation;
    FILETIME lastWrite;
};
static_assert(sizeof(SourceTimes) == 16);

enum class Mode { kNothing, kFirst, kUpdate };

std::u16string_view View(const WCHAR* text) {
    return reinterpret_cast<const char16_t*>(text);
}

bool ContainsUpper(std::u16string_view text, std::u16string_view upperPart) {
    return UpperText(text).find(upperPart) != std::u16string::npos;
}

HANDLE OpenForAllAccess(const WCHAR* printerName) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults)) {
        return nullptr;
    }
    return printer;
}

bool ReadSourceTimes(const WCHAR* path, SourceTimes& times) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool read = GetFileTime(file, &times.creation, nullptr, &times.lastWrite) != FALSE;
    CloseHandle(file);
    return read;
}

Mode ChooseMode(const WCHAR* printerName, const SourceTimes& times) {
    HANDLE printer = OpenForAllAccess(printerName);
    if (!printer) {
        return Mode::kNothing;
    }
    SourceTimes stored;
    DWORD type = 0;
    DWORD needed = 0;
    DWORD status = GetPrinterDataW(printer, const_cast<LPWSTR>(kTimestampValue), &type,
                                   reinterpret_cast<LPBYTE>(&stored), sizeof stored, &needed);
    ClosePrinter(printer);
    if (status != ERROR_SUCCESS || needed != sizeof stored) {
        return Mode::kFirst;
    }
    if (CompareFileTime(&times.creation, &stored.creation) > 0 ||
        CompareFileTime(&times.lastWrite, &stored.lastWrite) > 0) {
        return Mode::kUpdate;
    }
    return Mode::kNothing;
}

// Tokenizes the source with the built-in description in front, then runs the macro pass (resource
// modules first), the exclusions and the injections.
int ReadDescriptions(Compilation& compilation, ResourceModules& modules,
                     const CompileRequestData& request) {
    compilation.messages.Raise(message::kProcessing);
    AppendBuiltInDescription(compilation.tokens);
    int result = Tokenize(compilation, View(request.sourcePath), request.embedded != 0);
    if (result >= kError) {
        return result;
    }
    result = modules.Load(compilation);
    if (result >= kError) {
        return result;
    }
    compilation.macros.Build(compilation.tokens);
    ApplyExclusions(compilation);
    ApplyInjections(compilation);
    return kSuccess;
}

// The names of the level-0 *XPDSTRUCT tokens, each once, in first-seen order.
std::vector<std::u16string> RootNames(Compilation& compilation) {
    std::vector<std::u16string> names;
    for (TokenIteration roots(compilation.tokens, nullptr, u"*XPDSTRUCT", 0); roots.Next();) {
        const std::u16string& name = roots.Current()->value;
        bool known = false;
        for (const std::u16string& seen : names) {
            known = known || seen == name;
        }
        if (!known) {
            names.push_back(name);
        }
    }
    return names;
}

// Roots that the UI plug-in writes keep their content when an update compiles the source again.
bool KeptOnUpdate(std::u16string_view name) {
    return name == u"OEMDEVMODE" || name.find(u"SETTINGS") != std::u16string_view::npos;
}

int Store(Structure&& root, const WCHAR* printerName) {
    store::CompiledStructure input = ToImageInput(std::move(root));
    store::StructureRecord* record = nullptr;
    int result = store::BuildRecord(input, &record);
    if (result >= kError) {
        return result;
    }
    return store::SaveByName(&record, printerName, TRUE);
}

int CompileRoots(Compilation& compilation, ResourceModules& modules,
                 const CompileRequestData& request, Mode mode,
                 std::vector<std::u16string>* stored) {
    std::vector<std::u16string> names = RootNames(compilation);
    if (names.empty()) {
        return compilation.messages.Raise(message::kNothingToCompile);
    }
    compilation.messages.Raise(message::kCompiling);
    Translation translation(compilation, modules);
    int result = kSuccess;
    for (const std::u16string& name : names) {
        compilation.messages.Raise(message::kCompilingStructure, {name});
        Structure root;
        result = CompileDefinition(compilation, root, name);
        if (result >= kError) {
            return result;
        }
        result = CompileValues(compilation, translation, root, 0, nullptr, View(request.driverName),
                               {}, root.forceWrite);
        if (result != kSuccess || (mode == Mode::kUpdate && KeptOnUpdate(name))) {
            continue;
        }
        result = Store(std::move(root), request.printerName);
        if (result >= kError) {
            return result;
        }
        if (stored) {
            stored->push_back(name);
        }
    }
    return result;
}

void WriteTimestamp(const WCHAR* printerName, const SourceTimes& times) {
    HANDLE printer = OpenForAllAccess(printerName);
    if (!printer) {
        return;
    }
    SetPrinterDataW(printer, const_cast<LPWSTR>(kTimestampValue), REG_BINARY,
                    reinterpret_cast<LPBYTE>(const_cast<SourceTimes*>(&times)), sizeof times);
    ClosePrinter(printer);
}

// A spooler query into a buffer of the size it asks for.
template <class Query> bool QuerySpooler(std::vector<BYTE>& buffer, Query query) {
    DWORD needed = 0;
    query(nullptr, 0, &needed);
    if (needed == 0) {
        return false;
    }
    buffer.assign(needed, 0);
    return query(buffer.data(), needed, &needed) != FALSE;
}

// 62202 for an allocation that failed; when not even the message can be made, its class alone.
int RaiseOutOfMemory(const MessageSink& sink) {
    try {
        return Messages(sink).RaiseInternal(message::kOutOfMemory, __FILE__, __LINE__);
    } catch (const std::bad_alloc&) {
        return MessageClass(message::kOutOfMemory);
    }
}

// The compiler's boundary: an allocation that fails anywhere in `compile` ends it with 62202, and
// no exception leaves the compiler. What the compile held is released on the way out.
template <class Compile> int WithoutExceptions(const MessageSink& sink, Compile compile) {
    try {
        return compile();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
        // A size beyond what any allocation can give.
    }
    return RaiseOutOfMemory(sink);
}

int CompileChanged(const CompileRequestData& request, const MessageSink& sink,
                   std::vector<std::u16string>* stored) {
    SourceTimes times;
    if (!ReadSourceTimes(request.sourcePath, times)) {
        return kSuccess;
    }
    Mode mode = ChooseMode(request.printerName, times);
    if (mode == Mode::kNothing) {
        return kSuccess;
    }
    int result;
    {
        Compilation compilation(sink);
        ResourceModules modules;
        result = ReadDescriptions(compilation, modules, request);
        if (result < kError) {
            result = CompileRoots(compilation, modules, request, mode, stored);
        }
    }
    if (result < kError) {
        WriteTimestamp(request.printerName, times);
    }
    return result;
}

int CompileDriversSource(HANDLE printer, const MessageSink& sink) {
    std::vector<BYTE> printerInfo;
    std::vector<BYTE> driverInfo;
    bool read = QuerySpooler(printerInfo,
                             [&](BYTE* buffer, DWORD size, DWORD* needed) {
                                 return GetPrinterW(printer, 1, buffer, size, needed);
                             }) &&
                QuerySpooler(driverInfo, [&](BYTE* buffer, DWORD size, DWORD* needed) {
                    return GetPrinterDriverW(printer, nullptr, 4, buffer, size, needed);
                });
    if (!read) {
        return kError;
    }
    const auto* printerData = reinterpret_cast<const PRINTER_INFO_1W*>(printerInfo.data());
    const auto* driver = reinterpret_cast<const DRIVER_INFO_4W*>(driverInfo.data());

    CompileRequestData request = {};
    const WCHAR* source = nullptr;
    for (const WCHAR* file = driver->pDependentFiles; file && *file; file += lstrlenW(file) + 1) {
        if (ContainsUpper(View(file), u".XPD")) {
            source = file;
            break;
        }
    }
    if (!source) {
        source = driver->pDataFile;
        request.embedded = source && IsEmbeddedSource(View(source));
    }
    if (!source || !printerData->pName || !driver->pName) {
        return kError;
    }
    lstrcpynW(request.printerName, printerData->pName, kPathChars);
    lstrcpynW(request.driverName, driver->pName, kPathChars);
    lstrcpynW(request.sourcePath, source, kPathChars);
    return CompileChanged(request, sink, nullptr);
}

} // namespace

int CompileRequest(const CompileRequestData& request, const MessageSink& sink,
                   std::vector<std::u16string>* stored) {
    return WithoutExceptions(sink, [&] { return CompileChanged(request, sink, stored); });
}

bool IsEmbeddedSource(std::u16string_view dataFile) {
    return !ContainsUpper(dataFile, u".XPD");
}

int CompileForPrinter(HANDLE printer, const MessageSink& sink) {
    return WithoutExceptions(sink, [&] { return CompileDriversSource(printer, sink); });
}

} // namespace moltr::compiler
