// LoadStringW and LoadStringA under the UI language of the simulated machine's configuration, on
// this program's string tables (resource_strings_languages.rc).
#include "resource_strings_loaded.h"
#include "sim/machine.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using moltr::sim::MachineConfig;
using moltr::sim::TestMachine;
using resource_strings::Loaded;

constexpr LANGID kGerman = 0x0407;

MachineConfig German() {
    MachineConfig config;
    config.userUiLanguage = kGerman;
    config.systemUiLanguage = kGerman;
    return config;
}

TEST(LoadStringBlocks, UsesTheUserUiLanguage) {
    TestMachine machine(German());
    EXPECT_EQ(Loaded(1), "Papiergr\xC3\xB6\xC3\x9F"
                         "e");
    EXPECT_EQ(Loaded(31), "Einunddrei\xC3\x9F"
                          "ig");
    EXPECT_EQ(Loaded(65535), "Allerletzte");
}

TEST(LoadStringBlocks, TakesTheWholeBlockFromOneLanguage) {
    TestMachine machine(German());
    // Block 1 exists in German, so the English-only id 0 of that block is missing.
    EXPECT_EQ(Loaded(0), "");
    TestMachine english;
    EXPECT_EQ(Loaded(100), "Nur deutsch");
}

TEST(LoadStringAnsi, ConvertsToTheAnsiCodePageAndCuts) {
    TestMachine machine(German());
    char buffer[16];
    EXPECT_EQ(LoadStringA(ThisModuleHandle(), 1, buffer, 16), 11);
    EXPECT_STREQ(buffer, "Papiergr\xF6\xDF"
                         "e");
    EXPECT_EQ(LoadStringA(ThisModuleHandle(), 1, buffer, 10), 9);
    EXPECT_STREQ(buffer, "Papiergr\xF6");
    EXPECT_EQ(LoadStringA(ThisModuleHandle(), 2, buffer, 16), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadStringA(ThisModuleHandle(), 1, buffer, 0), 0);
}

} // namespace
