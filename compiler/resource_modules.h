#pragma once
// The resource modules of a compile: the modules that *RESOURCEDLL tokens and *FEATURE: RESDLL
// options name, loaded as data files, from which values take localized strings by id.
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>
#include "compiler/compilation.h"

namespace moltr::compiler {

class ResourceModules {
public:
    ResourceModules() = default;
    ~ResourceModules();
    ResourceModules(const ResourceModules&) = delete;
    ResourceModules& operator=(const ResourceModules&) = delete;

    // Declares and loads every module the level-0 tokens name. Returns the result class: 61805
    // when a module cannot be loaded, which ends the compile.
    int Load(Compilation& compilation);

    // Whether a module has the alias `alias` (which ends in ".").
    bool HasAlias(std::u16string_view alias) const;

    // String `id` from the module with alias `alias`, or without an alias from the first module
    // that has it, in declaration order. False when there is none (61501 or 61502 raised) or the
    // lookup failed (61806).
    bool LoadString(Messages& messages, std::u16string_view alias, UINT id, std::u16string& text);

private:
    struct Module {
        HMODULE handle = nullptr;
        std::u16string path;
        std::u16string alias;
        std::vector<LANGID> languages;
    };
    enum class Lookup { kFound, kMissing, kFailed };

    int Declare(Compilation& compilation, std::u16string_view file, std::u16string alias);
    static Lookup Find(const Module& module, UINT id, std::u16string& text);

    std::vector<Module> modules_;
};

// The languages a module's strings are looked up in, in order: the "UIPLANG" of the module's
// settings file (only for modules named ...URS.DLL), the user's and the system's UI language, the
// languages of the module's version information, and language 0.
std::vector<LANGID> ModuleLanguages(std::u16string_view path);

} // namespace moltr::compiler
