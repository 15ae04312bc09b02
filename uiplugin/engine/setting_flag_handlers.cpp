#include "uiplugin/engine/setting_flag_handlers.h"
#include "uiplugin/engine/item_identity.h"
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

template <const SettingFlagRule& Rule>
LONG SettingFlagHandler<Rule>::Notify(DWORD itemId, DWORD value, DWORD flags) {
    if (Rule.checkBoxId == 0 || itemId != Rule.checkBoxId) {
        return VORTAOptItemHandler::Notify(itemId, value, flags);
    }
    const VORTAOptItemHandler* checkBox = Factory()->Find(Rule.checkBoxId);
    const LONG wanted = checkBox != nullptr ? Stored(checkBox->Item()->Sel) : GetSelection(0);
    if (wanted >= 0 && static_cast<DWORD>(wanted) < GetOptionCount()) {
        SetSelection(wanted, nullptr);
    }
    return kNotifyAccept;
}

template <const SettingFlagRule& Rule>
LONG SettingFlagHandler<Rule>::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LONG old = VORTAOptItemHandler::SetSelection(index, source);
    if (Rule.checkBoxId != 0 && GetSelection(0) != old) {
        SetShadow(Rule.checkBoxId, Stored(GetSelection(0)));
    }
    return old;
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

namespace {

constexpr const SettingFlagRule* kCheckBoxRules[] = {&kEnablePjl, &kEnable1200Dpi, &kRamDisk,
                                                     &kCompactFlash};

} // namespace

void LinkSettingCheckBoxes(VORTAOptItemHandlerFactory& factory) {
    for (const SettingFlagRule* rule : kCheckBoxRules) {
        VORTAOptItemHandler* host = factory.Find(rule->helpIndex | kHelpIndexId);
        VORTAOptItemHandler* checkBox = factory.Find(rule->checkBoxId);
        if (host != nullptr && checkBox != nullptr) {
            checkBox->AddNotifyNode(host);
        }
    }
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
