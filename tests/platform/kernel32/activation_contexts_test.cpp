// Activation contexts made from a module's manifest resource or a manifest file, the documented
// errors, the thread's activation stack and its cookies, and the reference counts.
#include <windows.h>
#include <gtest/gtest.h>
#include <fstream>
#include "sim/activation_contexts.h"
#include "sim/machine.h"

namespace {

using moltr::sim::ActivationContextDependencies;
using moltr::sim::LiveActivationContexts;

constexpr char kCommonControls[] = "Microsoft.Windows.Common-Controls";

ACTCTXW FromOwnResource(WORD id) {
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.hModule = GetModuleHandleW(nullptr);
    request.lpResourceName = MAKEINTRESOURCEW(id);
    return request;
}

void WriteMachineFile(LPCWSTR path, const std::string& bytes) {
    std::ofstream(moltr::sim::HostPath(path), std::ios::binary | std::ios::trunc) << bytes;
}

DWORD FailureOf(const ACTCTXW& request) {
    SetLastError(0);
    const HANDLE context = CreateActCtxW(&request);
    EXPECT_EQ(context, INVALID_HANDLE_VALUE);
    return GetLastError();
}

TEST(ActivationContexts, AModulesManifestResourceNamesItsAssemblies) {
    moltr::sim::TestMachine machine;
    const size_t before = LiveActivationContexts();
    const ACTCTXW request = FromOwnResource(2);
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ActivationContextDependencies(context), std::vector<std::string>{kCommonControls});
    EXPECT_EQ(LiveActivationContexts(), before + 1);
    AddRefActCtx(context);
    ReleaseActCtx(context);
    EXPECT_EQ(LiveActivationContexts(), before + 1); // one reference is still held
    ReleaseActCtx(context);
    EXPECT_EQ(LiveActivationContexts(), before);
    EXPECT_TRUE(ActivationContextDependencies(context).empty());
    ReleaseActCtx(INVALID_HANDLE_VALUE); // nothing to release
    ReleaseActCtx(nullptr);
}

