// Activation contexts: CreateActCtxW from a manifest file or a module's RT_MANIFEST resource, their
// reference counts, and each thread's activation stack. The SEH exceptions Windows raises for a
// deactivation out of order are answered here as FALSE with the matching ERROR_SXS_ code.
#include "sim/activation_contexts.h"
#include "sim/machine.h"

#include <windows.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <set>

namespace moltr::platform {
namespace {

constexpr DWORD kKnownFlags = ACTCTX_FLAG_PROCESSOR_ARCHITECTURE_VALID | ACTCTX_FLAG_LANGID_VALID |
                              ACTCTX_FLAG_ASSEMBLY_DIRECTORY_VALID |
                              ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_SET_PROCESS_DEFAULT |
                              ACTCTX_FLAG_APPLICATION_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
constexpr char kAssemblyNamespace[] = "urn:schemas-microsoft-com:asm.v1";

struct ActivationContext {
    LONG references = 1;
    std::vector<std::string> dependencies;
};

struct Contexts {
    std::mutex lock;
    std::set<ActivationContext*> live;
};

Contexts& TheContexts() {
    static Contexts contexts;
    return contexts;
}

struct Frame {
    ActivationContext* context;
    ULONG_PTR cookie;
};

thread_local std::vector<Frame> activationStack;
thread_local ULONG_PTR lastCookie = 0;

bool IsLive(ActivationContext* context) {
    std::lock_guard guard(TheContexts().lock);
    return TheContexts().live.count(context) != 0;
}

void AddReference(ActivationContext* context) {
    if (context != nullptr && IsLive(context)) {
        InterlockedIncrement(&context->references);
    }
}

void DropReference(ActivationContext* context) {
    Contexts& contexts = TheContexts();
    std::lock_guard guard(contexts.lock);
    if (contexts.live.count(context) == 0 || InterlockedDecrement(&context->references) != 0) {
        return;
    }
    contexts.live.erase(context);
    delete context;
}

bool Named(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, BAD_CAST name) == 0 &&
           node->ns != nullptr && xmlStrcmp(node->ns->href, BAD_CAST kAssemblyNamespace) == 0;
}

std::string Attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, BAD_CAST name);
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

// An assembly manifest: the root <assembly manifestVersion="1.0"> of the assembly namespace; its
// <dependency><dependentAssembly><assemblyIdentity name=...> entries are what it asks for.
bool ReadManifest(const std::string& bytes, std::vector<std::string>& dependencies) {
    xmlDoc* document = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const xmlNode* root = document != nullptr ? xmlDocGetRootElement(document) : nullptr;
    const bool valid =
        root != nullptr && Named(root, "assembly") && Attribute(root, "manifestVersion") == "1.0";
    for (const xmlNode* dependency = valid ? root->children : nullptr; dependency != nullptr;
         dependency = dependency->next) {
        for (const xmlNode* assembly = Named(dependency, "dependency") ? dependency->children
                                                                       : nullptr;
             assembly != nullptr; assembly = assembly->next) {
            for (const xmlNode* identity = Named(assembly, "dependentAssembly") ? assembly->children
                                                                                : nullptr;
                 identity != nullptr; identity = identity->next) {
                if (Named(identity, "assemblyIdentity")) {
                    dependencies.push_back(Attribute(identity, "name"));
                }
            }
        }
    }
    xmlFreeDoc(document);
    return valid;
}

// The manifest's bytes from a module's resource; the error is the resource lookup's.
bool ManifestResource(HMODULE module, LPCWSTR name, std::string& bytes, DWORD& error) {
    HRSRC resource = FindResourceW(module, name, RT_MANIFEST);
    const void* data = resource != nullptr ? LockResource(LoadResource(module, resource)) : nullptr;
    if (data == nullptr) {
        error = GetLastError();
        return false;
    }
    const char* begin = static_cast<const char*>(data);
    bytes.assign(begin, begin + SizeofResource(module, resource));
    return true;
}

