// The core driver's convert and merge requests, and every rule of the devmode repair that each
// merge runs.
#include <cstring>
#include <memory>
#include "settings_printer.h"

namespace moltr::test {
namespace {

using common::kLayoutDevMode;
using common::kLayoutPrinterSettings;

class DevMode : public ::testing::Test {
protected:
    DevMode() : settings_(printer_.Create(common::kModeDocument)) {
        settings_->GetDevModeSize(&size_);
        input_.resize(size_);
        output_.assign(size_, 0);
        DWORD size = size_;
        settings_->GetDefaultDevMode(&size, input_.data());
        public_.dmSize = sizeof(DEVMODEW);
        public_.dmFields = 0;
        public_.dmDuplex = DMDUP_SIMPLEX;
        public_.dmPaperSize = DMPAPER_A4;
        public_.dmDefaultSource = DMBIN_AUTO;
    }

    void SetPrinter(LPCWSTR field, DWORD value) {
        ASSERT_EQ(S_OK, settings_->SetValue(nullptr, field, &value, kLayoutPrinterSettings))
            << sim::Utf8(field);
    }
    void SetPrivate(LPCWSTR field, BYTE value) {
        ASSERT_EQ(S_OK, settings_->SetValue(input_.data(), field, &value, kLayoutDevMode));
    }
    void SetPrivateWord(LPCWSTR field, WORD value) {
        ASSERT_EQ(S_OK, settings_->SetValue(input_.data(), field, &value, kLayoutDevMode));
    }
    // A private field of the merged devmode.
    DWORD Merged(LPCWSTR field, DWORD size = 1) {
        DWORD value = 0;
        EXPECT_EQ(S_OK, settings_->GetValue(output_.data(), field, &value, size, kLayoutDevMode));
        return value;
    }
    void Merge() {
        DEVMODEW in = public_;
        ASSERT_EQ(S_OK,
                  settings_->MergeDevMode(size_, &public_, &in, output_.data(), input_.data()));
    }

