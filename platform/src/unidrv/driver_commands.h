#pragma once
// The commands the driver sends by their names (CmdBeginRaster, CmdSendBlockData, CmdFF ...):
// the GPD's own, with the *switch cases of the configuration in force, else the standard PCL
// bytes; their parameters read the standard variables the driver sets here.
#include <windows.h>
#include <map>
#include <string>
#include <string_view>
#include "src/unidrv/command_sender.h"
#include "src/unidrv/gpd_configuration.h"

namespace moltr::unidrv {

class DriverCommands {
public:
    // `model` and `configuration` must outlive the object; its sender writes to `output`.
    DriverCommands(const GpdModel& model, const GpdConfiguration& configuration,
                   IPrintOemUni* plugin, PDEVOBJ devobj, std::vector<BYTE>* output,
                   std::vector<DWORD>* callbackIds);
    // The sender's variables read this object's values.
    DriverCommands(const DriverCommands&) = delete;
    DriverCommands& operator=(const DriverCommands&) = delete;

    void Set(std::string_view variable, long long value);
    // Where the commands go: the job's output, for data that follows a command.
    std::vector<BYTE>& Output() { return *output_; }
    // Whether the GPD gives command `name` itself.
    bool Given(std::string_view name) const;
    // Sends command `name`; E_NOTIMPL for a name that neither the GPD nor the standard set has.
    HRESULT Send(std::string_view name);
    // Sends the commands of a job section in their order; the first failure of a command string
    // ends it, a failed callback does not.
    HRESULT SendSection(GpdSection section);
    // Whether a section holds a command that calls back the plug-in.
    bool SectionCallsBack(GpdSection section) const;

private:
    const GpdModel& model_;
    const GpdConfiguration& configuration_;
    std::vector<BYTE>* output_;
    std::map<std::string, long long, std::less<>> values_;
    std::map<std::string, GpdCommand, std::less<>> standard_;
    CommandSender sender_;
};

} // namespace moltr::unidrv
