#include "compiler/resource_modules.h"

#include <cstring>
#include "compiler/source_path.h"
#include "compiler/token_list.h"
#include "compiler/upper_text.h"

namespace moltr::compiler {

namespace {

constexpr UINT kStringsPerBlock = 16;

LPCWSTR Wide(const std::u16string& text) {
    return reinterpret_cast<LPCWSTR>(text.c_str());
}

void AddVersionLanguages(std::u16string_view path, std::vector<LANGID>& languages) {
    std::u16string file(path);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(Wide(file), &handle);
    if (size == 0) {
        return;
    }
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(Wide(file), 0, size, block.data())) {
        return;
    }
    void* translations = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &bytes) ||
        !translations) {
        return;
    }
    // Each entry is a language and a code page, 16 bits each.
    const BYTE* entry = static_cast<const BYTE*>(translations);
    for (UINT i = 0; i + 4 <= bytes; i += 4) {
        LANGID language;
        std::memcpy(&language, entry + i, sizeof language);
        languages.push_back(language);
    }
}

} // namespace

std::vector<LANGID> ModuleLanguages(std::u16string_view path) {
    std::vector<LANGID> languages;
    std::u16string upper = UpperText(path);
    size_t cut = upper.find(u"URS.DLL");
    if (cut != std::u16string::npos) {
        std::u16string settings = upper.substr(0, cut) + u".INI";
        UINT language = GetPrivateProfileIntW(L"UIPSETTINGS", L"UIPLANG", 0, Wide(settings));
        if (language != 0) {
            languages.push_back(static_cast<LANGID>(language));
        }
    }
    languages.push_back(GetUserDefaultUILanguage());
    languages.push_back(GetSystemDefaultUILanguage());
    AddVersionLanguages(path, languages);
    languages.push_back(0);
    return languages;
}

ResourceModules::~ResourceModules() {
    for (Module& module : modules_) {
        FreeLibrary(module.handle);
    }
}

int ResourceModules::Declare(Compilation& compilation, std::u16string_view file,
                             std::u16string alias) {
    Module module;
    module.alias = std::move(alias);
    if (!ResolveSourcePath(file, module.path)) {
        return compilation.messages.Raise(message::kCannotOpenResourceFile, {file});
    }
    // Listed before it is loaded, so that the list frees it whatever fails afterwards.
    modules_.push_back(std::move(module));
    Module& listed = modules_.back();
    listed.handle = LoadLibraryExW(Wide(listed.path), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!listed.handle) {
        const int result =
            compilation.messages.Raise(message::kCannotOpenResourceFile, {listed.path});
        modules_.pop_back();
        return result;
    }
    listed.languages = ModuleLanguages(listed.path);
    return kSuccess;
}

int ResourceModules::Load(Compilation& compilation) {
    TokenList& tokens = compilation.tokens;
    int number = 0;
    for (TokenIteration modules(tokens, nullptr, u"*RESOURCEDLL", 0); modules.Next();) {
        Token* module = modules.Current();
        ++number;
        Token* alias = tokens.Find(module, u"*ALIAS", 1);
        std::u16string name = alias ? alias->value : u"RESDLL" + NumberText(number);
        if (name.find(u'.') == std::u16string::npos) {
            name += u'.';
        }
        int result = Declare(compilation, module->value, std::move(name));
        if (result >= kError) {
            return result;
        }
    }
    for (TokenIteration features(tokens, nullptr, u"*FEATURE", 0, u"RESDLL"); features.Next();) {
        for (TokenIteration options(tokens, features.Current(), u"*OPTION", 1); options.Next();) {
            Token* file = tokens.Find(options.Current(), u"*NAME", 2);
            if (!file) {
                continue;
            }
            int result =
                Declare(compilation, file->value, u"RESDLL." + options.Current()->value + u".");
            if (result >= kError) {
                return result;
            }
        }
    }
    return kSuccess;
}

bool ResourceModules::HasAlias(std::u16string_view alias) const {
    for (const Module& module : modules_) {
        if (module.alias == alias) {
            return true;
        }
    }
    return false;
}

ResourceModules::Lookup ResourceModules::Find(const Module& module, UINT id, std::u16string& text) {
    LPCWSTR block = MAKEINTRESOURCEW(id / kStringsPerBlock + 1);
    for (LANGID language : module.languages) {
        HRSRC found = FindResourceExW(module.handle, RT_STRING, block, language);
        if (!found) {
            continue;
        }
        HGLOBAL loaded = LoadResource(module.handle, found);
        const BYTE* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
        DWORD size = SizeofResource(module.handle, found);
        if (!data) {
            return Lookup::kFailed;
        }
        // The block holds 16 counted strings; skip to the wanted one, never past the block.
        DWORD at = 0;
        for (UINT index = 0;; ++index) {
            WORD length;
            if (at + sizeof length > size) {
                return Lookup::kFailed;
            }
            std::memcpy(&length, data + at, sizeof length);
            at += sizeof length;
            if (at + length * sizeof(char16_t) > size) {
                return Lookup::kFailed;
            }
            if (index == id % kStringsPerBlock) {
                if (length == 0) {
                    return Lookup::kMissing;
                }
                text.resize(length);
                std::memcpy(text.data(), data + at, length * sizeof(char16_t));
                return Lookup::kFound;
            }
            at += length * sizeof(char16_t);
        }
    }
    return Lookup::kMissing;
}

bool ResourceModules::LoadString(Messages& messages, std::u16string_view alias, UINT id,
                                 std::u16string& text) {
    // Without modules, or for an id outside the string table's range, the value stays as it is.
    if (modules_.empty() || id == 0 || id > 0xFFFF) {
        return false;
    }
    for (const Module& module : modules_) {
        if (!alias.empty() && module.alias != alias) {
            continue;
        }
        Lookup lookup = Find(module, id, text);
        if (lookup == Lookup::kFound) {
            return true;
        }
        if (lookup == Lookup::kFailed) {
            messages.Raise(message::kStopDueToPreviousError);
            return false;
        }
        if (!alias.empty()) {
            messages.Raise(message::kNoStringInResourceFile, {NumberText(id), module.path});
            return false;
        }
    }
    if (alias.empty()) {
        messages.Raise(message::kNoStringInAnyResourceFile, {NumberText(id)});
    }
    return false;
}

} // namespace moltr::compiler