bool ManifestFile(LPCWSTR path, std::string& bytes, DWORD& error) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_ACCESS_DENIED;
        return false;
    }
    std::ifstream in(sim::HostPath(path), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The manifest `request` names: a resource of its module or of the image at lpSource, or the
// manifest file at lpSource.
bool ManifestBytes(const ACTCTXW& request, std::string& bytes, DWORD& error) {
    const bool named = (request.dwFlags & ACTCTX_FLAG_RESOURCE_NAME_VALID) != 0;
    if ((request.dwFlags & ACTCTX_FLAG_HMODULE_VALID) != 0) {
        if (!named || request.hModule == nullptr) {
            error = ERROR_INVALID_PARAMETER;
            return false;
        }
        return ManifestResource(request.hModule, request.lpResourceName, bytes, error);
    }
    if (request.lpSource == nullptr || request.lpSource[0] == 0) {
        error = ERROR_INVALID_PARAMETER;
        return false;
    }
    if (!named) {
        return ManifestFile(request.lpSource, bytes, error);
    }
    HMODULE image = LoadLibraryExW(request.lpSource, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (image == nullptr) {
        error = GetLastError();
        return false;
    }
    const bool found = ManifestResource(image, request.lpResourceName, bytes, error);
    FreeLibrary(image);
    return found;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

namespace moltr::sim {

size_t LiveActivationContexts() {
    std::lock_guard guard(TheContexts().lock);
    return TheContexts().live.size();
}

std::vector<std::string> ActivationContextDependencies(HANDLE context) {
    auto* known = static_cast<ActivationContext*>(context);
    std::lock_guard guard(TheContexts().lock);
    return TheContexts().live.count(known) != 0 ? known->dependencies : std::vector<std::string>();
}

} // namespace moltr::sim

extern "C" {

HANDLE WINAPI CreateActCtxW(PCACTCTXW pActCtx) {
    if (pActCtx == nullptr || pActCtx->cbSize < sizeof(ACTCTXW) ||
        (pActCtx->dwFlags & ~kKnownFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string bytes;
    DWORD error = ERROR_SUCCESS;
    auto context = std::make_unique<ActivationContext>();
    if (!ManifestBytes(*pActCtx, bytes, error)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if (!ReadManifest(bytes, context->dependencies)) {
        SetLastError(ERROR_SXS_CANT_GEN_ACTCTX);
        return INVALID_HANDLE_VALUE;
    }
    std::lock_guard guard(TheContexts().lock);
    TheContexts().live.insert(context.get());
    return context.release();
}

void WINAPI AddRefActCtx(HANDLE hActCtx) {
    AddReference(static_cast<ActivationContext*>(hActCtx));
}

void WINAPI ReleaseActCtx(HANDLE hActCtx) {
    DropReference(static_cast<ActivationContext*>(hActCtx));
}

BOOL WINAPI ActivateActCtx(HANDLE hActCtx, ULONG_PTR* lpCookie) {
    auto* context = static_cast<ActivationContext*>(hActCtx);
    if (lpCookie == nullptr || (context != nullptr && !IsLive(context))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    AddReference(context);
    activationStack.push_back({context, ++lastCookie});
    *lpCookie = lastCookie;
    return TRUE;
}

BOOL WINAPI DeactivateActCtx(DWORD dwFlags, ULONG_PTR ulCookie) {
    const bool force = (dwFlags & DEACTIVATE_ACTCTX_FLAG_FORCE_EARLY_DEACTIVATION) != 0;
    auto frame = std::find_if(activationStack.begin(), activationStack.end(),
                              [&](const Frame& entry) { return entry.cookie == ulCookie; });
    const bool top = frame != activationStack.end() && frame + 1 == activationStack.end();
    DWORD error = ERROR_SUCCESS;
    if ((dwFlags & ~static_cast<DWORD>(DEACTIVATE_ACTCTX_FLAG_FORCE_EARLY_DEACTIVATION)) != 0) {
        error = ERROR_INVALID_PARAMETER;
    } else if (frame == activationStack.end()) {
        error = ERROR_SXS_INVALID_DEACTIVATION;
    } else if (force && top) {
        error = ERROR_INVALID_PARAMETER; // as documented: forcing is for lower frames only
    } else if (!force && !top) {
        error = ERROR_SXS_EARLY_DEACTIVATION;
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    while (activationStack.size() > static_cast<size_t>(frame - activationStack.begin())) {
        DropReference(activationStack.back().context);
        activationStack.pop_back();
    }
    return TRUE;
}

BOOL WINAPI GetCurrentActCtx(HANDLE* lphActCtx) {
    if (lphActCtx == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ActivationContext* current = activationStack.empty() ? nullptr : activationStack.back().context;
    AddReference(current);
    *lphActCtx = current;
    return TRUE;
}
}
