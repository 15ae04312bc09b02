#include "uiplugin/engine/setting_flag_handlers.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/relabel.h"

namespace moltr::ui {

bool RuleApplies(const SettingFlagRule& rule, DWORD pdl, DWORD modelClass) {
    if (rule.models[0] == 0) {
        return pdl >= rule.pdlLow && pdl <= rule.pdlHigh;
    }
    for (DWORD model : rule.models) {
        if (model != 0 && model == modelClass) {
            return true;
        }
    }
    return false;
}

template <const SettingFlagRule& Rule>
SettingFlagHandler<Rule>::SettingFlagHandler(VORTAOptItemHandlerFactory* factory, POPTITEM item,
                                             DWORD itemId)
    : VORTAOptItemHandler(factory, item, itemId) {
    Relabel(*this, Rule.itemText, Rule.firstOptionText);
}

template <const SettingFlagRule& Rule> void SettingFlagHandler<Rule>::Commit(BOOL isCancel) {
    const FactoryEnvironment& environment = Factory()->Environment();
    if (isCancel || !RuleApplies(Rule, environment.pdl, environment.modelClass)) {
        return;
    }
    const LONG selection = GetSelection(0);
    StoreSetting(Rule.field, static_cast<DWORD>(Rule.inverted ? 1 - selection : selection),
                 Rule.printerSettings);
}

template class SettingFlagHandler<kPrnOptimize>;
template class SettingFlagHandler<kGrxMode>;
template class SettingFlagHandler<kCompression>;
template class SettingFlagHandler<kEnablePjl>;
template class SettingFlagHandler<kEnableLargeSizes>;
template class SettingFlagHandler<kEnable1200Dpi>;
template class SettingFlagHandler<kXlProtLevel>;
template class SettingFlagHandler<kRamDisk>;
template class SettingFlagHandler<kCompactFlash>;

} // namespace moltr::ui
