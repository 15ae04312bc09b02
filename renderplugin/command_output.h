#pragma once
// The render plug-in's output to the print stream: everything goes through the driver services'
// DrvWriteSpoolBuf, either as the plug-in's own resources (string table entries narrowed to bytes,
// RCDATA blocks) or as lines formatted here.
#include <windows.h>
#include "renderplugin/render_state.h"

namespace moltr::render {

// Room of a string table entry and of a byte-narrowed line.
inline constexpr int kCommandRoom = 256;

// The bytes of string resource `id` (each UTF-16 unit narrowed to its low byte); 0 when the string
// is missing or empty.
int LoadCommand(UINT id, BYTE (&bytes)[kCommandRoom]);

class CommandOutput {
public:
    explicit CommandOutput(RenderState& state) : state_(state) {}

    HRESULT Bytes(const void* bytes, DWORD size);
    // The string resource `id` through the emitter entry of the hooks.
    HRESULT Resource(UINT id);
    // The RCDATA block `id` whole; E_FAIL when it is missing.
    HRESULT Block(UINT id);
    // wsprintf of `format`; each UTF-16 unit of the result narrowed to a byte, at most 256 bytes.
    HRESULT Narrowed(LPCWSTR format, ...);
    // wsprintf of `format`, converted to the ANSI code page.
    HRESULT Converted(LPCWSTR format, ...);
    // The string resource `id` (a "%d" line) formatted with `value`.
    HRESULT ResourceNumber(UINT id, int value);

    RenderState& state() { return state_; }

private:
    RenderState& state_;
};

// The emitter entry of the hooks: string resource `id` to the stream.
HRESULT EmitCommand(RenderState& state, UINT id);

} // namespace moltr::render
