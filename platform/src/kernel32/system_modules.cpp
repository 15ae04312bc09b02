#include "src/kernel32/system_modules.h"
#include "sim/help_calls.h"

#include <uxtheme.h>
#include <cstring>

namespace moltr::platform {
namespace {

struct Export {
    const char* name; // null: exported by ordinal only
    WORD ordinal;
    FARPROC (*entry)();
};

template <typename Function> FARPROC AsFarProc(Function function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

const Export kHtmlHelpExports[] = {
    {nullptr, 15, [] { return AsFarProc(sim::HtmlHelpEntry()); }},
};

const Export kKernelExports[] = {
    {"CreateActCtxW", 0, [] { return AsFarProc(&CreateActCtxW); }},
    {"AddRefActCtx", 0, [] { return AsFarProc(&AddRefActCtx); }},
    {"ReleaseActCtx", 0, [] { return AsFarProc(&ReleaseActCtx); }},
    {"ActivateActCtx", 0, [] { return AsFarProc(&ActivateActCtx); }},
    {"DeactivateActCtx", 0, [] { return AsFarProc(&DeactivateActCtx); }},
    {"GetCurrentActCtx", 0, [] { return AsFarProc(&GetCurrentActCtx); }},
};

const Export kThemeExports[] = {
    {"EnableThemeDialogTexture", 0, [] { return AsFarProc(&EnableThemeDialogTexture); }},
    {"IsThemeActive", 0, [] { return AsFarProc(&IsThemeActive); }},
    {"IsAppThemed", 0, [] { return AsFarProc(&IsAppThemed); }},
};

struct SystemModule {
    const char16_t* baseName; // lower case
    const Export* exports;
    size_t exportCount;
    IMAGE_DOS_HEADER image; // its address is the module's handle
};

SystemModule systemModules[] = {
    {u"hhctrl.ocx", kHtmlHelpExports, std::size(kHtmlHelpExports), {}},
    {u"kernel32.dll", kKernelExports, std::size(kKernelExports), {}},
    {u"uxtheme.dll", kThemeExports, std::size(kThemeExports), {}},
};

SystemModule* ModuleOf(HMODULE handle) {
    for (SystemModule& module : systemModules) {
        if (handle == reinterpret_cast<HMODULE>(&module.image)) {
            return &module;
        }
    }
    return nullptr;
}

} // namespace

HMODULE SystemModuleNamed(const std::u16string& name) {
    std::u16string base = name.substr(name.find_last_of(u"\\:") + 1);
    for (char16_t& c : base) {
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    }
    for (SystemModule& module : systemModules) {
        if (base == module.baseName) {
            return reinterpret_cast<HMODULE>(&module.image);
        }
    }
    return nullptr;
}

bool IsSystemModule(HMODULE module) {
    return ModuleOf(module) != nullptr;
}

FARPROC SystemModuleExport(HMODULE handle, LPCSTR name, DWORD& error) {
    const SystemModule* module = ModuleOf(handle);
    const bool ordinal = IS_INTRESOURCE(name);
    for (size_t i = 0; module != nullptr && i < module->exportCount; ++i) {
        const Export& entry = module->exports[i];
        if (ordinal ? entry.ordinal == reinterpret_cast<ULONG_PTR>(name)
                    : entry.name != nullptr && std::strcmp(entry.name, name) == 0) {
            return entry.entry();
        }
    }
    error = ERROR_PROC_NOT_FOUND;
    return nullptr;
}

} // namespace moltr::platform
