#pragma once
// The ordered languages in which the resources object looks up strings, templates, icons and raw
// data.
#include <windows.h>

#include "common/resources_heap.h"

namespace moltr::common {

struct LanguageEntry {
    WORD language;
    WORD codePage;
};
static_assert(sizeof(LanguageEntry) == 4);

// A "UIPLANG" of 65535 in first place keeps the texts stored in dialog templates.
inline constexpr WORD kKeepTemplateTexts = 0xFFFF;

class LanguageList {
public:
    explicit LanguageList(const ResourcesHeap& heap) : heap_(heap) {}
    ~LanguageList() { heap_.Free(entries_); }
    LanguageList(const LanguageList&) = delete;
    LanguageList& operator=(const LanguageList&) = delete;

    // The settings file's "UIPLANG" (when a file is named and the value is not 0), the user's and
    // the system's UI languages, English, the resource module's version translations in stored
    // order, and neutral last. Duplicates stay: each lookup is cheap and the order is what counts.
    // False only when out of memory.
    bool Build(LPCWSTR resourceModulePath, LPCWSTR settingsFilePath);

    const LanguageEntry* begin() const { return entries_; }
    const LanguageEntry* end() const { return entries_ + count_; }
    WORD size() const { return count_; }
    bool KeepsTemplateTexts() const { return count_ && entries_[0].language == kKeepTemplateTexts; }

private:
    const ResourcesHeap& heap_;
    LanguageEntry* entries_ = nullptr;
    WORD count_ = 0;
};

} // namespace moltr::common
