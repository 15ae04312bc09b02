// The notifier's language module MOLTRMDN.DLL as the program loads it: the dialog's texts in
// English and German, its template with the three picture controls, and the three pictures.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "common/resources.h"
#include "platform/kernel32/module_test_files.h"
#include "sim/machine.h"
#include "sim/utf.h"

namespace moltr::test {
namespace {

using common::IDrvResources;

constexpr char kModulePath[] = "C:\\Program Files\\MOLTR\\MOLTRMDN.DLL";

class LanguageModule {
public:
    explicit LanguageModule(LANGID language) : machine_(Config(language)) {
        EXPECT_TRUE(CopyToMachine(BuiltModule("MOLTRMDN.DLL"), kModulePath));
        std::u16string path = sim::Utf16(kModulePath);
        EXPECT_EQ(S_OK, common::CreateModuleResources(&resources_, sim::W(path)));
    }
    ~LanguageModule() {
        if (resources_ != nullptr) {
            resources_->Release();
        }
    }
    LanguageModule(const LanguageModule&) = delete;
    LanguageModule& operator=(const LanguageModule&) = delete;

    std::string Text(UINT id) const {
        WCHAR text[256] = {};
        EXPECT_EQ(S_OK, resources_->LoadString(id, text, 256)) << id;
        return sim::Utf8(text);
    }
    IDrvResources* resources() const { return resources_; }

private:
    static sim::MachineConfig Config(LANGID language) {
        sim::MachineConfig config;
        config.userUiLanguage = language;
        config.systemUiLanguage = language;
        return config;
    }

    sim::TestMachine machine_;
    IDrvResources* resources_ = nullptr;
};

WORD WordAt(const void* base, size_t offset) {
    WORD value;
    std::memcpy(&value, static_cast<const BYTE*>(base) + offset, sizeof value);
    return value;
}

TEST(NotifierLanguageModule, HasTheDialogTextsInEnglishAndGerman) {
    const UINT ids[] = {20000, 20050, 20101, 20151, 20201, 8};
    LanguageModule english(1033);
    EXPECT_EQ(english.Text(20000), "Manual Duplex");
    EXPECT_EQ(english.Text(8), "Close");
    LanguageModule german(1031);
    EXPECT_EQ(german.Text(20000), "Manueller Duplexdruck");
    EXPECT_EQ(german.Text(8), "Schließen");
    for (UINT id : ids) {
        EXPECT_FALSE(english.Text(id).empty()) << id;
        EXPECT_NE(english.Text(id), german.Text(id)) << id;
    }
}

TEST(NotifierLanguageModule, TheTemplateAddsThreePictureControls) {
    LanguageModule module(1033);
    const DLGTEMPLATE* dialog = nullptr;
    ASSERT_EQ(S_OK, module.resources()->LoadDialogTemplate(20000, &dialog, 1));
    ASSERT_NE(dialog, nullptr);
    // DLGTEMPLATEEX: version 1, signature 0xFFFF, item count at byte 16, size 300 by 262.
    EXPECT_EQ(WordAt(dialog, 0), 1);
    EXPECT_EQ(WordAt(dialog, 2), 0xFFFF);
    EXPECT_EQ(WordAt(dialog, 16), 12);
    EXPECT_EQ(WordAt(dialog, 22), 300);
    EXPECT_EQ(WordAt(dialog, 24), 262);
}

TEST(NotifierLanguageModule, HasTheThreePictures) {
    LanguageModule module(1031);
    for (UINT id : {110u, 111u, 112u}) {
        HBITMAP bitmap = nullptr;
        ASSERT_EQ(S_OK, module.resources()->LoadBitmap(id, &bitmap)) << id;
        BITMAP info = {};
        ASSERT_EQ(int(sizeof info), GetObjectW(bitmap, sizeof info, &info)) << id;
        EXPECT_EQ(info.bmWidth, 64) << id;
        EXPECT_EQ(info.bmHeight, 48) << id;
        DeleteObject(bitmap);
    }
}

} // namespace
} // namespace moltr::test
