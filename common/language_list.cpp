#include "common/language_list.h"

#include <cstring>

namespace moltr::common {

namespace {

constexpr WORD kEnglishUnitedStates = 1033;

// The module's version block, or null when it has none (or memory ran out).
void* ReadVersionBlock(const ResourcesHeap& heap, LPCWSTR modulePath) {
    DWORD ignored = 0;
    DWORD size = modulePath ? GetFileVersionInfoSizeW(modulePath, &ignored) : 0;
    if (!size) {
        return nullptr;
    }
    void* block = heap.Allocate(size);
    if (block && !GetFileVersionInfoW(modulePath, 0, size, block)) {
        heap.Free(block);
        return nullptr;
    }
    return block;
}

} // namespace

bool LanguageList::Build(LPCWSTR resourceModulePath, LPCWSTR settingsFilePath) {
    UINT preferred = settingsFilePath
                         ? GetPrivateProfileIntW(L"UIPSETTINGS", L"UIPLANG", 0, settingsFilePath)
                         : 0;
    void* version = ReadVersionBlock(heap_, resourceModulePath);
    const LanguageEntry* translations = nullptr;
    UINT translationBytes = 0;
    if (version) {
        void* found = nullptr;
        if (VerQueryValueW(version, L"\\VarFileInfo\\Translation", &found, &translationBytes)) {
            translations = static_cast<const LanguageEntry*>(found);
        } else {
            translationBytes = 0;
        }
    }
    UINT translationCount = translationBytes / sizeof(LanguageEntry);
    UINT count = (preferred ? 1 : 0) + 3 + translationCount + 1;
    entries_ = static_cast<LanguageEntry*>(heap_.Allocate(count * sizeof(LanguageEntry)));
    if (entries_) {
        LanguageEntry* next = entries_;
        if (preferred) {
            *next++ = {static_cast<WORD>(preferred), 0};
        }
        *next++ = {GetUserDefaultUILanguage(), 0};
        *next++ = {GetSystemDefaultUILanguage(), 0};
        *next++ = {kEnglishUnitedStates, 0};
        if (translationCount) {
            memcpy(next, translations, translationCount * sizeof(LanguageEntry));
            next += translationCount;
        }
        *next = {0, 0};
        count_ = static_cast<WORD>(count);
    }
    heap_.Free(version);
    return entries_ != nullptr;
}

} // namespace moltr::common
