#pragma once
// The localised copy of a dialog template: caption and control texts replaced by the strings that
// carry the dialog's and the controls' ids, everything else as stored.
#include <windows.h>

namespace moltr::common {

// Where the localised texts come from.
class TemplateTexts {
public:
    // The string `id` in `buffer` (`size` characters); false when there is none.
    virtual bool Load(UINT id, LPWSTR buffer, UINT size) = 0;

protected:
    ~TemplateTexts() = default;
};

// Text modes: 0 keeps the stored texts, 1 loads them, any other empties them.
inline constexpr UINT kTemplateTextsStored = 0;
inline constexpr UINT kTemplateTextsLoaded = 1;

// Writes the copy into `buffer` (zeroed, `capacity` bytes); `mirror` adds WS_EX_LAYOUTRTL to an
// extended template. Answers the bytes used, or 0 for a malformed source or a copy that does not
// fit.
DWORD LocalizeDialogTemplate(const void* source, DWORD sourceSize, UINT dialogId, UINT textMode,
                             bool mirror, TemplateTexts& texts, BYTE* buffer, DWORD capacity);

} // namespace moltr::common
