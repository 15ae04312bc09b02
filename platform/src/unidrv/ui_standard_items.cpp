#include "src/unidrv/ui_standard_items.h"

#include <cstddef>
#include <cstring>
#include "sim/utf.h"
#include "src/unidrv/driver_devmode.h"
#include "src/unidrv/gpd_configuration.h"
#include "src/unidrv/ui_display_names.h"

namespace moltr::unidrv {
namespace {

// The features whose choice a public devmode field holds, in the order the sheet shows them.
struct FieldFeature {
    const char* feature;
    BYTE dmPubId;
};
constexpr FieldFeature kFieldFeatures[] = {
    {"Orientation", DMPUB_ORIENTATION}, {"PaperSize", DMPUB_FORMNAME},
    {"InputBin", DMPUB_DEFSOURCE},      {"MediaType", DMPUB_MEDIATYPE},
    {"Duplex", DMPUB_DUPLEX},           {"ColorMode", DMPUB_COLOR},
    {"Resolution", DMPUB_PRINTQUALITY},
};
// Shown inside the copies item, not as an item of its own.
constexpr const char* kCollateFeature = "Collate";

constexpr LONG kMaxScale = 400;
constexpr LONG kDefaultMaxCopies = 999;
constexpr LONG kPagesPerSheet[] = {1, 2, 4, 6, 9, 16};

bool IsFieldFeature(const std::string& name) {
    for (const FieldFeature& field : kFieldFeatures) {
        if (name == field.feature) {
            return true;
        }
    }
    return name == kCollateFeature;
}

bool IsInstallable(const GpdFeature& feature) {
    const GpdAttribute* type = FindAttribute(feature.body, "*FeatureType");
    return type && SameGpdKeyword(TrimGpdBlanks(type->value), "PRINTER_PROPERTY");
}

LONG MaxCopies(const GpdModel& model) {
    const GpdAttribute* attribute = FindAttribute(model.global, "*MaxCopies");
    long long value = 0;
    return attribute && ParseGpdInteger(attribute->value, &value) && value > 0
               ? static_cast<LONG>(value)
               : kDefaultMaxCopies;
}

// A feature's own *HelpIndex names its help topic; the driver's common topic stands for the
// others.
DWORD HelpIndexOf(const GpdFeature& feature, DWORD common) {
    const GpdAttribute* help = FindAttribute(feature.body, "*HelpIndex");
    long long value = 0;
    return help && ParseGpdInteger(help->value, &value) && value > 0 && value <= 0xFFFF
               ? static_cast<DWORD>(value)
               : common;
}

size_t FeatureIndex(const GpdModel& model, const GpdFeature& feature) {
    return static_cast<size_t>(&feature - model.features.data());
}

// The selection of a list item, within its options.
size_t Selection(const OPTITEM& item) {
    return item.pOptType && item.Sel >= 0 && item.Sel < item.pOptType->Count
               ? static_cast<size_t>(item.Sel)
               : 0;
}

// The public fields an item's value goes to as it stands, by the item's DMPUB_ id.
struct PublicItemField {
    BYTE dmPubId;
    DWORD flag;
    size_t offset;
    size_t size;
};

#define MOLTR_ITEM_FIELD(dmPubId, flag, field)                                                     \
    PublicItemField {                                                                              \
        dmPubId, flag, offsetof(DEVMODEW, field), sizeof(DEVMODEW::field)                          \
    }

constexpr PublicItemField kPublicItemFields[] = {
    MOLTR_ITEM_FIELD(DMPUB_ORIENTATION, DM_ORIENTATION, dmOrientation),
    MOLTR_ITEM_FIELD(DMPUB_FORMNAME, DM_PAPERSIZE, dmPaperSize),
    MOLTR_ITEM_FIELD(DMPUB_DEFSOURCE, DM_DEFAULTSOURCE, dmDefaultSource),
    MOLTR_ITEM_FIELD(DMPUB_MEDIATYPE, DM_MEDIATYPE, dmMediaType),
    MOLTR_ITEM_FIELD(DMPUB_DUPLEX, DM_DUPLEX, dmDuplex),
    MOLTR_ITEM_FIELD(DMPUB_COPIES_COLLATE, DM_COPIES, dmCopies),
    MOLTR_ITEM_FIELD(DMPUB_SCALE, DM_SCALE, dmScale),
    MOLTR_ITEM_FIELD(DMPUB_TTOPTION, DM_TTOPTION, dmTTOption),
};

#undef MOLTR_ITEM_FIELD

void SetPublicField(BYTE dmPubId, LONG value, DEVMODEW* devmode) {
    for (const PublicItemField& field : kPublicItemFields) {
        if (field.dmPubId != dmPubId) {
            continue;
        }
        BYTE* to = reinterpret_cast<BYTE*>(devmode) + field.offset;
        if (field.size == sizeof(SHORT)) {
            const SHORT narrow = static_cast<SHORT>(value);
            std::memcpy(to, &narrow, sizeof narrow);
        } else {
            std::memcpy(to, &value, sizeof value);
        }
        devmode->dmFields |= field.flag;
        // A paper size by its code: a form name left beside it would contradict it.
        if (dmPubId == DMPUB_FORMNAME) {
            devmode->dmFields &= ~DWORD{DM_FORMNAME};
        }
    }
}

// The pages per sheet go to the driver's part, when the devmode has one.
void SetPagesPerSheet(WORD pages, DEVMODEW* devmode) {
    DriverPrivatePart driver = {};
    BYTE* part = reinterpret_cast<BYTE*>(devmode) + devmode->dmSize;
    if (devmode->dmDriverExtra < sizeof driver) {
        return;
    }
    std::memcpy(&driver, part, sizeof driver);
    if (driver.signature == kDriverPrivateSignature) {
        driver.layout.pagesPerSheet = pages;
        std::memcpy(part, &driver, sizeof driver);
    }
}

} // namespace

StandardItems::StandardItems(const GpdModel& model, const DisplayNames& names)
    : model_(model), names_(names) {}

void StandardItems::Clear() {
    items_.clear();
    texts_.clear();
    params_.clear();
    types_.clear();
    records_.clear();
    checkBoxes_.clear();
}

LPWSTR StandardItems::Text(std::u16string text) {
    texts_.push_back(std::move(text));
    return sim::W(texts_.back());
}

LPWSTR StandardItems::FeatureName(const GpdFeature& feature) {
    return Text(names_.Of(feature.body, feature.name));
}

LPWSTR StandardItems::OptionName(const GpdOption& option) {
    return Text(names_.Of(option.body, option.name));
}

OPTITEM& StandardItems::NewItem(LPWSTR name, StandardItemRecord record, DWORD helpIndex) {
    records_.push_back(record);
    OPTITEM item = {};
    item.cbSize = sizeof(OPTITEM);
    item.pName = name;
    item.HelpIndex = helpIndex;
    item.DMPubID = record.dmPubId;
    item.UserData = reinterpret_cast<ULONG_PTR>(&records_.back());
    item.Flags = OPTIF_CALLBACK;
    items_.push_back(item);
    return items_.back();
}

OPTTYPE* StandardItems::NewType(BYTE kind, std::vector<OPTPARAM> params) {
    params_.push_back(std::move(params));
    OPTTYPE type = {};
    type.cbSize = sizeof(OPTTYPE);
    type.Type = kind;
    type.Count = static_cast<WORD>(params_.back().size());
    type.pOptParam = params_.back().data();
    types_.push_back(type);
    return &types_.back();
}

void StandardItems::AddFeatureList(size_t feature, BYTE dmPubId, StandardItemRecord::Kind kind,
                                   DWORD help, size_t selected) {
    const GpdFeature& source = model_.features[feature];
    std::vector<OPTPARAM> params;
    for (size_t i = 0; i < source.options.size(); ++i) {
        OPTPARAM param = {};
        param.cbSize = sizeof(OPTPARAM);
        param.pData = OptionName(source.options[i]);
        param.lParam = static_cast<LPARAM>(i);
        params.push_back(param);
    }
    OPTTYPE* type = NewType(TVOT_LISTBOX, std::move(params));
    StandardItemRecord record{kind, dmPubId, feature, 0};
    OPTITEM& item = NewItem(FeatureName(source), record, HelpIndexOf(source, help));
    item.pOptType = type;
    item.Sel = static_cast<LONG>(selected);
}

void StandardItems::AddValueList(BYTE dmPubId,
                                 const std::vector<std::pair<std::u16string, LONG>>& options,
                                 LONG value) {
    std::vector<OPTPARAM> params;
    LONG selected = 0;
    for (const auto& [text, optionValue] : options) {
        OPTPARAM param = {};
        param.cbSize = sizeof(OPTPARAM);
        param.pData = Text(text);
        param.lParam = optionValue;
        selected = optionValue == value ? static_cast<LONG>(params.size()) : selected;
        params.push_back(param);
    }
    OPTTYPE* type = NewType(TVOT_LISTBOX, std::move(params));
    const char16_t* name = dmPubId == DMPUB_NUP ? u"Pages per Sheet" : u"TrueType Font";
    OPTITEM& item = NewItem(Text(name), {StandardItemRecord::Kind::kPublicField, dmPubId},
                            kHelpStandardBase + dmPubId);
    item.pOptType = type;
    item.Sel = selected;
}

void StandardItems::AddCount(BYTE dmPubId, const char16_t* name, LONG minimum, LONG maximum,
                             LONG value) {
    std::vector<OPTPARAM> params(2);
    for (OPTPARAM& param : params) {
        param.cbSize = sizeof(OPTPARAM);
    }
    params[0].pData = Text(dmPubId == DMPUB_SCALE ? u"%" : u"");
    params[1].IconID = static_cast<ULONG_PTR>(minimum);
    params[1].lParam = maximum;
    OPTTYPE* type = NewType(TVOT_UDARROW, std::move(params));
    OPTITEM& item = NewItem(Text(name), {StandardItemRecord::Kind::kPublicField, dmPubId},
                            kHelpStandardBase + dmPubId);
    item.pOptType = type;
    item.Sel = value < minimum ? minimum : (value > maximum ? maximum : value);
}

void StandardItems::BuildDocument(const DEVMODEW& devmode) {
    Clear();
    const GpdConfiguration chosen = ConfigurationFromDevmode(model_, &devmode);
    // Every item is in place before any pointer to one is kept.
    items_.reserve(model_.features.size() + 4);
    for (const FieldFeature& field : kFieldFeatures) {
        const GpdFeature* feature = model_.Feature(field.feature);
        if (feature) {
            const size_t index = FeatureIndex(model_, *feature);
            AddFeatureList(index, field.dmPubId, StandardItemRecord::Kind::kPublicField,
                           kHelpStandardBase + field.dmPubId, chosen.options[index]);
        }
    }
    AddCount(DMPUB_COPIES_COLLATE, u"Copy Count", 1, MaxCopies(model_), devmode.dmCopies);
    if (model_.Feature(kCollateFeature)) {
        EXTCHKBOX box = {};
        box.cbSize = sizeof(EXTCHKBOX);
        box.pTitle = Text(u"Collated");
        box.pCheckedName = Text(u"Collated");
        checkBoxes_.push_back(box);
        OPTITEM& copies = items_.back();
        copies.pExtChkBox = &checkBoxes_.back();
        copies.Flags |= devmode.dmCollate == DMCOLLATE_TRUE ? OPTIF_ECB_CHECKED : 0;
    }
    AddCount(DMPUB_SCALE, u"Scaling", 1, kMaxScale, devmode.dmScale);
    AddValueList(DMPUB_TTOPTION,
                 {{u"Substitute with Device Font", DMTT_SUBDEV},
                  {u"Download as Soft Font", DMTT_DOWNLOAD},
                  {u"Print as Graphics", DMTT_BITMAP}},
                 devmode.dmTTOption);
    std::vector<std::pair<std::u16string, LONG>> pages;
    for (LONG count : kPagesPerSheet) {
        pages.emplace_back(sim::Utf16(std::to_string(count)), count);
    }
    const WORD perSheet = LayoutOf(devmode).pagesPerSheet;
    AddValueList(DMPUB_NUP, pages, perSheet ? perSheet : 1);
    for (const GpdFeature& feature : model_.features) {
        if (!IsFieldFeature(feature.name) && !IsInstallable(feature)) {
            const size_t index = FeatureIndex(model_, feature);
            AddFeatureList(index, DMPUB_NONE, StandardItemRecord::Kind::kDocumentFeature,
                           kHelpDocumentFeature, chosen.options[index]);
        }
    }
}

void StandardItems::BuildPrinter(const PrinterChoices& choices) {
    Clear();
    items_.reserve(model_.features.size() + 16);
    for (const GpdFeature& feature : model_.features) {
        if (!IsInstallable(feature)) {
            continue;
        }
        size_t selected = feature.defaultOption;
        for (const auto& [name, option] : choices.features) {
            const int found = name == feature.name ? OptionIndex(feature, option) : -1;
            selected = found >= 0 ? static_cast<size_t>(found) : selected;
        }
        AddFeatureList(FeatureIndex(model_, feature), DMPUB_NONE,
                       StandardItemRecord::Kind::kInstallable, kHelpInstallableFeature, selected);
    }
    const GpdFeature* bins = model_.Feature("InputBin");
    const GpdFeature* papers = model_.Feature("PaperSize");
    if (!bins || !papers) {
        return;
    }
    const size_t paperIndex = FeatureIndex(model_, *papers);
    for (size_t tray = 0; tray < bins->options.size(); ++tray) {
        size_t selected = papers->defaultOption;
        for (const auto& [name, form] : choices.trayForms) {
            for (size_t i = 0; name == bins->options[tray].name && i < papers->options.size();
                 ++i) {
                selected = names_.Of(papers->options[i].body, papers->options[i].name) == form
                               ? i
                               : selected;
            }
        }
        AddFeatureList(paperIndex, DMPUB_NONE, StandardItemRecord::Kind::kTray, kHelpTrayForm,
                       selected);
        items_.back().pName = OptionName(bins->options[tray]);
        records_.back().option = tray;
    }
}

const StandardItemRecord* StandardItems::RecordOf(const OPTITEM& item) const {
    for (const StandardItemRecord& record : records_) {
        if (item.UserData == reinterpret_cast<ULONG_PTR>(&record)) {
            return &record;
        }
    }
    return nullptr;
}

void StandardItems::WriteDevmode(const OPTITEM* items, size_t count, DEVMODEW* devmode) const {
    for (size_t i = 0; i < count; ++i) {
        WriteItem(items[i], devmode);
    }
}

void StandardItems::WriteItem(const OPTITEM& item, DEVMODEW* devmode) const {
    if (!item.pOptType || item.pOptType->Count == 0 || !item.pOptType->pOptParam) {
        return;
    }
    const StandardItemRecord* record = RecordOf(item);
    const size_t option = Selection(item);
    const bool counted = item.pOptType->Type == TVOT_UDARROW;
    const LONG optionValue = static_cast<LONG>(item.pOptType->pOptParam[option].lParam);
    if (!record) {
        // An item of the plug-in's: its option's value is the field's.
        SetPublicField(item.DMPubID, counted ? item.Sel : optionValue, devmode);
        return;
    }
    if (record->kind != StandardItemRecord::Kind::kPublicField) {
        return;
    }
    const GpdFeature& feature = model_.features[record->feature];
    switch (record->dmPubId) {
    case DMPUB_ORIENTATION:
    case DMPUB_DEFSOURCE:
    case DMPUB_MEDIATYPE:
    case DMPUB_DUPLEX:
        SetPublicField(record->dmPubId,
                       static_cast<LONG>(DevmodeValue(model_, feature.name, option)), devmode);
        break;
    case DMPUB_FORMNAME:
        SetPublicField(record->dmPubId, PaperCode(feature, option), devmode);
        break;
    case DMPUB_COLOR: {
        const GpdAttribute* colour = FindAttribute(feature.options[option].body, "*Color?");
        const bool inColour = colour && SameGpdKeyword(TrimGpdBlanks(colour->value), "TRUE");
        devmode->dmColor = inColour ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
        devmode->dmFields |= DM_COLOR;
        break;
    }
    case DMPUB_PRINTQUALITY: {
        const GpdAttribute* dpi = FindAttribute(feature.options[option].body, "*DPI");
        GpdPair pair{};
        if (dpi && ParseGpdPair(dpi->value, &pair)) {
            devmode->dmPrintQuality = static_cast<SHORT>(pair.x);
            devmode->dmYResolution = static_cast<SHORT>(pair.y);
            devmode->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
        }
        break;
    }
    case DMPUB_COPIES_COLLATE:
        SetPublicField(record->dmPubId, item.Sel, devmode);
        if (item.pExtChkBox) {
            devmode->dmCollate =
                (item.Flags & OPTIF_ECB_CHECKED) ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
            devmode->dmFields |= DM_COLLATE;
        }
        break;
    case DMPUB_SCALE:
        SetPublicField(record->dmPubId, item.Sel, devmode);
        break;
    case DMPUB_TTOPTION:
        SetPublicField(record->dmPubId, optionValue, devmode);
        break;
    case DMPUB_NUP:
        SetPagesPerSheet(static_cast<WORD>(optionValue), devmode);
        break;
    default:
        break;
    }
}

PrinterChoices StandardItems::ReadPrinterChoices(const OPTITEM* items, size_t count) const {
    PrinterChoices choices;
    for (size_t i = 0; i < count; ++i) {
        const StandardItemRecord* record = RecordOf(items[i]);
        if (!record) {
            continue;
        }
        const GpdFeature& feature = model_.features[record->feature];
        const GpdOption& option = feature.options[Selection(items[i])];
        if (record->kind == StandardItemRecord::Kind::kInstallable) {
            choices.features.emplace_back(feature.name, option.name);
        } else if (record->kind == StandardItemRecord::Kind::kTray) {
            const GpdOption& tray = model_.Feature("InputBin")->options[record->option];
            choices.trayForms.emplace_back(tray.name, names_.Of(option.body, option.name));
        }
    }
    return choices;
}

} // namespace moltr::unidrv
