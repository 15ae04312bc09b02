#include "common/help_file.h"

#include "common/co_resources.h"
#include "common/windows_version.h"

namespace moltr::common {

namespace {

// The temporary name with ".chm" in place of ".tmp"; empty when none can be made.
void MakeTemporaryHelpPath(WCHAR (&path)[MAX_PATH]) {
    WCHAR folder[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (!length || length >= MAX_PATH || !GetTempFileNameW(folder, L"", 0, path)) {
        path[0] = 0;
        return;
    }
    // Making the name created the ".tmp" file; only the name is wanted.
    DeleteFileW(path);
    int end = lstrlenW(path);
    if (end >= 4 && lstrcmpiW(path + end - 4, L".tmp") == 0) {
        lstrcpyW(path + end - 4, L".chm");
    }
}

} // namespace

LPCWSTR HelpFile::Path(LPCWSTR driverHelpFile) {
    if (!RunsWindowsVersion(6, 0)) {
        return driverHelpFile;
    }
    if (!made_) {
        MakeTemporaryHelpPath(temporary_);
        made_ = true;
    }
    return temporary_[0] ? temporary_ : driverHelpFile;
}

STDMETHODIMP_(LPCWSTR) CoResources::GetHelpFilePath() {
    return hasEnvironment_ ? helpFile_.Path(environment_.helpFile()) : nullptr;
}

} // namespace moltr::common
