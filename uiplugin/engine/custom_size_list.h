#pragma once
// VORTAOptItemHandlerCMCOMBOBOX, the custom media combo box: one option per custom medium of the
// printer that its paper limits allow, spare options hidden, and last the entry that stands for a
// new size. The same media follow the papers of the paper-size list, so that a custom medium
// chosen there is one the combo box and the description file know.
#include <windows.h>
#include <vector>
#include "uiplugin/custom_media_forms.h"
#include "uiplugin/engine/generic_handlers.h"

namespace moltr::ui {

// Entries of the custom-size list: the media, then the new-size entry.
inline constexpr DWORD kCustomSizeListEntries = uiplugin::kCustomSizeListMedia + 1;

class VORTAOptItemHandlerCMCOMBOBOX : public VORTAOptItemHandlerCombobox {
public:
    using VORTAOptItemHandlerCombobox::VORTAOptItemHandlerCombobox;
    ~VORTAOptItemHandlerCMCOMBOBOX() override;

    // The options from now on show `media` (at most the list's number of media are taken); the
    // described options come back when the handler goes. Without memory the options stay.
    void LoadList(const std::vector<uiplugin::CustomSizeEntry>& media);
    // An entry's value is its place in the list: its lParam points at its record.
    LONG_PTR GetValueOf(LONG index) override;

private:
    // What an option of the list points at: the medium's name and its form.
    struct Record {
        WCHAR name[uiplugin::kCustomMediumNameMax];
        FORM_INFO_1W form;
    };
    void Release();

    POPTPARAM described_ = nullptr;
    WORD describedCount_ = 0;
    POPTPARAM options_ = nullptr;
    Record* records_ = nullptr;
};

// Fills the custom media combo box and appends the custom media to the paper-size list of a
// sheet whose items are all registered.
void LoadCustomSizeLists(VORTAOptItemHandlerFactory& factory);

} // namespace moltr::ui