TEST(ActivationContexts, AManifestFileOrAnImageOnDiskServesAsWell) {
    moltr::sim::TestMachine machine;
    const std::string manifest =
        "<assembly xmlns='urn:schemas-microsoft-com:asm.v1' manifestVersion='1.0'/>";
    WriteMachineFile(L"C:\\plain.manifest", manifest);
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.lpSource = L"C:\\plain.manifest";
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ActivationContextDependencies(context).empty());
    ReleaseActCtx(context);

    // An image named by its path needs the resource's name.
    request.lpSource = L"C:\\missing.dll";
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpResourceName = MAKEINTRESOURCEW(2);
    EXPECT_EQ(FailureOf(request), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    request.lpSource = L"C:\\missing.manifest";
    request.dwFlags = 0;
    EXPECT_EQ(FailureOf(request), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(ActivationContexts, BadRequestsGiveTheDocumentedErrors) {
    moltr::sim::TestMachine machine;
    const size_t before = LiveActivationContexts();
    SetLastError(0);
    EXPECT_EQ(CreateActCtxW(nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    ACTCTXW request = FromOwnResource(2);
    request.dwFlags |= 0x100; // undefined bits are refused
    EXPECT_EQ(FailureOf(request), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    request = FromOwnResource(2);
    request.cbSize = 8;
    EXPECT_EQ(FailureOf(request), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    request = FromOwnResource(2);
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID; // a module without the resource's name
    EXPECT_EQ(FailureOf(request), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    request = {};
    request.cbSize = sizeof request; // no source at all
    EXPECT_EQ(FailureOf(request), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    EXPECT_EQ(FailureOf(FromOwnResource(9)), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FailureOf(FromOwnResource(3)), static_cast<DWORD>(ERROR_SXS_CANT_GEN_ACTCTX));
    WriteMachineFile(L"C:\\cut.manifest", "<assembly xmlns='urn:schemas-microsoft-com:asm.v1' ");
    request.lpSource = L"C:\\cut.manifest";
    EXPECT_EQ(FailureOf(request), static_cast<DWORD>(ERROR_SXS_CANT_GEN_ACTCTX));
    EXPECT_EQ(LiveActivationContexts(), before);
}

TEST(ActivationContexts, ActivationStacksAndCookiesComeOffInReverseOrder) {
    moltr::sim::TestMachine machine;
    const ACTCTXW request = FromOwnResource(2);
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    HANDLE current = INVALID_HANDLE_VALUE;
    ASSERT_TRUE(GetCurrentActCtx(&current));
    EXPECT_EQ(current, nullptr);

    ULONG_PTR outer = 0;
    ULONG_PTR inner = 0;
    ASSERT_TRUE(ActivateActCtx(context, &outer));
    ASSERT_TRUE(ActivateActCtx(nullptr, &inner)); // the frame without a context
    EXPECT_NE(outer, inner);
    ASSERT_TRUE(GetCurrentActCtx(&current));
    EXPECT_EQ(current, nullptr);

    SetLastError(0);
    EXPECT_FALSE(DeactivateActCtx(0, outer)); // not the top frame
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SXS_EARLY_DEACTIVATION));
    EXPECT_FALSE(DeactivateActCtx(DEACTIVATE_ACTCTX_FLAG_FORCE_EARLY_DEACTIVATION, inner));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(DeactivateActCtx(0, inner));
    ASSERT_TRUE(GetCurrentActCtx(&current));
    EXPECT_EQ(current, context);
    ReleaseActCtx(current);

    // Released while active, the context lives on until its frame is gone.
    const size_t live = LiveActivationContexts();
    ReleaseActCtx(context);
    EXPECT_EQ(LiveActivationContexts(), live);
    EXPECT_TRUE(DeactivateActCtx(0, outer));
    EXPECT_EQ(LiveActivationContexts(), live - 1);
    EXPECT_FALSE(DeactivateActCtx(0, outer)); // gone from the stack
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SXS_INVALID_DEACTIVATION));

    ULONG_PTR cookie = 0;
    EXPECT_FALSE(ActivateActCtx(context, &cookie)); // released for good
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(ActivateActCtx(nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(ActivationContexts, ForcedDeactivationPopsEveryFrameDownToTheCookie) {
    moltr::sim::TestMachine machine;
    ULONG_PTR first = 0;
    ULONG_PTR second = 0;
    ULONG_PTR third = 0;
    ASSERT_TRUE(ActivateActCtx(nullptr, &first));
    ASSERT_TRUE(ActivateActCtx(nullptr, &second));
    ASSERT_TRUE(ActivateActCtx(nullptr, &third));
    EXPECT_TRUE(DeactivateActCtx(DEACTIVATE_ACTCTX_FLAG_FORCE_EARLY_DEACTIVATION, second));
    SetLastError(0);
    EXPECT_FALSE(DeactivateActCtx(0, third));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SXS_INVALID_DEACTIVATION));
    EXPECT_TRUE(DeactivateActCtx(0, first));
    EXPECT_FALSE(DeactivateActCtx(2, first)); // undefined flag
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(ActivationContexts, KernelAndThemeLibraryBindByNameAtRunTime) {
    moltr::sim::TestMachine machine;
    HMODULE kernel = LoadLibraryW(L"C:\\Windows\\System32\\KERNEL32.DLL");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(LoadLibraryW(L"kernel32"), kernel);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(kernel, "CreateActCtxW")),
              reinterpret_cast<void*>(&CreateActCtxW));
    EXPECT_NE(GetProcAddress(kernel, "ReleaseActCtx"), nullptr);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(kernel, "CreateActCtxX"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(kernel));

    HMODULE theme = LoadLibraryW(L"C:\\Windows\\System32\\UxTheme.dll");
    ASSERT_NE(theme, nullptr);
    EXPECT_NE(theme, kernel);
    using IsThemeActiveProc = BOOL(WINAPI*)();
    auto active = reinterpret_cast<IsThemeActiveProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(theme, "IsThemeActive")));
    ASSERT_NE(active, nullptr);
    EXPECT_TRUE(active());
    EXPECT_NE(GetProcAddress(theme, "EnableThemeDialogTexture"), nullptr);
    EXPECT_EQ(GetProcAddress(theme, "CreateActCtxW"), nullptr);
    EXPECT_TRUE(FreeLibrary(theme));
}

} // namespace
