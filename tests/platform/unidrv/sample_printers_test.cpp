// The sample printers' GPDs as the universal driver reads them: the callbacks each job section
// sends under the printer settings, the form names of the paper sizes and the media type codes.
#include "src/unidrv/gpd_configuration.h"
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/paper_capabilities.h"

#include "sim/machine.h"
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

using namespace moltr::unidrv;

const std::filesystem::path kSamples = MOLTR_SAMPLES_DIR;

std::string SampleText(const char* name) {
    std::ifstream file(kSamples / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The sample with one RTI symbol replaced, as the UI plug-in rewrites it for a printer setting.
GpdModel Sample(const char* name, const std::string& symbol = "", const std::string& by = "") {
    std::string text = SampleText(name);
    EXPECT_FALSE(text.empty()) << name;
    if (!symbol.empty()) {
        size_t at = text.find("*Define: " + symbol + "\r\n");
        EXPECT_NE(at, std::string::npos) << symbol;
        text.replace(at + 9, symbol.size(), by);
    }
    GpdReadResult result = ReadGpdText(text, name, nullptr);
    EXPECT_TRUE(result.ok) << result.error.Text();
    return std::move(result.model);
}

// What a section sends: callback ids as numbers, command bytes in brackets as hex.
std::string Sent(const GpdModel& model, const GpdConfiguration& configuration, GpdSection section) {
    std::string sent;
    for (const GpdCommand* command : SectionCommands(model, configuration, section)) {
        sent += sent.empty() ? "" : " ";
        if (command->callback) {
            sent += std::to_string(command->callbackId);
            continue;
        }
        std::string bytes;
        for (const GpdCommandPart& part : command->parts) {
            bytes += part.bytes;
        }
        sent += "[" + bytes.substr(0, 2) + "]";
    }
    return sent;
}

DEVMODEW Devmode(DWORD fields) {
    DEVMODEW devmode{};
    devmode.dmSize = sizeof(devmode);
    devmode.dmFields = fields;
    return devmode;
}

constexpr const char* kSampleFiles[] = {"MOLTR4KC.GPD", "MOLTR4KX.GPD"};

TEST(SamplePrinters, BothReadAsTheModelsTheyName) {
    GpdModel pcl5 = Sample("MOLTR4KC.GPD");
    GpdModel pclxl = Sample("MOLTR4KX.GPD");
    EXPECT_EQ(FindAttribute(pcl5.global, "*ModelName")->value, "\"MOLTR ColorLaser 4000 PCL5c\"");
    EXPECT_EQ(FindAttribute(pclxl.global, "*ModelName")->value, "\"MOLTR ColorLaser 4000 PCL6\"");
    EXPECT_EQ(FindAttribute(pclxl.global, "*Personality")->value, "\"PCLXL\"");
    EXPECT_TRUE(pcl5.standardNames);
    EXPECT_TRUE(pclxl.standardNames);
}

TEST(SamplePrinters, TheJobHeaderIsPjlOrEjlByThePrinterSetting) {
    for (const char* file : kSampleFiles) {
        GpdModel pjl = Sample(file);
        GpdModel ejl = Sample(file, "_ENABLEPJL_01", "_ENABLEPJL_00");
        EXPECT_EQ(Sent(pjl, DefaultConfiguration(pjl), GpdSection::kJobSetup), "303 209 304")
            << file;
        EXPECT_EQ(Sent(ejl, DefaultConfiguration(ejl), GpdSection::kJobSetup), "302 274 304")
            << file;
        EXPECT_EQ(Sent(pjl, DefaultConfiguration(pjl), GpdSection::kJobFinish), "450") << file;
    }
}

TEST(SamplePrinters, DuplexAndCollatedCopiesComeFromTheDevmode) {
    GpdModel pcl5 = Sample("MOLTR4KC.GPD");
    GpdModel pclxl = Sample("MOLTR4KX.GPD");
    DEVMODEW devmode = Devmode(DM_DUPLEX | DM_COLLATE);
    devmode.dmDuplex = DMDUP_VERTICAL;
    devmode.dmCollate = DMCOLLATE_TRUE;
    EXPECT_EQ(Sent(pcl5, ConfigurationFromDevmode(pcl5, &devmode), GpdSection::kJobSetup),
              "303 208 305");
    devmode.dmDuplex = DMDUP_HORIZONTAL;
    EXPECT_EQ(Sent(pclxl, ConfigurationFromDevmode(pclxl, &devmode), GpdSection::kJobSetup),
              "303 208 306");
    // Copies: one per job when the printer collates, else PCL copies or PCL XL page copies.
    EXPECT_EQ(Sent(pclxl, ConfigurationFromDevmode(pclxl, &devmode), GpdSection::kPageFinish),
              "310");
    EXPECT_EQ(Sent(pclxl, DefaultConfiguration(pclxl), GpdSection::kPageFinish), "311");
    std::string collated =
        Sent(pcl5, ConfigurationFromDevmode(pcl5, &devmode), GpdSection::kDocSetup);
    std::string uncollated = Sent(pcl5, DefaultConfiguration(pcl5), GpdSection::kDocSetup);
    EXPECT_NE(collated.find(" 308"), std::string::npos) << collated;
    EXPECT_NE(uncollated.find(" 309"), std::string::npos) << uncollated;
}

TEST(SamplePrinters, ThePageSideCallbackFollowsThePaperSourceAndColourOnlyInPclXl) {
    GpdModel pcl5 = Sample("MOLTR4KC.GPD");
    GpdModel pclxl = Sample("MOLTR4KX.GPD");
    EXPECT_EQ(Sent(pcl5, DefaultConfiguration(pcl5), GpdSection::kPageSetup), "[\x1b*] 110 300");
    EXPECT_EQ(Sent(pclxl, DefaultConfiguration(pclxl), GpdSection::kPageSetup),
              "120 [\xC0\x02] 300 [\xC8\xC1] [C] [\xC0\x02] 154");
    DEVMODEW mono = Devmode(DM_COLOR);
    mono.dmColor = DMCOLOR_MONOCHROME;
    EXPECT_EQ(Sent(pclxl, ConfigurationFromDevmode(pclxl, &mono), GpdSection::kPageSetup),
              "120 [\xC0\x02] 300 [\xC8\xC1] [C] [\xC0\x01]");
}

TEST(SamplePrinters, EveryPaperSourceIdIsOfferedWithTheSourcesInstalled) {
    const std::pair<const char*, std::set<unsigned long>> expected[] = {
        {"MOLTR4KC.GPD", {110, 111, 112, 113, 114, 115, 116, 118}},
        {"MOLTR4KX.GPD", {120, 121, 122, 123, 124, 125, 126, 128}},
    };
    for (const auto& [file, ids] : expected) {
        GpdModel model = Sample(file, "_ENVFEEDER_00", "_ENVFEEDER_01");
        std::set<unsigned long> offered;
        for (const GpdOption& option : model.Feature("InputBin")->options) {
            for (const GpdCommand& command : option.body.commands) {
                offered.insert(command.callbackId);
            }
        }
        EXPECT_EQ(offered, ids) << file;
    }
}

TEST(SamplePrinters, PaperNamesAreTheDriversFormNames) {
    constexpr std::pair<WORD, const char*> kForms[] = {
        {1, "LT 8.5 x 11 in"},     {5, "LGL 8.5 x 14 in"},        {6, "HLT 5.5 x 8.5 in"},
        {7, "EXE 7.25 x 10.5 in"}, {9, "A4 210 x 297 mm"},        {11, "A5 148 x 210 mm"},
        {13, "B5 182 x 257 mm"},   {14, "GLG 8.5 x 13 in"},       {20, "C10 4.125 x 9.5 in"},
        {27, "DL 110 x 220 mm"},   {28, "C5 162 x 229 mm"},       {31, "C6 114 x 162 mm"},
        {34, "IB5 176 x 250 mm"},  {37, "MON 3.875 x 7.5 in"},    {60, "F4 210 x 330 mm"},
        {258, "GLT 8 x 10.5 in"},  {259, "A3F 311.2 x 457.2 mm"},
    };
    moltr::sim::TestMachine machine; // the code page of the names
    for (const char* file : kSampleFiles) {
        GpdModel model = Sample(file);
        DWORD count = PaperCapabilities(model, DC_PAPERS, nullptr);
        std::vector<WORD> codes(count);
        std::vector<WCHAR> names(count * kPaperNameChars);
        ASSERT_EQ(PaperCapabilities(model, DC_PAPERS, codes.data()), count);
        ASSERT_EQ(PaperCapabilities(model, DC_PAPERNAMES, names.data()), count);
        for (const auto& [code, form] : kForms) {
            auto at = std::find(codes.begin(), codes.end(), code);
            ASSERT_NE(at, codes.end()) << file << " " << code;
            EXPECT_EQ(moltr::sim::Utf8(names.data() + (at - codes.begin()) * kPaperNameChars), form)
                << file;
        }
    }
}

TEST(SamplePrinters, MediaTypesOfferEveryCodeFrom521To541) {
    for (const char* file : kSampleFiles) {
        GpdModel model = Sample(file);
        std::set<long long> codes;
        for (const GpdOption& option : model.Feature("MediaType")->options) {
            long long code = 0;
            ASSERT_TRUE(ParseGpdInteger(FindAttribute(option.body, "*OptionID")->value, &code));
            codes.insert(code);
            DEVMODEW devmode = Devmode(DM_MEDIATYPE);
            devmode.dmMediaType = static_cast<DWORD>(code);
            EXPECT_EQ(ConfigurationFromDevmode(model, &devmode).Selected(model, "MediaType"),
                      &option);
        }
        std::set<long long> expected;
        for (long long code = 521; code <= 541; ++code) {
            expected.insert(code);
        }
        EXPECT_EQ(codes, expected) << file;
    }
}

} // namespace
