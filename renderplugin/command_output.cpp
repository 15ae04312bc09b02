#include "renderplugin/command_output.h"

#include <cstdarg>
#include "this_module.h"

namespace moltr::render {

namespace {

// wsprintf's own limit.
constexpr int kFormatRoom = 1025;

int NarrowTo(const WCHAR* text, int length, BYTE* bytes, int room) {
    int count = length < room ? length : room;
    for (int i = 0; i < count; ++i) {
        bytes[i] = static_cast<BYTE>(text[i] & 0xFF);
    }
    return count;
}

} // namespace

int LoadCommand(UINT id, BYTE (&bytes)[kCommandRoom]) {
    WCHAR text[kCommandRoom];
    int length = LoadStringW(ThisModuleHandle(), id, text, kCommandRoom);
    return NarrowTo(text, length > 0 ? length : 0, bytes, kCommandRoom);
}

HRESULT CommandOutput::Bytes(const void* bytes, DWORD size) {
    if (state_.driver == nullptr) {
        return E_FAIL;
    }
    DWORD written = 0;
    HRESULT result =
        state_.driver->DrvWriteSpoolBuf(state_.devobj, const_cast<void*>(bytes), size, &written);
    return FAILED(result) || written != size ? E_FAIL : S_OK;
}

HRESULT CommandOutput::Resource(UINT id) {
    EmitHook emit = state_.hooks != nullptr ? state_.hooks->emitCommand : nullptr;
    return emit != nullptr ? emit(state_, id) : E_FAIL;
}

HRESULT CommandOutput::Block(UINT id) {
    HMODULE module = ThisModuleHandle();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    DWORD size = found != nullptr ? SizeofResource(module, found) : 0;
    return data != nullptr && size != 0 ? Bytes(data, size) : E_FAIL;
}

HRESULT CommandOutput::Narrowed(LPCWSTR format, ...) {
    WCHAR line[kFormatRoom];
    va_list arguments;
    va_start(arguments, format);
    int length = wvsprintfW(line, format, arguments);
    va_end(arguments);
    BYTE bytes[kCommandRoom];
    int count = NarrowTo(line, length > 0 ? length : 0, bytes, kCommandRoom);
    return Bytes(bytes, static_cast<DWORD>(count));
}

HRESULT CommandOutput::Converted(LPCWSTR format, ...) {
    WCHAR line[kFormatRoom];
    va_list arguments;
    va_start(arguments, format);
    int length = wvsprintfW(line, format, arguments);
    va_end(arguments);
    if (length <= 0) {
        return S_OK;
    }
    // Each character takes at most two bytes in an ANSI code page.
    char bytes[2 * kFormatRoom];
    int count = WideCharToMultiByte(CP_ACP, 0, line, length, bytes, sizeof bytes, nullptr, nullptr);
    return count > 0 ? Bytes(bytes, static_cast<DWORD>(count)) : E_FAIL;
}

HRESULT CommandOutput::ResourceNumber(UINT id, int value) {
    WCHAR format[kCommandRoom];
    int length = LoadStringW(ThisModuleHandle(), id, format, kCommandRoom);
    return length > 0 ? Narrowed(format, value) : E_FAIL;
}

HRESULT EmitCommand(RenderState& state, UINT id) {
    BYTE bytes[kCommandRoom];
    int count = LoadCommand(id, bytes);
    return count > 0 ? CommandOutput(state).Bytes(bytes, static_cast<DWORD>(count)) : E_FAIL;
}

} // namespace moltr::render
