#pragma once
// The activation context the plug-in's own pages are made in: the one its module's manifest
// resource describes (version 6 of the common controls), so that the pages get the styled
// controls whatever the host process itself asked for.
#include <windows.h>

namespace moltr::ui {

class PageActivationContext {
public:
    PageActivationContext() = default;
    PageActivationContext(const PageActivationContext&) = delete;
    PageActivationContext& operator=(const PageActivationContext&) = delete;
    ~PageActivationContext() { Release(); }

    // Made on the first call from manifest resource 2 of the module file `module`, else of
    // `fallback` (either may be null); NULL when neither has one. Later calls answer the same.
    HANDLE Get(LPCWSTR module, LPCWSTR fallback);
    void Release();

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    bool tried_ = false;
};

} // namespace moltr::ui
