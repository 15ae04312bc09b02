#pragma once
// PluginHooks: the override table of the render plug-in's generic shell. Every interface method
// and every hooked DDI call first offers itself to its entry; the shell's own behaviour runs when
// the entry is empty or declines with E_NOTIMPL or E_PENDING.
#include <windows.h>
#include <cstddef>
#include "prcomoem.h"

namespace moltr::render {

class CoPlugin;
struct RenderState;

// Whether an entry's answer leaves the call to the shell's default behaviour.
inline bool Declined(HRESULT result) {
    return result == E_NOTIMPL || result == E_PENDING;
}

using DevModeHook = HRESULT (*)(CoPlugin& plugin, DWORD mode, POEMDMPARAM param);
using CommandHook = HRESULT (*)(PDEVOBJ devobj, DWORD id, DWORD count, PDWORD params, INT* result);
using EmitHook = HRESULT (*)(RenderState& state, UINT id);
using PageSideHook = HRESULT (*)(RenderState& state, DWORD code);
// `arguments` points to the hooked call's arguments as a std::tuple of references, which an entry
// may change before the driver sees them.
using BeforeHook = HRESULT (*)(RenderState& state, void* arguments);

inline constexpr size_t kHookCount = 54;
inline constexpr size_t kBeforeHookCount = 26;

struct PluginHooks {
    DevModeHook devMode;                 // 0
    void* engine[7];                     // 1-7: EnableDriver ... DriverDMS, not overridden here
    CommandHook commandCallback;         // 8
    void* rendering[16];                 // 9-24: ImageProcessing ... DownloadPattern, likewise
    void* reserved;                      // 25
    EmitHook emitCommand;                // 26
    PageSideHook pageSide;               // 27
    BeforeHook before[kBeforeHookCount]; // 28-53, in the order of the hooked DDI functions
};
static_assert(sizeof(PluginHooks) == kHookCount * sizeof(void*));
static_assert(offsetof(PluginHooks, commandCallback) == 8 * sizeof(void*));
static_assert(offsetof(PluginHooks, emitCommand) == 26 * sizeof(void*));
static_assert(offsetof(PluginHooks, before) == 28 * sizeof(void*));

// The entries this plug-in fills.
PluginHooks MakePluginHooks();

} // namespace moltr::render
