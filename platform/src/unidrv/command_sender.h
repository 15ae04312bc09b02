#pragma once
// Sends a GPD's commands as the universal driver does: a *Cmd's bytes with each parameter
// formatted from its expression over the standard variables, and a *CallbackID handed to the
// render plug-in's CommandCallback with the values of the command's *Params.
#include <windows.h>
#include <prcomoem.h>
#include <vector>
#include "src/unidrv/gpd_expression.h"
#include "src/unidrv/gpd_model.h"

namespace moltr::unidrv {

class CommandSender {
public:
    // `plugin` may be null (a driver without render plug-in); `output` must outlive the sender,
    // which keeps a copy of `variables`.
    CommandSender(IPrintOemUni* plugin, PDEVOBJ devobj, std::vector<BYTE>* output,
                  const GpdVariables& variables)
        : plugin_(plugin), devobj_(devobj), output_(output), variables_(variables) {}

    // A parameter's value is limited to its [min,max] range; under max_repeat the command is
    // sent once per maximum the value holds and once more for the rest. %d and %D give at least
    // as many digits as their width asks for, with leading zeros. Answers S_OK; E_FAIL for a
    // callback without plug-in or a parameter that cannot be evaluated (nothing is written);
    // E_NOTIMPL for an argument type the driver does not format; else the plug-in's answer.
    HRESULT Send(const GpdCommand& command);
    // Each CommandCallback id the sender calls is appended to `ids` (null: none kept).
    void RecordCallbacks(std::vector<DWORD>* ids) { callbackIds_ = ids; }

private:
    HRESULT Callback(const GpdCommand& command);
    HRESULT Format(const GpdCommandPart& part, long long value, std::vector<BYTE>* bytes);

    IPrintOemUni* plugin_;
    PDEVOBJ devobj_;
    std::vector<BYTE>* output_;
    GpdVariables variables_;
    std::vector<DWORD>* callbackIds_ = nullptr;
};

} // namespace moltr::unidrv
