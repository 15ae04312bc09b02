#pragma once
// Whether COM is initialised on the calling thread (CoInitializeEx without its CoUninitialize).

namespace moltr::com {

bool ThreadInitialised();

} // namespace moltr::com
