#include "common/co_resources.h"
#include "common/dialog_localizer.h"

#include <cstring>

namespace moltr::common {

namespace {

// The localised copy must fit in this much.
constexpr DWORD kWorkBufferBytes = 16384;
constexpr WORD kArabic = 1025;
constexpr WORD kHebrew = 1037;

class StringTableTexts final : public TemplateTexts {
public:
    explicit StringTableTexts(IResources* resources) : resources_(resources) {}
    bool Load(UINT id, LPWSTR buffer, UINT size) override {
        return SUCCEEDED(resources_->LoadString(id, buffer, size));
    }

private:
    IResources* resources_;
};

} // namespace

STDMETHODIMP CoResources::LoadDialogTemplate(UINT id, const DLGTEMPLATE** dialog, UINT textMode) {
    if (!dialog) {
        return E_INVALIDARG;
    }
    *dialog = nullptr;
    if (!languages_.size()) {
        return E_INVALIDARG;
    }
    if (!resourceModule_) {
        return E_FAIL;
    }
    if (id < 1 || id > 0xFFFF) {
        return E_INVALIDARG;
    }
    Found found;
    for (const LanguageEntry& entry : languages_) {
        for (TemplateRecord& record : templates_) {
            if (record.dialogId == id && record.language == entry.language) {
                *dialog = record.dialog;
                return S_OK;
            }
        }
        found = FindInModules(RT_DIALOG, id, entry.language);
        if (found.resource) {
            break;
        }
    }
    if (!found.resource) {
        return E_INVALIDARG;
    }
    if (languages_.KeepsTemplateTexts()) {
        textMode = kTemplateTextsStored;
    }
    const void* source = LockResource(LoadResource(found.module, found.resource));
    DWORD sourceSize = SizeofResource(found.module, found.resource);
    auto* work = static_cast<BYTE*>(heap_.Allocate(kWorkBufferBytes));
    if (!work) {
        return E_OUTOFMEMORY;
    }
    StringTableTexts texts(this);
    bool mirror = found.language == kArabic || found.language == kHebrew;
    DWORD used = LocalizeDialogTemplate(source, sourceSize, id, textMode, mirror, texts, work,
                                        kWorkBufferBytes);
    auto* copy = used ? static_cast<DLGTEMPLATE*>(heap_.Allocate(used)) : nullptr;
    if (copy) {
        memcpy(copy, work, used);
    }
    heap_.Free(work);
    if (!used) {
        return E_FAIL;
    }
    if (!copy || !templates_.Append({id, found.language, copy})) {
        heap_.Free(copy);
        return E_OUTOFMEMORY;
    }
    *dialog = copy;
    return S_OK;
}

STDMETHODIMP_(const DLGTEMPLATE*) CoResources::GetDialogTemplate(UINT id, UINT textMode) {
    const DLGTEMPLATE* dialog = nullptr;
    return SUCCEEDED(LoadDialogTemplate(id, &dialog, textMode)) ? dialog : nullptr;
}

} // namespace moltr::common
