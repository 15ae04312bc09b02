#include "uiplugin/form_assign_store.h"
#include <new>
#include <string>
#include <vector>
#include "uiplugin/custom_media_forms.h"
#include "uiplugin/engine/form_assign_symbols.h"
#include "uiplugin/paper_limits.h"

namespace moltr::uiplugin {

HRESULT StoreFormAssignSymbols(HANDLE printer, LPCWSTR modelName,
                               common::IDrvSettings* printerSettings) {
    if (printerSettings == nullptr) {
        return E_INVALIDARG;
    }
    ui::FormAssignment assignment = {};
    const HRESULT read = ui::ReadFormAssignment(printerSettings, &assignment);
    if (FAILED(read)) {
        return read;
    }
    try {
        // Custom medium n is the n-th of those the description file carries, the only ones its
        // symbols can select.
        std::vector<std::string> identifiers;
        const ui::PaperLimits limits = ui::LookUpPaperLimits(modelName, printerSettings);
        for (const CustomSizeEntry& entry : EnumerateCustomMedia(printer, limits)) {
            if (entry.listed) {
                identifiers.push_back(CustomMediumIdentifier(entry.name));
            }
        }
        std::vector<const char*> names;
        for (const std::string& identifier : identifiers) {
            names.push_back(identifier.c_str());
        }
        return ui::WriteFormAssignSymbols(printerSettings, assignment,
                                          {names.data(), static_cast<DWORD>(names.size())});
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace moltr::uiplugin
