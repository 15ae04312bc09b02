// The universal driver's GPD reader on arbitrary text (every *Include reads the same text again),
// then whatever it accepts configured by a devmode made of the input's first bytes: each job
// section's commands with their parameters evaluated, and the paper capabilities.
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include "sim/machine.h"
#include "src/unidrv/gpd_configuration.h"
#include "src/unidrv/gpd_expression.h"
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/paper_capabilities.h"

namespace {

using namespace moltr::unidrv;

void Exercise(const GpdModel& model, const GpdConfiguration& configuration) {
    auto variables = [](std::string_view name, long long* value) {
        *value = static_cast<long long>(name.size()) - 3;
        return true;
    };
    for (int section = 0; section <= static_cast<int>(GpdSection::kJobFinish); ++section) {
        for (const GpdCommand* command :
             SectionCommands(model, configuration, static_cast<GpdSection>(section))) {
            for (const GpdCommandPart& part : command->parts) {
                long long value = 0;
                std::string message;
                EvaluateGpdExpression(part.expression, variables, &value, &message);
            }
        }
    }
    for (const GpdFeature& feature : model.features) {
        ResolvedAttribute(model, configuration, feature.body, "*PrintableArea");
        for (const GpdOption& option : feature.options) {
            ResolvedAttribute(model, configuration, option.body, "*PrintableArea");
        }
    }
    for (WORD capability : {WORD(DC_PAPERS), WORD(DC_PAPERNAMES)}) {
        DWORD count = PaperCapabilities(model, capability, nullptr);
        std::vector<WCHAR> output(static_cast<size_t>(count) * kPaperNameChars + 1);
        PaperCapabilities(model, capability, output.data());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The code page of the paper names needs a machine; one for the whole run is enough.
    static moltr::sim::TestMachine machine;
    const std::string text(reinterpret_cast<const char*>(data), size);
    GpdReadResult result = ReadGpdText(text, "FUZZ.GPD", [&](const std::string&, std::string* out) {
        *out = text;
        return true;
    });
    if (!result.ok) {
        return 0;
    }
    DEVMODEW devmode{};
    std::memcpy(&devmode, data, std::min(size, sizeof(devmode)));
    devmode.dmSize = std::min<WORD>(devmode.dmSize, sizeof(devmode));
    Exercise(result.model, DefaultConfiguration(result.model));
    Exercise(result.model, ConfigurationFromDevmode(result.model, &devmode));
    return 0;
}
