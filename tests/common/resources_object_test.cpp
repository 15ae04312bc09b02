// The resources object's slots: factories, strings, raw data, messages, localised templates,
// pictures and the icon and template caches.
#include "common/dialog_template.h"
#include "language_fixtures.h"
#include "resources_printer.h"
#include "sim/display.h"
#include "sim/message_box.h"
#include "sim/windows_admin.h"
#include "this_module.h"

namespace moltr::common {
namespace {

constexpr UINT kOwnPlain = 9600;
constexpr UINT kOwnExtended = 9601;
constexpr UINT kOwnNeutral = 9602;
constexpr UINT kOwnPicture = 9603;
constexpr UINT kOwnCursor = 9604;

test::ResourcesPrinterSetup Languages(LANGID ui, const std::string& uiplang = "0") {
    test::ResourcesPrinterSetup setup;
    setup.machine.userUiLanguage = ui;
    setup.machine.systemUiLanguage = ui;
    setup.settings = "[UIPSETTINGS]\r\nUIPLANG=" + uiplang + "\r\n";
    return setup;
}

std::string Text(const TemplateName& name) {
    WCHAR buffer[256];
    return CopyTemplateText(name, buffer, 256) ? sim::Utf8(buffer) : "<too long>";
}

// The caption and the titles of a template the object handed out.
struct Texts {
    DialogHeader header;
    std::vector<std::string> titles;
};

Texts Read(const DLGTEMPLATE* dialog) {
    Texts texts;
    DialogTemplateReader reader(dialog, 16384);
    EXPECT_TRUE(reader.ReadHeader(&texts.header));
    for (WORD index = 0; index < texts.header.count; ++index) {
        DialogItem item;
        EXPECT_TRUE(reader.ReadItem(&item));
        texts.titles.push_back(Text(item.title));
    }
    return texts;
}

class ResourcesObject : public ::testing::Test {
protected:
    test::ResourcesPrinter printer_{Languages(1031)};
    IDrvResources* resources_ = printer_.Create();
};

TEST(ResourcesFactories, RefuseBadArguments) {
    test::ResourcesPrinter printer;
    IDrvResources* resources = reinterpret_cast<IDrvResources*>(1);
    EXPECT_EQ(CreatePrinterResources(nullptr, printer.handle(), nullptr), E_INVALIDARG);
    EXPECT_EQ(CreatePrinterResources(&resources, INVALID_HANDLE_VALUE, nullptr), E_INVALIDARG);
    EXPECT_EQ(CreateModuleResources(nullptr, L"C:\\X.DLL"), E_INVALIDARG);
    EXPECT_EQ(CreateModuleResources(&resources, nullptr), E_INVALIDARG);
    EXPECT_EQ(CreateModuleResources(&resources, L""), E_INVALIDARG);
    EXPECT_EQ(resources, nullptr);
}

TEST(ResourcesFactories, PrinterWithoutLanguageModuleFails) {
    test::ResourcesPrinterSetup setup;
    setup.languageModule = false;
    // A file of the family's name whose upper-cased name holds UNIRES.DLL is never the module.
    setup.extraFiles = {"moltrunires.dll"};
    test::ResourcesPrinter printer(setup);
    IDrvResources* resources = reinterpret_cast<IDrvResources*>(1);
    EXPECT_EQ(CreatePrinterResources(&resources, printer.handle(), nullptr), E_FAIL);
    EXPECT_EQ(resources, nullptr);
}

TEST(ResourcesFactories, LanguageModuleThatCannotBeLoadedFails) {
    test::ResourcesPrinterSetup setup;
    setup.languageModule = false;
    setup.extraFiles = {"MOLTRRES.DLL"};
    test::ResourcesPrinter printer(setup);
    IDrvResources* resources = nullptr;
    EXPECT_EQ(CreatePrinterResources(&resources, printer.handle(), nullptr), E_FAIL);
    EXPECT_EQ(CreateModuleResources(&resources, L"C:\\NOWHERE\\MOLTRRES.DLL"), E_FAIL);
    EXPECT_EQ(resources, nullptr);
}

TEST(ResourcesFactories, CallerHeapServesTheObjectsBlocks) {
    test::ResourcesPrinter printer;
    HANDLE heap = HeapCreate(0, 0, 0);
    IDrvResources* resources = printer.Create(heap);
    ASSERT_TRUE(resources);
    LPWSTR copy = resources->DuplicateString(1223);
    ASSERT_TRUE(copy);
    EXPECT_EQ(sim::Utf8(copy), "Letter");
    EXPECT_EQ(HeapSize(heap, 0, copy), 7 * sizeof(WCHAR));
    EXPECT_TRUE(HeapFree(heap, 0, copy));
}

TEST(ResourcesFactories, ModuleObjectHasNoEnvironment) {
    test::ResourcesPrinter printer;
    IDrvResources* forPrinter = printer.Create();
    ASSERT_TRUE(forPrinter);
    IDrvResources* resources = nullptr;
    ASSERT_EQ(CreateModuleResources(&resources, forPrinter->GetResourceModulePath()), S_OK);
    EXPECT_TRUE(resources->GetResourceModule());
    EXPECT_EQ(resources->GetModelName(), nullptr);
    EXPECT_EQ(resources->GetPdlSuffix(), nullptr);
    EXPECT_EQ(resources->GetResourceModulePath(), nullptr);
    EXPECT_EQ(resources->GetHelpFilePath(), nullptr);
    EXPECT_EQ(resources->GetNotifierPath(), nullptr);
    EXPECT_EQ(resources->GetUIPluginPath(), nullptr);
    EXPECT_EQ(resources->GetPrintProcessorPath(), nullptr);
    EXPECT_EQ(resources->GetModuleVersions(), nullptr);
    EXPECT_EQ(resources->Release(), 0u);
}

TEST_F(ResourcesObject, AnswersIUnknownOnly) {
    ASSERT_TRUE(resources_);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(resources_->QueryInterface(IID_IClassFactory, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(resources_->QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, static_cast<IUnknown*>(resources_));
    EXPECT_EQ(resources_->AddRef(), 3u);
    EXPECT_EQ(resources_->Release(), 2u);
    EXPECT_EQ(resources_->Release(), 1u);
}

TEST_F(ResourcesObject, ResourceModuleAndHandleEachServeTheLanguageModule) {
    ASSERT_TRUE(resources_);
    // The test program has no version resource and no string 1223; the language module has both.
    ASSERT_EQ(FindResourceW(ThisModuleHandle(), MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION),
              nullptr);
    for (HMODULE module : {resources_->GetResourceModule(), resources_->GetResourceHandle()}) {
        ASSERT_NE(module, nullptr);
        EXPECT_NE(module, ThisModuleHandle());
        EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION), nullptr);
        WCHAR text[32] = {};
        EXPECT_GT(LoadStringW(module, 1223, text, 32), 0);
    }
}

TEST_F(ResourcesObject, StringsFitOnlyWithRoomForTheTerminator) {
    ASSERT_TRUE(resources_);
    WCHAR text[16] = {'x', 0};
    EXPECT_EQ(resources_->LoadString(IDS_MOLTRRES_TEN_CHARACTERS, text, 11), S_OK);
    EXPECT_EQ(sim::Utf8(text), "9876543210");
    EXPECT_EQ(resources_->LoadString(IDS_MOLTRRES_TEN_CHARACTERS, text, 10), E_FAIL);
    EXPECT_EQ(sim::Utf8(text), "");
}

TEST_F(ResourcesObject, MissingAndEmptyStringsLeaveAnEmptyBuffer) {
    ASSERT_TRUE(resources_);
    WCHAR text[16] = {'x', 0};
    EXPECT_EQ(resources_->LoadString(IDS_MOLTRRES_EMPTY, text, 16), E_FAIL);
    EXPECT_EQ(sim::Utf8(text), "");
    // Another id of a block that exists.
    text[0] = 'x';
    EXPECT_EQ(resources_->LoadString(1238, text, 16), E_FAIL);
    EXPECT_EQ(sim::Utf8(text), "");
    // A block that exists in no language.
    EXPECT_EQ(resources_->LoadString(60000, text, 16), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadString(0, text, 16), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadString(0x10000, text, 16), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadString(1223, nullptr, 16), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadString(1223, text, 0), E_INVALIDARG);
    EXPECT_EQ(resources_->DuplicateString(IDS_MOLTRRES_EMPTY), nullptr);
}

TEST_F(ResourcesObject, RawDataIsTheModulesOwn) {
    ASSERT_TRUE(resources_);
    DWORD size = 0;
    const void* data = resources_->GetRawResource(IDR_MOLTRRES_DATA, &size);
    ASSERT_TRUE(data);
    ASSERT_EQ(size, 8u);
    EXPECT_EQ(memcmp(data, "MOLT\0\1\0\0", 8), 0);
    EXPECT_EQ(resources_->GetRawResource(IDR_MOLTRRES_DATA, nullptr), data);
    EXPECT_EQ(resources_->LoadRawResource(IDR_MOLTRRES_DATA, nullptr, &size), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadRawResource(9531, &data, &size), E_INVALIDARG);
    EXPECT_EQ(data, nullptr);
}

TEST_F(ResourcesObject, MessageBoxShowsLoadedTextsAndCaption) {
    ASSERT_TRUE(resources_);
    sim::ClearMessageBoxCalls();
    sim::SetMessageBoxResponder([](const sim::MessageBoxCall&) { return IDNO; });
    EXPECT_EQ(resources_->ShowMessage(nullptr, 1231, 1003, MB_YESNO), IDNO);
    // Nothing is shown when either string is missing.
    EXPECT_EQ(resources_->ShowMessage(nullptr, IDS_MOLTRRES_EMPTY, 1003, MB_OK), 0);
    EXPECT_EQ(resources_->ShowMessage(nullptr, 1231, 60000, MB_OK), 0);
    sim::SetMessageBoxResponder({});
    std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(sim::Utf8(calls[0].text), "Umschlag Nr. 10");
    EXPECT_EQ(sim::Utf8(calls[0].caption), "Geräteeinstellungen");
    EXPECT_EQ(calls[0].type, static_cast<UINT>(MB_YESNO));
}

TEST_F(ResourcesObject, MessageForMirroredOwnerReadsRightToLeft) {
    ASSERT_TRUE(resources_);
    HWND owner = CreateWindowExW(WS_EX_LAYOUTRTL, L"STATIC", L"Owner", WS_POPUP, 0, 0, 10, 10,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    sim::ClearMessageBoxCalls();
    resources_->ShowMessage(owner, 1231, 1003, MB_OK);
    DestroyWindow(owner);
    std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].type, static_cast<UINT>(MB_OK | MB_RTLREADING));
    EXPECT_EQ(calls[0].owner, owner);
}

TEST_F(ResourcesObject, TemplateTextsComeFromTheStringTable) {
    ASSERT_TRUE(resources_);
    const DLGTEMPLATE* dialog = resources_->GetDialogTemplate(IDD_MOLTRRES_SAMPLE, 1);
    ASSERT_TRUE(dialog);
    Texts texts = Read(dialog);
    EXPECT_TRUE(texts.header.extended);
    EXPECT_EQ(Text(texts.header.caption), "Lokalisierung");
    EXPECT_EQ(texts.titles,
              (std::vector<std::string>{"Papierformat:", "Beidseitig drucken", "1", "", ""}));
    EXPECT_EQ(texts.header.exStyle & WS_EX_LAYOUTRTL, 0u);
}

TEST_F(ResourcesObject, CachedTemplateIsReturnedWhateverTheTextMode) {
    ASSERT_TRUE(resources_);
    const DLGTEMPLATE* first = resources_->GetDialogTemplate(IDD_MOLTRRES_SAMPLE, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(resources_->GetDialogTemplate(IDD_MOLTRRES_SAMPLE, 1), first);
    EXPECT_EQ(Text(Read(first).header.caption), "Stored caption");
    const DLGTEMPLATE* dialog = nullptr;
    EXPECT_EQ(resources_->LoadDialogTemplate(IDD_MOLTRRES_SAMPLE, nullptr, 1), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadDialogTemplate(9599, &dialog, 1), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadDialogTemplate(0, &dialog, 1), E_INVALIDARG);
    EXPECT_EQ(dialog, nullptr);
}

TEST_F(ResourcesObject, TemplateOfTheCallingModuleIsLocalisedFromTheLanguageModule) {
    ASSERT_TRUE(resources_);
    Texts texts = Read(resources_->GetDialogTemplate(kOwnNeutral, 1));
    EXPECT_EQ(texts.titles, (std::vector<std::string>{"Papierformat:", ""}));
}

TEST(ResourcesTemplates, Uiplang65535KeepsStoredTexts) {
    test::ResourcesPrinter printer(Languages(1031, "65535"));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    Texts texts = Read(resources->GetDialogTemplate(IDD_MOLTRRES_SAMPLE, 1));
    EXPECT_EQ(Text(texts.header.caption), "Stored caption");
    EXPECT_EQ(texts.titles[0], "Stored label");
}

TEST(ResourcesTemplates, HebrewTemplateIsMirroredOnlyInTheExtendedFormat) {
    test::ResourcesPrinter printer(Languages(1037));
    IDrvResources* resources = printer.Create();
    ASSERT_TRUE(resources);
    Texts extended = Read(resources->GetDialogTemplate(kOwnExtended, 1));
    EXPECT_TRUE(extended.header.extended);
    EXPECT_EQ(extended.header.exStyle & WS_EX_LAYOUTRTL, static_cast<DWORD>(WS_EX_LAYOUTRTL));
    // No Hebrew strings: the list falls through to English.
    EXPECT_EQ(extended.titles, (std::vector<std::string>{"Paper size:"}));
    Texts plain = Read(resources->GetDialogTemplate(kOwnPlain, 1));
    EXPECT_FALSE(plain.header.extended);
    EXPECT_EQ(plain.header.exStyle & WS_EX_LAYOUTRTL, 0u);
    EXPECT_EQ(Text(plain.header.caption), "");
}

TEST_F(ResourcesObject, IconsAreCachedByIdAndSize) {
    ASSERT_TRUE(resources_);
    HICON icon = resources_->GetIcon(IDI_MOLTRRES_ICON, 32);
    ASSERT_TRUE(icon);
    EXPECT_EQ(resources_->GetIcon(IDI_MOLTRRES_ICON, 32), icon);
    HICON small = resources_->GetIcon(IDI_MOLTRRES_ICON, 16);
    ASSERT_TRUE(small);
    EXPECT_NE(small, icon);
    HICON none = reinterpret_cast<HICON>(1);
    EXPECT_EQ(resources_->LoadIcon(IDI_MOLTRRES_ICON, 0, &none), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadIcon(IDI_MOLTRRES_ICON, 32, nullptr), E_INVALIDARG);
    EXPECT_EQ(resources_->LoadIcon(9523, 32, &none), E_INVALIDARG);
    EXPECT_EQ(none, nullptr);
}

TEST(ResourcesIcons, CachedIconsGoWithTheObject) {
    test::ResourcesPrinter printer;
    size_t before = sim::IconCount();
    IDrvResources* resources = nullptr;
    ASSERT_EQ(CreatePrinterResources(&resources, printer.handle(), nullptr), S_OK);
    ASSERT_TRUE(resources->GetIcon(IDI_MOLTRRES_ICON, 32));
    EXPECT_EQ(sim::IconCount(), before + 1);
    resources->Release();
    EXPECT_EQ(sim::IconCount(), before);
}

TEST_F(ResourcesObject, BitmapsAndCursorsComeFromEitherModule) {
    ASSERT_TRUE(resources_);
    EXPECT_TRUE(resources_->GetBitmap(IDB_MOLTRRES_PICTURE));
    EXPECT_TRUE(resources_->GetCursor(IDC_MOLTRRES_CURSOR));
    // Only the calling module has these.
    ASSERT_EQ(
        FindResourceW(resources_->GetResourceModule(), MAKEINTRESOURCEW(kOwnPicture), RT_BITMAP),
        nullptr);
    EXPECT_TRUE(resources_->GetBitmap(kOwnPicture));
    EXPECT_TRUE(resources_->GetCursor(kOwnCursor));
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
    EXPECT_EQ(resources_->LoadBitmap(9524, &bitmap), S_OK);
    EXPECT_EQ(bitmap, nullptr);
    EXPECT_EQ(resources_->LoadBitmap(IDB_MOLTRRES_PICTURE, nullptr), E_INVALIDARG);
    EXPECT_EQ(resources_->GetCursor(9524), nullptr);
}

} // namespace
} // namespace moltr::common
