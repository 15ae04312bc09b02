// The render plug-in's command callbacks under hostile settings: the private and public devmodes
// of the job and the printer settings the plug-in holds, each changed by the input, then a run of
// callbacks with any ids and parameters, in the spooler or in an application. The PDEV is enabled
// once for the run, as enabling reads the plug-in's resources from its files; an input may ask
// for a PDEV of its own, enabled on its devmodes.
//
// Input: flags, the callback count, each callback (id, parameter count, parameters), then the
// private devmode, the public devmode and the printer settings, each XORed over its default.
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "common/drv_settings.h"
#include "fuzz_input.h"
#include "renderplugin/render_state.h"
#include "tests/render_plugin_printer.h"
#include "store/image_layout.h"
#include "store/xpr.h"

namespace {

using moltr::fuzz::FuzzInput;
using moltr::test::RenderPluginDevice;
using moltr::test::RenderPluginPrinter;

constexpr BYTE kInSpooler = 0x01;
// Bits that must all be 1 for a PDEV of the input's own: few inputs pay for enabling one.
constexpr BYTE kOwnDevice = 0xE0;
constexpr size_t kMostCallbacks = 32;
constexpr BYTE kMostParameters = 8;

// A printer setting held in place in the settings block: numbers and character arrays (texts and
// sub-structures are references, which no input can carry).
struct PrinterField {
    std::u16string name;
    std::vector<BYTE> defaults;
};

std::vector<PrinterField> PrinterFields(const RenderPluginPrinter& printer) {
    using namespace moltr::store;
    std::vector<PrinterField> fields;
    StructureRecord* record = nullptr;
    StructureHandle handle = nullptr;
    if (OpenByHandle(printer.printer(), L"PRINTERSETTINGS", &record) >= kClassError ||
        GetStructure(record, L"PRINTERSETTINGS", &handle, nullptr) != kClassSuccess) {
        return fields;
    }
    const auto* descriptors = reinterpret_cast<const BYTE*>(handle->fields);
    for (WORD i = 0; i < handle->fieldCount; ++i) {
        FieldDescriptor field;
        std::memcpy(&field, descriptors + i * sizeof field, sizeof field);
        const DWORD size = static_cast<DWORD>(field.elementSize) * field.elementCount;
        if (field.type == kTypeString || field.type >= kTypeXpdStruct || size == 0 ||
            lstrcmpW(field.name, L"TAG") == 0) {
            continue;
        }
        PrinterField kept{reinterpret_cast<const char16_t*>(field.name), std::vector<BYTE>(size)};
        GetField(handle, field.name, kept.defaults.data(), size);
        fields.push_back(std::move(kept));
    }
    Close(&record);
    return fields;
}

// Puts the plug-in's own printer settings back to their defaults, or with `input` each field its
// default with the input over it.
void PutPrinterSettings(moltr::common::IDrvSettings* settings,
                        const std::vector<PrinterField>& fields, FuzzInput* input) {
    for (const PrinterField& field : fields) {
        auto* at = static_cast<BYTE*>(
            settings->GetValuePointer(nullptr, reinterpret_cast<LPCWSTR>(field.name.c_str()),
                                      moltr::common::kLayoutPrinterSettings));
        std::memcpy(at, field.defaults.data(), field.defaults.size());
        if (input != nullptr) {
            input->Over(at, field.defaults.size());
        }
    }
}

struct Callback {
    DWORD id;
    std::vector<DWORD> parameters;
};

std::vector<Callback> ReadCallbacks(FuzzInput& input) {
    std::vector<Callback> callbacks(input.Byte() % (kMostCallbacks + 1));
    for (Callback& callback : callbacks) {
        callback.id = input.Word();
        callback.parameters.resize(input.Byte() % (kMostParameters + 1));
        for (DWORD& parameter : callback.parameters) {
            parameter = input.Dword();
        }
    }
    return callbacks;
}

// Lays the input over the device's devmodes, each from its default, in the buffers the PDEV reads.
void ChangeDevModes(const RenderPluginPrinter& printer, RenderPluginDevice& device,
                    FuzzInput& input) {
    const std::vector<BYTE>& defaults = printer.privateDevMode();
    std::copy(defaults.begin(), defaults.end(), device.privateDevMode.begin());
    input.Over(device.privateDevMode.data(), device.privateDevMode.size());
    device.publicDevMode = printer.publicDevMode();
    input.Over(reinterpret_cast<BYTE*>(&device.publicDevMode), sizeof device.publicDevMode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static RenderPluginPrinter printer(MOLTR_SOURCE_DIR "/samples/MOLTR4KC.GPD");
    static const std::vector<PrinterField> fields = PrinterFields(printer);
    static RenderPluginDevice shared(printer);
    static const bool sharedEnabled = printer.ready() && shared.Enable();
    if (!sharedEnabled || fields.empty()) {
        __builtin_trap();
    }
    FuzzInput input(data, size);
    const BYTE flags = input.Byte();
    moltr::test::RunInSpooler((flags & kInSpooler) != 0);
    const std::vector<Callback> callbacks = ReadCallbacks(input);
    std::unique_ptr<RenderPluginDevice> own;
    RenderPluginDevice* device = &shared;
    if ((flags & kOwnDevice) == kOwnDevice) {
        own = std::make_unique<RenderPluginDevice>(printer);
        device = own.get();
    }
    ChangeDevModes(printer, *device, input);
    if (own != nullptr && !own->Enable()) {
        return 0;
    }
    // The next input starts from the defaults again.
    moltr::common::IDrvSettings* settings = moltr::render::StateOf(&device->devobj)->settings;
    PutPrinterSettings(settings, fields, &input);
    for (const Callback& callback : callbacks) {
        INT result = 0;
        printer.plugin()->CommandCallback(&device->devobj, callback.id,
                                          static_cast<DWORD>(callback.parameters.size()),
                                          const_cast<PDWORD>(callback.parameters.data()), &result);
    }
    PutPrinterSettings(settings, fields, nullptr);
    printer.output.clear();
    return 0;
}
