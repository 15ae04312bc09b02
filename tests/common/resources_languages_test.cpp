// The order of the language list, and what it means for the strings the object finds.
#include "common/language_list.h"
#include "resources_printer.h"

#include <utility>

namespace moltr::common {
namespace {

using Entries = std::vector<std::pair<int, int>>;

Entries Languages(IDrvResources* resources, bool withSettings = true) {
    ResourcesHeap heap;
    LanguageList list(heap);
    EXPECT_TRUE(list.Build(resources->GetResourceModulePath(),
                           withSettings ? resources->GetSettingsFilePath() : nullptr));
    Entries entries;
    for (const LanguageEntry& entry : list) {
        entries.emplace_back(entry.language, entry.codePage);
    }
    return entries;
}

test::ResourcesPrinterSetup German(const std::string& settings) {
    test::ResourcesPrinterSetup setup;
    setup.machine.userUiLanguage = 1031;
    setup.machine.systemUiLanguage = 1036;
    setup.settings = settings;
    return setup;
}

std::string Text(IDrvResources* resources, UINT id) {
    WCHAR text[64];
    EXPECT_EQ(resources->LoadString(id, text, 64), S_OK) << id;
    return sim::Utf8(text);
}

TEST(LanguageList, UserSystemEnglishTranslationsThenNeutral) {
    test::ResourcesPrinter printer(German("[UIPSETTINGS]\r\nUIPLANG=0\r\n"));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    EXPECT_EQ(Languages(resources),
              (Entries{{1031, 0}, {1036, 0}, {1033, 0}, {1033, 1200}, {1031, 1200}, {0, 0}}));
    EXPECT_EQ(Text(resources, 1223), "Brief (US)");
}

TEST(LanguageList, UiplangComesFirstAndDuplicatesStay) {
    test::ResourcesPrinter printer(German("[UIPSETTINGS]\r\nUIPLANG=1033\r\n"));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    EXPECT_EQ(
        Languages(resources),
        (Entries{{1033, 0}, {1031, 0}, {1036, 0}, {1033, 0}, {1033, 1200}, {1031, 1200}, {0, 0}}));
    EXPECT_EQ(Text(resources, 1223), "Letter");
}

TEST(LanguageList, NoSettingsFileMeansNoUiplang) {
    test::ResourcesPrinter printer(German(""));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    EXPECT_EQ(resources->GetSettingsFilePath(), nullptr);
    EXPECT_EQ(Languages(resources).size(), 6u);
    EXPECT_EQ(Text(resources, 1231), "Umschlag Nr. 10");
}

TEST(LanguageList, SettingsFileWithoutTheKeyOrSectionAddsNothing) {
    test::ResourcesPrinter printer(German("[OTHER]\r\nUIPLANG=1033\r\n"));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    EXPECT_EQ(Languages(resources).front(), std::make_pair(1031, 0));
}

TEST(LanguageList, ModuleWithoutVersionResourceAddsNoTranslations) {
    test::ResourcesPrinter printer(German("[UIPSETTINGS]\r\nUIPLANG=1040\r\n"));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    ResourcesHeap heap;
    LanguageList list(heap);
    ASSERT_TRUE(list.Build(resources->GetUIPluginPath(), resources->GetSettingsFilePath()));
    Entries entries;
    for (const LanguageEntry& entry : list) {
        entries.emplace_back(entry.language, entry.codePage);
    }
    EXPECT_EQ(entries, (Entries{{1040, 0}, {1031, 0}, {1036, 0}, {1033, 0}, {0, 0}}));
    EXPECT_FALSE(list.KeepsTemplateTexts());
}

TEST(LanguageList, Uiplang65535KeepsTemplateTexts) {
    test::ResourcesPrinter printer(German("[UIPSETTINGS]\r\nUIPLANG=65535\r\n"));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    ResourcesHeap heap;
    LanguageList list(heap);
    ASSERT_TRUE(list.Build(resources->GetResourceModulePath(), resources->GetSettingsFilePath()));
    EXPECT_TRUE(list.KeepsTemplateTexts());
    EXPECT_EQ(list.size(), 7);
}

TEST(LanguageList, ModuleFactoryHasNoUiplangEntry) {
    test::ResourcesPrinter printer(German("[UIPSETTINGS]\r\nUIPLANG=1033\r\n"));
    IDrvResources* forPrinter = printer.Create();
    ASSERT_TRUE(forPrinter);
    IDrvResources* resources = nullptr;
    ASSERT_EQ(CreateModuleResources(&resources, forPrinter->GetResourceModulePath()), S_OK);
    EXPECT_EQ(Text(resources, 1223), "Brief (US)");
    EXPECT_EQ(resources->GetSettingsFilePath(), nullptr);
    resources->Release();
}

} // namespace
} // namespace moltr::common
