#include "uiplugin/page_activation_context.h"

#include "uiplugin/system_module.h"

namespace moltr::ui {

namespace {

constexpr WORD kManifestResource = 2; // the manifest a DLL carries for its own windows

using CreateActCtxProc = HANDLE(WINAPI*)(const ACTCTXW*);
using ReleaseActCtxProc = void(WINAPI*)(HANDLE);

// Bound at run time: the calls are KERNEL32's but are not there on every system the family runs.
template <typename Proc> Proc KernelEntry(HMODULE kernel, const char* name) {
    return kernel != nullptr
               ? reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)))
               : nullptr;
}

HANDLE CreateFrom(CreateActCtxProc create, LPCWSTR module) {
    if (module == nullptr || module[0] == 0) {
        return INVALID_HANDLE_VALUE;
    }
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = module;
    request.lpResourceName = MAKEINTRESOURCEW(kManifestResource);
    return create(&request);
}

} // namespace

HANDLE PageActivationContext::Get(LPCWSTR module, LPCWSTR fallback) {
    if (!tried_) {
        tried_ = true;
        HMODULE kernel = LoadSystemModule(L"KERNEL32.DLL");
        if (auto create = KernelEntry<CreateActCtxProc>(kernel, "CreateActCtxW")) {
            context_ = CreateFrom(create, module);
            if (context_ == INVALID_HANDLE_VALUE) {
                context_ = CreateFrom(create, fallback);
            }
        }
        if (kernel != nullptr) {
            FreeLibrary(kernel);
        }
    }
    return context_ != INVALID_HANDLE_VALUE ? context_ : nullptr;
}

void PageActivationContext::Release() {
    if (context_ == INVALID_HANDLE_VALUE) {
        return;
    }
    HMODULE kernel = LoadSystemModule(L"KERNEL32.DLL");
    if (auto release = KernelEntry<ReleaseActCtxProc>(kernel, "ReleaseActCtx")) {
        release(context_);
    }
    if (kernel != nullptr) {
        FreeLibrary(kernel);
    }
    context_ = INVALID_HANDLE_VALUE;
}

} // namespace moltr::ui
