#pragma once
// The universal driver's own option items, built from the GPD's features and the devmode the way
// its user interface builds them for compstui: on the document sheet the items the public devmode
// names (orientation, copies with collation, paper size, source, media type, duplex, colour,
// print quality, scale, TrueType, pages per sheet), each with its DMPUB_ id and a help index, and
// one list item per other document feature; on the printer sheet one list item per installable
// feature (*FeatureType: PRINTER_PROPERTY) and the form-to-tray table, one item per tray.
// Texts are the GPD's *Name as it stands (a "#" name included), else its *rcNameID: a standard
// display name, or the string of the driver's resource module. The items' UserData tell the
// items apart: features that occur once each have one record per feature.
#include <windows.h>
#include <compstui.h>
#include <deque>
#include <string>
#include <vector>
#include "src/unidrv/gpd_model.h"

namespace moltr::unidrv {

class DisplayNames;

// The help indices the driver gives its items; a feature with a *HelpIndex of its own has that.
inline constexpr DWORD kHelpStandardBase = 1000; // + the item's DMPUB_ id
inline constexpr DWORD kHelpDocumentFeature = 1019;
inline constexpr DWORD kHelpInstallableFeature = 1025;
inline constexpr DWORD kHelpTrayForm = 1027;

// What one item stands for.
struct StandardItemRecord {
    enum class Kind {
        kPublicField, // a public devmode field, by the item's DMPubID
        kDocumentFeature,
        kInstallable,
        kTray,
    };
    Kind kind = Kind::kPublicField;
    BYTE dmPubId = DMPUB_NONE;
    size_t feature = 0; // the GPD feature it shows, by position
    size_t option = 0;  // for a tray: its InputBin option
};

// One printer's choices of its printer sheet: the option keyword of each installable feature
// and the form of each tray, by the tray's option keyword.
struct PrinterChoices {
    std::vector<std::pair<std::string, std::string>> features;
    std::vector<std::pair<std::string, std::u16string>> trayForms;
};

class StandardItems {
public:
    StandardItems(const GpdModel& model, const DisplayNames& names);
    StandardItems(const StandardItems&) = delete;
    StandardItems& operator=(const StandardItems&) = delete;

    // The document sheet's items, showing the values of a whole devmode (public part followed by
    // the driver's part).
    void BuildDocument(const DEVMODEW& devmode);
    // The printer sheet's items, showing `choices` (defaults for what they lack).
    void BuildPrinter(const PrinterChoices& choices);

    std::vector<OPTITEM>& items() { return items_; }

    // The selections of `items` (this object's, wherever they now live) written into a whole
    // devmode: the public fields flagged in dmFields, the pages per sheet in the driver's part.
    void WriteDevmode(const OPTITEM* items, size_t count, DEVMODEW* devmode) const;
    // One item's selection written into the devmode: an item of this object's by what it
    // stands for, an item of the plug-in's that carries a DMPUB_ id by its option's value.
    void WriteItem(const OPTITEM& item, DEVMODEW* devmode) const;
    // The selections of `items` as printer choices.
    PrinterChoices ReadPrinterChoices(const OPTITEM* items, size_t count) const;

    // The record an item of this object carries; null for anybody else's item.
    const StandardItemRecord* RecordOf(const OPTITEM& item) const;

private:
    LPWSTR Text(std::u16string text);
    LPWSTR FeatureName(const GpdFeature& feature);
    LPWSTR OptionName(const GpdOption& option);
    OPTITEM& NewItem(LPWSTR name, StandardItemRecord record, DWORD helpIndex);
    // A list item over the options of `feature`, `selected` chosen.
    void AddFeatureList(size_t feature, BYTE dmPubId, StandardItemRecord::Kind kind, DWORD help,
                        size_t selected);
    // An item over texts and values of its own; `value` chooses the first option carrying it.
    void AddValueList(BYTE dmPubId, const std::vector<std::pair<std::u16string, LONG>>& options,
                      LONG value);
    // A type of `kind` over `params`, both kept as long as the items.
    OPTTYPE* NewType(BYTE kind, std::vector<OPTPARAM> params);
    void AddCount(BYTE dmPubId, const char16_t* name, LONG minimum, LONG maximum, LONG value);
    void Clear();

    const GpdModel& model_;
    const DisplayNames& names_;
    std::vector<OPTITEM> items_;
    std::deque<std::u16string> texts_;
    std::deque<std::vector<OPTPARAM>> params_;
    std::deque<OPTTYPE> types_;
    std::deque<StandardItemRecord> records_;
    std::deque<EXTCHKBOX> checkBoxes_;
};

} // namespace moltr::unidrv
