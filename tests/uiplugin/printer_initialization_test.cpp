// Printer initialisation as the operating system runs it when a printer is added: the driver's
// user interface gives the UI plug-in PRINTER_EVENT_INITIALIZE, which adds the family's forms,
// writes the REGINFO values into the printer data and, on Windows 2000 and XP, sets the print
// processor; the descriptions are compiled on the way.
#include <windows.h>
#include <winddiui.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>
#include "uiplugin/ui_module.h"
#include "uiplugin/ui_printer.h"

namespace moltr::test {
namespace {

// The form names of the family's table, in its order, as the language module gives them.
const char* const kFormNames[] = {
    "A4",           "A5",          "B5 (JIS)",
    "Letter",       "Statement",   "Legal",
    "Executive",    "Folio",       "Government Letter",
    "Oficio",       "12 x 18 in",  "Envelope Monarch",
    "Envelope #10", "Envelope DL", "Envelope C5",
    "Envelope C6",  "Envelope B5", "A3",
    "B4 (JIS)",     "Tabloid",     "A2",
    "B3 (JIS)",
};

std::map<std::string, FORM_INFO_1W> Forms(HANDLE printer, std::vector<BYTE>& storage) {
    DWORD needed = 0;
    DWORD count = 0;
    EnumFormsW(printer, 1, nullptr, 0, &needed, &count);
    storage.assign(needed ? needed : 1, 0);
    EXPECT_TRUE(EnumFormsW(printer, 1, storage.data(), needed, &needed, &count));
    std::map<std::string, FORM_INFO_1W> forms;
    const auto* entries = reinterpret_cast<const FORM_INFO_1W*>(storage.data());
    for (DWORD i = 0; i < count; ++i) {
        forms[sim::Utf8(entries[i].pName)] = entries[i];
    }
    return forms;
}

std::vector<BYTE> PrinterData(HANDLE printer, const WCHAR* name, DWORD& type) {
    DWORD needed = 0;
    GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
    std::vector<BYTE> data(needed);
    if (needed == 0 || GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, data.data(),
                                       needed, &needed) != ERROR_SUCCESS) {
        data.clear();
    }
    return data;
}

std::string PrintProcessor(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    EXPECT_TRUE(GetPrinterW(printer, 2, info.data(), needed, &needed));
    return sim::Utf8(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pPrintProcessor);
}

TEST(PrinterInitialization, AddsEveryFormOfTheTableWithTheWholeSheetImageable) {
    UiPrinter printer;
    std::vector<BYTE> storage;
    std::map<std::string, FORM_INFO_1W> forms = Forms(printer.handle(), storage);
    for (const char* name : kFormNames) {
        EXPECT_EQ(forms.count(name), 1u) << name;
    }
    // Forms the machine does not have built in come from the table.
    ASSERT_EQ(forms.count("Oficio"), 1u);
    const FORM_INFO_1W& oficio = forms["Oficio"];
    EXPECT_EQ(oficio.Flags, static_cast<DWORD>(FORM_PRINTER));
    EXPECT_EQ(oficio.Size.cx, 210000);
    EXPECT_EQ(oficio.Size.cy, 330000);
    EXPECT_EQ(oficio.ImageableArea.left, 0);
    EXPECT_EQ(oficio.ImageableArea.top, 0);
    EXPECT_EQ(oficio.ImageableArea.right, 210000);
    EXPECT_EQ(oficio.ImageableArea.bottom, 330000);
    ASSERT_EQ(forms.count("12 x 18 in"), 1u);
    EXPECT_EQ(forms["12 x 18 in"].Size.cx, 311150);
    EXPECT_EQ(forms["12 x 18 in"].Size.cy, 457200);
}

TEST(PrinterInitialization, WritesTheRegistryValuesOfTheDescriptionAfterCompilingIt) {
    UiPrinter printer;
    DWORD type = 0;
    std::vector<BYTE> model = PrinterData(printer.handle(), L"Model", type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    std::u16string expected = u"MOLTR ColorLaser 4000 PCL5c";
    // The text with its terminator.
    ASSERT_EQ(model.size(), (expected.size() + 1) * sizeof(char16_t));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(model.data())), expected);
    std::vector<BYTE> duplex = PrinterData(printer.handle(), L"DuplexUnit", type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(duplex.size(), sizeof(DWORD));
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(duplex.data()), 1u);
    // The descriptions were compiled for the plug-in's devmode on the way.
    EXPECT_FALSE(PrinterData(printer.handle(), L"Timestamp", type).empty());
}

TEST(PrinterInitialization, SetsTheProductsPrintProcessorOnWindowsXpOnly) {
    UiPrinterSetup xp;
    xp.machine.version = {5, 1, 2600};
    {
        UiPrinter printer(xp);
        EXPECT_EQ(PrintProcessor(printer.handle()), "vorta MOLTR Processor");
    }
    UiPrinter seven;
    EXPECT_EQ(PrintProcessor(seven.handle()), "winprint");
}

TEST(PrinterInitialization, ADescriptionWithoutRegistryValuesStillGetsTheForms) {
    UiPrinterSetup setup;
    setup.lines = {{"*REGINFO: DEFAULT\r\n{\r\n"
                    "    *REGENTRY: MODEL\r\n    {\r\n        *VALUENAME: \"Model\"\r\n"
                    "        *VALUESTR: \"MOLTR ColorLaser 4000 PCL5c\"\r\n    }\r\n"
                    "    *REGENTRY: DUPLEXUNIT\r\n    {\r\n        *VALUENAME: \"DuplexUnit\"\r\n"
                    "        *VALUENUM: =MOLTR_DUPLEX\r\n    }\r\n}\r\n",
                    ""}};
    UiPrinter printer(setup);
    std::vector<BYTE> storage;
    EXPECT_EQ(Forms(printer.handle(), storage).count("Oficio"), 1u);
    DWORD type = 0;
    EXPECT_TRUE(PrinterData(printer.handle(), L"Model", type).empty());
    UiModule module;
    IPrintOemUI2* plugin = module.CreatePlugin();
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->PrinterEvent(sim::W(printer.name()), PRINTER_EVENT_INITIALIZE, 0, 0),
              E_NOTIMPL);
    // Other events are not the plug-in's.
    EXPECT_EQ(plugin->PrinterEvent(sim::W(printer.name()), PRINTER_EVENT_DELETE, 0, 0), E_NOTIMPL);
    plugin->Release();
}

TEST(PrinterInitialization, WithoutTheLanguageModuleTheEventFailsAndAddsNothing) {
    UiPrinterSetup setup;
    setup.languageModule = false;
    UiPrinter printer(setup);
    std::vector<BYTE> storage;
    EXPECT_EQ(Forms(printer.handle(), storage).count("Oficio"), 0u);
    UiModule module;
    IPrintOemUI2* plugin = module.CreatePlugin();
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->PrinterEvent(sim::W(printer.name()), PRINTER_EVENT_INITIALIZE, 0, 0), E_FAIL);
    plugin->Release();
    DWORD type = 0;
    EXPECT_TRUE(PrinterData(printer.handle(), L"Model", type).empty());
}

} // namespace
} // namespace moltr::test
