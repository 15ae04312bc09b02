// The render plug-in's devmode merge (and conversion) on a hostile input devmode, as the universal
// driver hands it on: the public part (dmSize, dmDriverExtra and every field) and the private part
// behind it (its size, signature and every private field, and any bytes beyond) from the input,
// over the defaults; in the spooler or in an application. The output buffers are the plug-in's
// own size, as the driver makes them.
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <vector>
#include "fuzz_input.h"
#include "tests/render_plugin_printer.h"

namespace {

using moltr::fuzz::FuzzInput;
using moltr::test::RenderPluginPrinter;

constexpr BYTE kInSpooler = 0x01;
constexpr BYTE kConvert = 0x02;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static RenderPluginPrinter printer(MOLTR_SOURCE_DIR "/samples/MOLTR4KC.GPD");
    if (!printer.ready()) {
        __builtin_trap();
    }
    FuzzInput input(data, size);
    const BYTE flags = input.Byte();
    moltr::test::RunInSpooler((flags & kInSpooler) != 0);
    const std::vector<BYTE>& defaults = printer.privateDevMode();

    // The input devmode: its public part, then its private part and whatever the input adds.
    DEVMODEW publicIn = printer.publicDevMode();
    input.Over(reinterpret_cast<BYTE*>(&publicIn), sizeof publicIn);
    std::vector<BYTE> privateIn = defaults;
    privateIn.resize(std::max(privateIn.size(), input.left()), 0);
    input.Over(privateIn.data(), privateIn.size());

    DEVMODEW publicOut = printer.publicDevMode();
    std::vector<BYTE> privateOut = defaults;
    OEMDMPARAM param = {sizeof(OEMDMPARAM),
                        nullptr,
                        printer.printer(),
                        nullptr,
                        &publicIn,
                        &publicOut,
                        privateIn.data(),
                        privateOut.data(),
                        static_cast<DWORD>(privateOut.size())};
    printer.plugin()->DevMode((flags & kConvert) != 0 ? OEMDM_CONVERT : OEMDM_MERGE, &param);
    return 0;
}
