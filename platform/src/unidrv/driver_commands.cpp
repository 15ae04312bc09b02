#include "src/unidrv/driver_commands.h"

#include "src/unidrv/gpd_reader.h"

namespace moltr::unidrv {
namespace {

struct StandardCommand {
    const char* name;
    const char* text;
};

// The PCL commands a GPD need not give, as a *Cmd value.
constexpr StandardCommand kStandardCommands[] = {
    {"CmdXMoveAbsolute", "\"<1B>*p\" %d{DestX} \"X\""},
    {"CmdYMoveAbsolute", "\"<1B>*p\" %d{DestY} \"Y\""},
    {"CmdSetSrcBmpWidth", "\"<1B>*r\" %d{RasterDataWidthInBytes * 8} \"S\""},
    {"CmdBeginRaster", "\"<1B>*r1A\""},
    {"CmdEndRaster", "\"<1B>*rC\""},
    {"CmdEnableRLE", "\"<1B>*b1M\""},
    {"CmdDisableCompression", "\"<1B>*b0M\""},
    {"CmdSendRedData", "\"<1B>*b\" %d{NumOfDataBytes} \"V\""},
    {"CmdSendGreenData", "\"<1B>*b\" %d{NumOfDataBytes} \"V\""},
    {"CmdSendBlueData", "\"<1B>*b\" %d{NumOfDataBytes} \"W\""},
    {"CmdSendBlockData", "\"<1B>*b\" %d{NumOfDataBytes} \"W\""},
    {"CmdFF", "\"<0C>\""},
};

} // namespace

DriverCommands::DriverCommands(const GpdModel& model, const GpdConfiguration& configuration,
                               IPrintOemUni* plugin, PDEVOBJ devobj, std::vector<BYTE>* output,
                               std::vector<DWORD>* callbackIds)
    : model_(model), configuration_(configuration), output_(output),
      sender_(plugin, devobj, output, [this](std::string_view name, long long* value) {
          auto found = values_.find(name);
          if (found == values_.end()) {
              return false;
          }
          *value = found->second;
          return true;
      }) {
    sender_.RecordCallbacks(callbackIds);
    for (const StandardCommand& known : kStandardCommands) {
        GpdCommand command;
        command.name = known.name;
        std::string message;
        // The texts are the driver's own and always parse.
        ParseGpdCommandString(known.text, &command.parts, &message);
        standard_.emplace(known.name, std::move(command));
    }
}

void DriverCommands::Set(std::string_view variable, long long value) {
    values_.insert_or_assign(std::string(variable), value);
}

bool DriverCommands::Given(std::string_view name) const {
    return ResolvedCommand(model_, configuration_, model_.global, name) != nullptr;
}

HRESULT DriverCommands::Send(std::string_view name) {
    const GpdCommand* command = ResolvedCommand(model_, configuration_, model_.global, name);
    if (!command) {
        auto standard = standard_.find(name);
        command = standard != standard_.end() ? &standard->second : nullptr;
    }
    return command ? sender_.Send(*command) : E_NOTIMPL;
}

HRESULT DriverCommands::SendSection(GpdSection section) {
    for (const GpdCommand* command : SectionCommands(model_, configuration_, section)) {
        HRESULT result = sender_.Send(*command);
        // A callback that fails keeps what it wrote and the job goes on, as the plug-in's own
        // failures leave the stream as it is.
        if (FAILED(result) && !command->callback) {
            return result;
        }
    }
    return S_OK;
}

bool DriverCommands::SectionCallsBack(GpdSection section) const {
    for (const GpdCommand* command : SectionCommands(model_, configuration_, section)) {
        if (command->callback) {
            return true;
        }
    }
    return false;
}

} // namespace moltr::unidrv
