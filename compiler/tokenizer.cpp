#include "compiler/tokenizer.h"

#include <windows.h>
#include <algorithm>
#include <memory>
#include "compiler/source_path.h"

namespace moltr::compiler {

namespace {

bool FileExists(const std::u16string& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(reinterpret_cast<LPCWSTR>(path.c_str()), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

// Reads the whole file; the class of the message raised when it cannot be opened or read.
int ReadWholeFile(Messages& messages, const std::u16string& path, std::string& content) {
    HANDLE file =
        CreateFileW(reinterpret_cast<LPCWSTR>(path.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return messages.Raise(message::kCannotOpenFile, {path});
    }
    // Closed whatever ends the read, a failed allocation of the content included.
    const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    DWORD read = 0;
    bool ok = size != INVALID_FILE_SIZE && high == 0;
    if (ok) {
        content.resize(size);
        ok = size == 0 || (ReadFile(file, content.data(), size, &read, nullptr) && read == size);
    }
    return ok ? kSuccess : messages.Raise(message::kCannotReadFile, {path});
}

// Resolves, checks and reads one file of the compile and appends its tokens.
int ReadSource(Compilation& compilation, std::u16string_view written, bool embedded,
               bool included) {
    Messages& messages = compilation.messages;
    std::u16string path;
    if (!ResolveSourcePath(written, path)) {
        return messages.Raise(message::kFileDoesNotExist, {written});
    }
    if (std::find(compilation.includes.begin(), compilation.includes.end(), path) !=
        compilation.includes.end()) {
        return messages.Raise(message::kMultipleIncludes, {path});
    }
    const std::u16string_view extension = FileExtension(path);
    if (!FileExists(path)) {
        // A missing description of its own is no error; any other missing file is.
        return extension == u".xpd" ? kWarning : messages.Raise(message::kFileDoesNotExist, {path});
    }
    compilation.includes.push_back(path);

    messages.Raise(message::kReadingFile, {path});
    std::string content;
    const int readResult = ReadWholeFile(messages, path, content);
    if (readResult != kSuccess) {
        return readResult;
    }
    if (content.empty()) {
        const int empty = messages.Raise(message::kNoContent, {path});
        return compilation.tokens.Count() == 0 ? messages.Raise(message::kNoSourceInformation)
                                               : empty;
    }
    if (embedded) {
        content = std::string(LocateXpdText(content));
    }
    const bool gpdInclude = included && !embedded && extension == u".gpd";
    return TokenizeText(compilation, content, path, gpdInclude);
}

} // namespace

int Tokenize(Compilation& compilation, std::u16string_view path, bool embedded) {
    int result = ReadSource(compilation, path, embedded, false);
    if (result >= kError) {
        return result;
    }
    // Included files append their own *INCLUDE tokens, which this one growing iteration reaches.
    TokenIteration includes(compilation.tokens, nullptr, u"*INCLUDE", kAnyLevel, std::nullopt,
                            LookupMode::kGrow);
    while (Token* include = includes.Next()) {
        const std::u16string written = include->value;
        const int included = ReadSource(compilation, written, false, true);
        if (included >= kError) {
            return included;
        }
        result = std::max(result, included);
    }
    return std::max(result, includes.Result());
}

} // namespace moltr::compiler