    sim::TestMachine machine_;
    SettingsPrinter printer_;
    SettingsPtr settings_;
    DWORD size_ = 0;
    std::vector<BYTE> input_;
    std::vector<BYTE> output_;
    DEVMODEW public_ = {};
};

TEST_F(DevMode, ConvertCopiesOnlyBetweenEqualSignatures) {
    std::vector<BYTE> destination(size_, 0x5A);
    std::memcpy(destination.data() + 4, "MOLT", 4);
    ASSERT_EQ(S_OK, settings_->ConvertDevMode(size_, destination.data(), input_.data()));
    EXPECT_EQ(input_, destination);
    // An older, shorter source: its own size is what is copied.
    std::vector<BYTE> older = input_;
    DWORD shorter = 100;
    std::memcpy(older.data(), &shorter, 4);
    older[200] = 0x33;
    ASSERT_EQ(S_OK, settings_->ConvertDevMode(size_, destination.data(), older.data()));
    EXPECT_EQ(0, std::memcmp(destination.data(), older.data(), 100));
    EXPECT_EQ(input_[200], destination[200]);
    // And the given size bounds it too.
    std::vector<BYTE> small(16, 0);
    std::memcpy(small.data() + 4, "MOLT", 4);
    ASSERT_EQ(S_OK, settings_->ConvertDevMode(12, small.data(), input_.data()));
    EXPECT_EQ(0, std::memcmp(small.data(), input_.data(), 12));
    EXPECT_EQ(0, small[12]);

    std::vector<BYTE> foreign(size_, 0x5A);
    std::memcpy(foreign.data() + 4, "OTHR", 4);
    std::vector<BYTE> kept = foreign;
    EXPECT_EQ(S_OK, settings_->ConvertDevMode(size_, foreign.data(), input_.data()));
    EXPECT_EQ(kept, foreign);
    EXPECT_EQ(E_INVALIDARG, settings_->ConvertDevMode(size_, nullptr, input_.data()));
    EXPECT_EQ(E_INVALIDARG, settings_->ConvertDevMode(size_, foreign.data(), nullptr));
}

TEST_F(DevMode, MergeCopiesTheRepairedInputAndNeedsItsArguments) {
    Merge();
    EXPECT_EQ(input_, output_);
    DEVMODEW in = public_;
    EXPECT_EQ(E_FAIL, settings_->MergeDevMode(size_, nullptr, &in, output_.data(), input_.data()));
    EXPECT_EQ(E_FAIL, settings_->MergeDevMode(size_, &public_, &in, output_.data(), nullptr));
    EXPECT_EQ(E_FAIL, settings_->MergeDevMode(size_, &public_, &in, nullptr, input_.data()));
    // The smaller of the given size and the input's own size is copied.
    std::vector<BYTE> fresh(size_, 0);
    ASSERT_EQ(S_OK, settings_->MergeDevMode(8, &public_, &in, fresh.data(), input_.data()));
    EXPECT_EQ(0, std::memcmp(fresh.data(), input_.data(), 8));
    EXPECT_EQ(0, fresh[8]);
}

// Heap blocks of exactly the given size, so that AddressSanitizer sees every read beyond them.
TEST_F(DevMode, ConvertReadsNothingOfDevmodesTooShortForTheirHeader) {
    for (DWORD size = 0; size < 8; ++size) {
        auto source = std::make_unique<BYTE[]>(size);
        auto destination = std::make_unique<BYTE[]>(size);
        std::memset(source.get(), 0x11, size);
        std::memset(destination.get(), 0x22, size);
        EXPECT_EQ(E_INVALIDARG, settings_->ConvertDevMode(size, destination.get(), source.get()))
            << size;
        for (DWORD at = 0; at < size; ++at) {
            EXPECT_EQ(0x22, destination[at]) << size;
        }
    }
    // A header alone is enough.
    auto source = std::make_unique<BYTE[]>(8);
    auto destination = std::make_unique<BYTE[]>(8);
    const DWORD claimed = 393;
    std::memcpy(source.get(), &claimed, 4);
    std::memcpy(source.get() + 4, "MOLT", 4);
    std::memcpy(destination.get() + 4, "MOLT", 4);
    EXPECT_EQ(S_OK, settings_->ConvertDevMode(8, destination.get(), source.get()));
    EXPECT_EQ(0, std::memcmp(destination.get(), source.get(), 8));
}

TEST_F(DevMode, MergeRepairsTheOutputAndLeavesTheCallersInputAlone) {
    SetPrinter(L"_DUPLEXTYPE", 0);
    SetPrivate(L"_BKL_MODE", 0);
    public_.dmDuplex = DMDUP_VERTICAL;
    const std::vector<BYTE> before = input_;
    Merge();
    EXPECT_EQ(before, input_);
    EXPECT_EQ(1u, Merged(L"_BKL_MODE"));
    // Apart from the repaired field, the output is the input.
    std::vector<BYTE> expected = before;
    const BYTE repaired = 1;
    ASSERT_EQ(S_OK, settings_->SetValue(expected.data(), L"_BKL_MODE", &repaired, kLayoutDevMode));
    EXPECT_EQ(expected, output_);
}

TEST_F(DevMode, MergeIntoAShortOutputWritesOnlyTheGivenSize) {
    SetPrinter(L"_DUPLEXTYPE", 0);
    SetPrinter(L"_OPTOUTPUT", 1);
    for (DWORD size : {4u, 8u, 16u}) {
        public_.dmDuplex = DMDUP_VERTICAL;
        // The given size and a guard behind it: the repair's writes must not reach the guard.
        std::vector<BYTE> output(size + 64, 0xEE);
        DEVMODEW in = public_;
        ASSERT_EQ(S_OK, settings_->MergeDevMode(size, &public_, &in, output.data(), input_.data()));
        EXPECT_EQ(0, std::memcmp(output.data(), input_.data(), size)) << size;
        for (size_t at = size; at < output.size(); ++at) {
            EXPECT_EQ(0xEE, output[at]) << size << " " << at;
        }
    }
    auto tiny = std::make_unique<BYTE[]>(3);
    DEVMODEW in = public_;
    EXPECT_EQ(E_INVALIDARG, settings_->MergeDevMode(3, &public_, &in, tiny.get(), tiny.get()));
}

TEST_F(DevMode, Rule1WithoutDuplexUnitPrintsOneSidedAndDropsTheBooklet) {
    SetPrinter(L"_DUPLEXTYPE", 0);
    public_.dmDuplex = DMDUP_VERTICAL;
    Merge();
    EXPECT_EQ(DMDUP_SIMPLEX, public_.dmDuplex);
    EXPECT_TRUE(public_.dmFields & DM_DUPLEX);
    EXPECT_EQ(1u, Merged(L"_BKL_MODE"));

    // Already one-sided, or with a duplex unit: nothing changes.
    for (DWORD type : {0u, 1u}) {
        SetPrinter(L"_DUPLEXTYPE", type);
        SetPrivate(L"_BKL_MODE", 0);
        public_.dmFields = 0;
        public_.dmDuplex = type == 0 ? DMDUP_SIMPLEX : DMDUP_HORIZONTAL;
        Merge();
        EXPECT_EQ(type == 0 ? DMDUP_SIMPLEX : DMDUP_HORIZONTAL, public_.dmDuplex);
        EXPECT_EQ(0u, public_.dmFields);
        EXPECT_EQ(0u, Merged(L"_BKL_MODE"));
    }
}

TEST_F(DevMode, Rule2WithoutLargeSizeScalingOversizeSheetsFallBackToTheScalingTarget) {
    SetPrinter(L"_LRGSIZESCL", 0);
    SetPrivateWord(L"_SCALEDOCON_SIZE", DMPAPER_LETTER);
    for (SHORT size : {SHORT(DMPAPER_A2), SHORT(257)}) {
        SetPrivate(L"_SCALEDOCON_ENABLED", 1);
        SetPrivateWord(L"_SCALE_FACTOR", 50);
        public_.dmPaperSize = size;
        public_.dmFields = 0;
        Merge();
        EXPECT_EQ(DMPAPER_LETTER, public_.dmPaperSize) << size;
        EXPECT_EQ(DWORD(DM_PAPERSIZE), public_.dmFields);
        EXPECT_EQ(0u, Merged(L"_SCALEDOCON_ENABLED"));
        EXPECT_EQ(100u, Merged(L"_SCALE_FACTOR", 2));
    }
    // With large sizes, A3 is kept.
    SetPrivate(L"_SCALEDOCON_ENABLED", 1);
    public_.dmPaperSize = DMPAPER_A3;
    public_.dmFields = 0;
    Merge();
    EXPECT_EQ(DMPAPER_A3, public_.dmPaperSize);
    EXPECT_EQ(1u, Merged(L"_SCALEDOCON_ENABLED"));
    // Without them too, A3, B4 and 11x17 go to the scaling target.
    SetPrinter(L"_LRGSIZES", 0);
    SetPrivateWord(L"_SCALEDOCON_SIZE", DMPAPER_A4);
    for (SHORT size : {SHORT(DMPAPER_A3), SHORT(DMPAPER_B4), SHORT(DMPAPER_11X17)}) {
        public_.dmPaperSize = size;
        Merge();
        EXPECT_EQ(DMPAPER_A4, public_.dmPaperSize) << size;
    }
}

TEST_F(DevMode, Rule3WithoutLargeSizesEachLargeSizeHasItsSmallerOne) {
    SetPrinter(L"_LRGSIZES", 0);
    const SHORT pairs[][2] = {
        {DMPAPER_A3, DMPAPER_A4}, {DMPAPER_B4, DMPAPER_B5}, {DMPAPER_11X17, DMPAPER_LETTER}};
    for (const auto& pair : pairs) {
        SetPrivate(L"_SCALEDOCON_ENABLED", 1);
        SetPrivateWord(L"_SCALE_FACTOR", 70);
        public_.dmPaperSize = pair[0];
        public_.dmFields = 0;
        Merge();
        EXPECT_EQ(pair[1], public_.dmPaperSize) << pair[0];
        EXPECT_EQ(DWORD(DM_PAPERSIZE), public_.dmFields);
        EXPECT_EQ(DWORD(pair[1]), Merged(L"_SCALEDOCON_SIZE", 2));
        EXPECT_EQ(0u, Merged(L"_SCALEDOCON_ENABLED"));
        EXPECT_EQ(100u, Merged(L"_SCALE_FACTOR", 2));
    }
    // Other sizes are left, with their scaling.
    SetPrivate(L"_SCALEDOCON_ENABLED", 1);
    public_.dmPaperSize = DMPAPER_LEGAL;
    public_.dmFields = 0;
    Merge();
    EXPECT_EQ(DMPAPER_LEGAL, public_.dmPaperSize);
    EXPECT_EQ(0u, public_.dmFields);
    EXPECT_EQ(1u, Merged(L"_SCALEDOCON_ENABLED"));
}

TEST_F(DevMode, Rule4SourcesOfAbsentTraysBecomeAutomatic) {
    auto merged = [&](SHORT source) {
        public_.dmDefaultSource = source;
        public_.dmFields = 0;
        Merge();
        return public_.dmDefaultSource;
    };
    // Without optional trays nothing is checked.
    SetPrinter(L"_OPTSOURCE", 0);
    EXPECT_EQ(DMBIN_LOWER, merged(DMBIN_LOWER));
    SetPrinter(L"_OPTSOURCE", 1);
    EXPECT_EQ(DMBIN_AUTO, merged(DMBIN_LOWER));
    EXPECT_EQ(DWORD(DM_DEFAULTSOURCE), public_.dmFields);
    EXPECT_EQ(DMBIN_AUTO, merged(DMBIN_ENVELOPE));
    for (SHORT kept : {SHORT(DMBIN_UPPER), SHORT(DMBIN_MANUAL), SHORT(DMBIN_FORMSOURCE)}) {
        EXPECT_EQ(kept, merged(kept));
        EXPECT_EQ(0u, public_.dmFields);
    }
    // With the envelope feeder, only the envelope source itself goes.
    SetPrinter(L"_ENVFEEDER", 1);
    EXPECT_EQ(DMBIN_LOWER, merged(DMBIN_LOWER));
    EXPECT_EQ(DMBIN_AUTO, merged(DMBIN_ENVELOPE));
    // With 2 to 6 optional trays, only the sources above 522 less their number.
    SetPrinter(L"_ENVFEEDER", 0);
    SetPrinter(L"_OPTSOURCE", 4);
    EXPECT_EQ(DMBIN_LOWER, merged(DMBIN_LOWER));
    EXPECT_EQ(518, merged(518));
    EXPECT_EQ(DMBIN_AUTO, merged(519));
    SetPrinter(L"_OPTSOURCE", 7);
    EXPECT_EQ(600, merged(600));
}

TEST_F(DevMode, Rule5OutputBinWithoutItsOptionOrOnManualDuplex) {
    SetPrinter(L"_OPTOUTPUT", 1);
    SetPrivate(L"_MEDIAOUTPUT", 1);
    Merge();
    EXPECT_EQ(0u, Merged(L"_MEDIAOUTPUT"));

    SetPrinter(L"_OPTOUTPUT", 0);
    for (DWORD type : {1u, 2u, 3u}) {
        SetPrinter(L"_DUPLEXTYPE", type);
        SetPrivate(L"_MEDIAOUTPUT", 1);
        public_.dmDuplex = DMDUP_VERTICAL;
        Merge();
        EXPECT_EQ(type == 1 ? 1u : 0u, Merged(L"_MEDIAOUTPUT")) << type;
        SetPrivate(L"_MEDIAOUTPUT", 1);
        public_.dmDuplex = DMDUP_SIMPLEX;
        Merge();
        EXPECT_EQ(1u, Merged(L"_MEDIAOUTPUT")) << type;
    }
}

TEST_F(DevMode, Rule6JobRetentionNeedsStorage) {
    auto retained = [&](int ramDisk, int flash) {
        if (ramDisk >= 0) {
            SetPrinter(L"_RAMDISK", static_cast<DWORD>(ramDisk));
        }
        if (flash >= 0) {
            SetPrinter(L"_CFLASH", static_cast<DWORD>(flash));
        }
        SetPrivate(L"_JR_ENABLED", 1);
        Merge();
        return Merged(L"_JR_ENABLED");
    };
    EXPECT_EQ(1u, retained(1, 0));
    EXPECT_EQ(1u, retained(0, 1));
    EXPECT_EQ(0u, retained(0, 0));
}

// Printers whose description defines only one of the storage settings, or neither.
TEST(DevModeStorage, Rule6WithOneOrNoStorageSetting) {
    auto retained = [](const std::string& fields, const std::string& defaults) {
        sim::TestMachine machine;
        std::string descriptions =
            "*XPDSTRUCT: OEMDEVMODE\n{\n    *FIELD: _JR_ENABLED { *FIELDTYPE: BYTE }\n}\n"
            "*OEMDEVMODE: DEFAULT\n{\n    *_VERSION: 1\n    *_PDLTYPE: 42\n"
            "    *_JR_ENABLED: 1\n}\n"
            "*XPDSTRUCT: PRINTERSETTINGS\n{\n" +
            fields + "}\n*PRINTERSETTINGS: DEFAULT\n{\n    *_VERSION: 1\n    *_PDLTYPE: 42\n" +
            "    *_DUPLEXTYPE: 1\n" + defaults + "}\n";
        SettingsPrinter printer(Gpd(descriptions));
        SettingsPtr settings(printer.Create(common::kModeDocument));
        DWORD size = 0;
        settings->GetDevModeSize(&size);
        std::vector<BYTE> devmode(size);
        settings->GetDefaultDevMode(&size, devmode.data());
        DEVMODEW pub = {};
        pub.dmDuplex = DMDUP_SIMPLEX;
        pub.dmPaperSize = DMPAPER_A4;
        EXPECT_EQ(S_OK, settings->MergeDevMode(size, &pub, &pub, devmode.data(), devmode.data()));
        BYTE value = 0xFF;
        settings->GetValue(devmode.data(), L"_JR_ENABLED", &value, 1, kLayoutDevMode);
        return value;
    };
    const std::string ramDisk = "    *FIELD: _RAMDISK { *FIELDTYPE: BYTE }\n";
    const std::string flash = "    *FIELD: _CFLASH { *FIELDTYPE: BYTE }\n";
    EXPECT_EQ(0, retained(ramDisk, "    *_RAMDISK: 0\n"));
    EXPECT_EQ(1, retained(ramDisk, "    *_RAMDISK: 1\n"));
    EXPECT_EQ(0, retained(flash, "    *_CFLASH: 0\n"));
    EXPECT_EQ(1, retained(flash, "    *_CFLASH: 1\n"));
    EXPECT_EQ(1, retained("", ""));
}

} // namespace
} // namespace moltr::test
