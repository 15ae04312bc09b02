#pragma once
// Host items of installable features and printer modes whose choice the plug-in also keeps in a
// one-byte setting of its own, written on commit when the printer's language or model has it.
// Where an own page shows the same setting as a check box, the two follow each other, so that the
// commit never writes back a choice the user took away in the other.
#include <windows.h>
#include "uiplugin/engine/opt_item_handler.h"

namespace moltr::ui {

// When a rule applies: a range of UIPPDL values, or (when models[0] is not 0) a set of model
// classes.
struct SettingFlagRule {
    DWORD helpIndex;
    UINT itemText;        // 0: keeps the host's name
    UINT firstOptionText; // 0: keeps the host's option texts
    DWORD pdlLow;
    DWORD pdlHigh;
    DWORD models[6];
    LPCWSTR field;
    bool printerSettings; // else the private devmode
    bool inverted;        // stores 1 - selection
    DWORD checkBoxId;     // the own pages' check box of the same setting; 0 for none
};

inline constexpr SettingFlagRule kPrnOptimize = {1034, 0,           0,     50,   59,
                                                 {},   L"_GRXMODE", false, true, 0};
inline constexpr SettingFlagRule kGrxMode = {30300, 30300,       30302, 40,   49,
                                             {},    L"_GRXMODE", false, true, 0};
inline constexpr SettingFlagRule kCompression = {30350,   30350,           30352, 0,    0,
                                                 {7, 16}, L"_COMPRESSION", false, true, 0};
inline constexpr SettingFlagRule kEnablePjl = {31050, 31050,         31052, 30,   59,
                                               {},    L"_ENABLEPJL", true,  true, 9252};
inline constexpr SettingFlagRule kEnableLargeSizes = {31100, 31100,        31102, 51,   51,
                                                      {},    L"_LRGSIZES", true,  true, 0};
inline constexpr SettingFlagRule kEnable1200Dpi = {31150, 31150,          31152, 51,   51,
                                                   {},    L"_USE1200DPI", true,  true, 9302};
inline constexpr SettingFlagRule kXlProtLevel = {31200, 31200,           31202, 51,    51,
                                                 {},    L"_XLPROTLEVEL", true,  false, 0};
inline constexpr SettingFlagRule kRamDisk = {
    31250, 31250, 31252, 0, 0, {4, 6, 7, 13, 15, 16}, L"_RAMDISK", true, true, 9202};
inline constexpr SettingFlagRule kCompactFlash = {31300,   31300,      31302, 0,    0,
                                                  {7, 16}, L"_CFLASH", true,  true, 9230};

// Whether `rule` applies to a printer of language `pdl` and model class `modelClass`.
bool RuleApplies(const SettingFlagRule& rule, DWORD pdl, DWORD modelClass);

template <const SettingFlagRule& Rule> class SettingFlagHandler : public VORTAOptItemHandler {
public:
    SettingFlagHandler(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);
    // The check box's change comes as a notification of its id: this item follows it.
    LONG Notify(DWORD itemId, DWORD value, DWORD flags) override;
    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
    void Commit(BOOL isCancel) override;

private:
    // The setting's value for a selection of this item, and back (the same rule both ways).
    static LONG Stored(LONG selection) { return Rule.inverted ? 1 - selection : selection; }
};

// Lets every host item of `factory` with a setting rule hear of its check box's changes.
void LinkSettingCheckBoxes(VORTAOptItemHandlerFactory& factory);

using VORTAOptItemHandlerPRNOPTIMIZE = SettingFlagHandler<kPrnOptimize>;
using VORTAOptItemHandlerGRXMODE = SettingFlagHandler<kGrxMode>;
using VORTAOptItemHandlerCOMPRESSION = SettingFlagHandler<kCompression>;
using VORTAOptItemHandlerENABLEPJL = SettingFlagHandler<kEnablePjl>;
using VORTAOptItemHandlerENABLELRGSIZES = SettingFlagHandler<kEnableLargeSizes>;
using VORTAOptItemHandlerENABLE1200DPI = SettingFlagHandler<kEnable1200Dpi>;
using VORTAOptItemHandlerXLPROTLEVEL = SettingFlagHandler<kXlProtLevel>;
using VORTAOptItemHandlerRAMDISK = SettingFlagHandler<kRamDisk>;
using VORTAOptItemHandlerCOMPACTFLASH = SettingFlagHandler<kCompactFlash>;

} // namespace moltr::ui
