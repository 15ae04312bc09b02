#include "compiler/compile_driver.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>
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
// modules first), the exclusions and the injections. Returns the worst class of these steps and
// sets *builtInEnd to the last built-in token.
int ReadDescriptions(Compilation& compilation, ResourceModules& modules, const SourceReader& read,
                     const Token** builtInEnd) {
    compilation.messages.Raise(message::kProcessing);
    AppendBuiltInDescription(compilation.tokens);
    *builtInEnd = compilation.tokens.Last();
    int worst = read(compilation);
    if (worst >= kError) {
        return worst;
    }
    worst = std::max(worst, modules.Load(compilation));
    if (worst >= kError) {
        return worst;
    }
    compilation.macros.Build(compilation.tokens);
    worst = std::max(worst, ApplyExclusions(compilation));
    if (worst >= kError) {
        return worst;
    }
    return std::max(worst, ApplyInjections(compilation));
}

// Whether the source itself defines a root: the built-in definitions alone leave nothing to
// compile.
bool SourceDefinesRoot(const Token* builtInEnd) {
    for (const Token* token = builtInEnd->next(); token != nullptr; token = token->next()) {
        if (token->level == 0 && token->key == u"*XPDSTRUCT") {
            return true;
        }
    }
    return false;
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

// Compiles every root and hands it to `take`. A root whose values fail is not taken and the next
// one is compiled, but the worst class of them all is the compile's: one broken root must keep the
// "Timestamp" from being written, or it would never be compiled again.
int CompileRoots(Compilation& compilation, ResourceModules& modules, std::u16string_view driverName,
                 const Token* builtInEnd, const RootTaker& take) {
    if (!SourceDefinesRoot(builtInEnd)) {
        return compilation.messages.Raise(message::kNothingToCompile);
    }
    std::vector<std::u16string> names = RootNames(compilation);
    compilation.messages.Raise(message::kCompiling);
    Translation translation(compilation, modules);
    int worst = kSuccess;
    for (const std::u16string& name : names) {
        compilation.messages.Raise(message::kCompilingStructure, {name});
        Structure root;
        const int defined = CompileDefinition(compilation, translation, root, name);
        if (defined >= kError) {
            return defined;
        }
        const int valued = CompileValues(compilation, translation, root, 0, nullptr, driverName, {},
                                         root.forceWrite);
        worst = std::max({worst, defined, valued});
        if (valued != kSuccess) {
            continue;
        }
        const int taken = take(name, std::move(root));
        if (taken >= kError) {
            return taken;
        }
        worst = std::max(worst, taken);
    }
    return worst;
}

// The compile itself: what it holds is released before the caller writes its "Timestamp".
int RunStages(const SourceReader& read, std::u16string_view driverName, const RootTaker& take,
              const MessageSink& sink) {
    Compilation compilation(sink);
    ResourceModules modules;
    const Token* builtInEnd = nullptr;
    const int result = ReadDescriptions(compilation, modules, read, &builtInEnd);
    if (result >= kError) {
        return result;
    }
    return std::max(result, CompileRoots(compilation, modules, driverName, builtInEnd, take));
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
    auto read = [&](Compilation& compilation) {
        return Tokenize(compilation, View(request.sourcePath), request.embedded != 0);
    };
    auto save = [&](const std::u16string& name, Structure&& root) {
        if (mode == Mode::kUpdate && KeptOnUpdate(name)) {
            return kSuccess;
        }
        const int saved = Store(std::move(root), request.printerName);
        if (saved < kError && stored) {
            stored->push_back(name);
        }
        return saved;
    };
    const int result = RunStages(read, View(request.driverName), save, sink);
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

int CompileDescriptions(const SourceReader& read, std::u16string_view driverName,
                        const RootTaker& take, const MessageSink& sink) {
    return WithoutExceptions(sink, [&] { return RunStages(read, driverName, take, sink); });
}

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
