#include "compiler/builtin_description.h"

#include "compiler/compile_messages.h"
#include "compiler/token_list.h"

namespace moltr::compiler {

namespace {

// The paper sizes of the Windows DMPAPER_ constants, from 1 to 118 in value order.
constexpr const char16_t* kPaperSizes[] = {
    u"LETTER",
    u"LETTERSMALL",
    u"TABLOID",
    u"LEDGER",
    u"LEGAL",
    u"STATEMENT",
    u"EXECUTIVE",
    u"A3",
    u"A4",
    u"A4SMALL",
    u"A5",
    u"B4",
    u"B5",
    u"FOLIO",
    u"QUARTO",
    u"10X14",
    u"11X17",
    u"NOTE",
    u"ENV_9",
    u"ENV_10",
    u"ENV_11",
    u"ENV_12",
    u"ENV_14",
    u"CSHEET",
    u"DSHEET",
    u"ESHEET",
    u"ENV_DL",
    u"ENV_C5",
    u"ENV_C3",
    u"ENV_C4",
    u"ENV_C6",
    u"ENV_C65",
    u"ENV_B4",
    u"ENV_B5",
    u"ENV_B6",
    u"ENV_ITALY",
    u"ENV_MONARCH",
    u"ENV_PERSONAL",
    u"FANFOLD_US",
    u"FANFOLD_STD_GERMAN",
    u"FANFOLD_LGL_GERMAN",
    u"ISO_B4",
    u"JAPANESE_POSTCARD",
    u"9X11",
    u"10X11",
    u"15X11",
    u"ENV_INVITE",
    u"RESERVED_48",
    u"RESERVED_49",
    u"LETTER_EXTRA",
    u"LEGAL_EXTRA",
    u"TABLOID_EXTRA",
    u"A4_EXTRA",
    u"LETTER_TRANSVERSE",
    u"A4_TRANSVERSE",
    u"LETTER_EXTRA_TRANSVERSE",
    u"A_PLUS",
    u"B_PLUS",
    u"LETTER_PLUS",
    u"A4_PLUS",
    u"A5_TRANSVERSE",
    u"B5_TRANSVERSE",
    u"A3_EXTRA",
    u"A5_EXTRA",
    u"B5_EXTRA",
    u"A2",
    u"A3_TRANSVERSE",
    u"A3_EXTRA_TRANSVERSE",
    u"DBL_JAPANESE_POSTCARD",
    u"A6",
    u"JENV_KAKU2",
    u"JENV_KAKU3",
    u"JENV_CHOU3",
    u"JENV_CHOU4",
    u"LETTER_ROTATED",
    u"A3_ROTATED",
    u"A4_ROTATED",
    u"A5_ROTATED",
    u"B4_JIS_ROTATED",
    u"B5_JIS_ROTATED",
    u"JAPANESE_POSTCARD_ROTATED",
    u"DBL_JAPANESE_POSTCARD_ROTATED",
    u"A6_ROTATED",
    u"JENV_KAKU2_ROTATED",
    u"JENV_KAKU3_ROTATED",
    u"JENV_CHOU3_ROTATED",
    u"JENV_CHOU4_ROTATED",
    u"B6_JIS",
    u"B6_JIS_ROTATED",
    u"12X11",
    u"JENV_YOU4",
    u"JENV_YOU4_ROTATED",
    u"P16K",
    u"P32K",
    u"P32KBIG",
    u"PENV_1",
    u"PENV_2",
    u"PENV_3",
    u"PENV_4",
    u"PENV_5",
    u"PENV_6",
    u"PENV_7",
    u"PENV_8",
    u"PENV_9",
    u"PENV_10",
    u"P16K_ROTATED",
    u"P32K_ROTATED",
    u"P32KBIG_ROTATED",
    u"PENV_1_ROTATED",
    u"PENV_2_ROTATED",
    u"PENV_3_ROTATED",
    u"PENV_4_ROTATED",
    u"PENV_5_ROTATED",
    u"PENV_6_ROTATED",
    u"PENV_7_ROTATED",
    u"PENV_8_ROTATED",
    u"PENV_9_ROTATED",
    u"PENV_10_ROTATED",
};

struct Constant {
    const char16_t* name;
    const char16_t* value;
};

constexpr Constant kBeforePaperSizes[] = {
    {u"TVOT_2STATES", u"0"},
    {u"TVOT_3STATES", u"1"},
    {u"TVOT_UDARROW", u"2"},
    {u"TVOT_TRACKBAR", u"3"},
    {u"TVOT_SCROLLBAR", u"4"},
    {u"TVOT_LISTBOX", u"5"},
    {u"TVOT_COMBOBOX", u"6"},
    {u"TVOT_EDITBOX", u"7"},
    {u"TVOT_PUSHBUTTON", u"8"},
    {u"TVOT_CHKBOX", u"9"},
    {u"TVOT_NSTATES_EX", u"10"},
    {u"TVOT_NONE", u"11"},
    {u"TVOT_PROPSHEET", u"15"},
    {u"TVOT_PROPSHEETUI", u"16"},
    {u"TVOT_TABCONTROL", u"20"},
    {u"DMPUB_NONE", u"0"},
    {u"DMPUB_ORIENTATION", u"1"},
    {u"DMPUB_SCALE", u"2"},
    {u"DMPUB_COPIES_COLLATE", u"3"},
    {u"DMPUB_DEFSOURCE", u"4"},
    {u"DMPUB_PRINTQUALITY", u"5"},
    {u"DMPUB_COLOR", u"6"},
    {u"DMPUB_DUPLEX", u"7"},
    {u"DMPUB_TTOPTION", u"8"},
    {u"DMPUB_FORMNAME", u"9"},
    {u"DMPUB_ICMMETHOD", u"10"},
    {u"DMPUB_ICMINTENT", u"11"},
    {u"DMPUB_MEDIATYPE", u"12"},
    {u"DMPUB_DITHERTYPE", u"13"},
    {u"DMPUB_OUTPUTBIN", u"14"},
    {u"DMPUB_QUALITY", u"15"},
    {u"DMPUB_NUP", u"16"},
    {u"DMPUB_PAGEORDER", u"17"},
    {u"DMPUB_USECTRLID", u"65535"},
    {u"HELP_USECTRLID", u"65535"},
    {u"HELP_NOHELP", u"65534"},
    {u"CPSUI_DOC_PRNFEATURES", u"2147484667"},
    {u"CPSUI_PRN_FORMTRAY", u"2147484675"},
    {u"CPSUI_PRN_FONTSUBST", u"2147484673"},
    {u"CPSUI_PRN_FONTCART", u"2147484685"},
    {u"CPSUI_PRN_INSTALLOPT", u"2147484680"},
    {u"DM_MEDIASIZE_UNDEFINED", u"0"},
    {u"DM_MEDIASIZE_UNSPECIFIED", u"0"},
};

constexpr Constant kAfterPaperSizes[] = {
    {u"DM_MEDIASOURCE_UNDEFINED", u"0"},
    {u"DM_MEDIASOURCE_UNSPECIFIED", u"0"},
    {u"DM_MEDIASOURCE_UPPER", u"1"},
    {u"DM_MEDIASOURCE_ONLYONE", u"1"},
    {u"DM_MEDIASOURCE_LOWER", u"2"},
    {u"DM_MEDIASOURCE_MIDDLE", u"3"},
    {u"DM_MEDIASOURCE_MANUAL", u"4"},
    {u"DM_MEDIASOURCE_ENVELOPE", u"5"},
    {u"DM_MEDIASOURCE_ENVMANUAL", u"6"},
    {u"DM_MEDIASOURCE_AUTO", u"7"},
    {u"DM_MEDIASOURCE_TRACTOR", u"8"},
    {u"DM_MEDIASOURCE_SMALLFMT", u"9"},
    {u"DM_MEDIASOURCE_LARGEFMT", u"10"},
    {u"DM_MEDIASOURCE_LARGECAPACITY", u"11"},
    {u"DM_MEDIASOURCE_CASSETTE", u"14"},
    {u"DM_MEDIASOURCE_FORMSOURCE", u"15"},
    {u"DM_MEDIATYPE_UNDEFINED", u"0"},
    {u"DM_MEDIATYPE_UNSPECIFIED", u"0"},
    {u"DM_MEDIAOUTPUT_FACEDOWN", u"0"},
    {u"DM_MEDIAOUTPUT_FACEUP", u"1"},
    {u"DMCOLOR_MONOCHROME", u"1"},
    {u"DMCOLOR_COLOR", u"2"},
    {u"UIPTYPE_PAGES", u"1"},
    {u"UIPTYPE_SHEETS", u"2"},
    {u"UIPMODE_DOCUMENT", u"1"},
    {u"UIPMODE_PRINTER", u"2"},
    {u"PDLTYPE_UNDEFINED", u"0"},
    {u"PDLTYPE_RASTER", u"10"},
    {u"PDLTYPE_RASTER_PAGE", u"11"},
    {u"PDLTYPE_RASTER_SERIAL", u"12"},
    {u"PDLTYPE_PSCRIPT", u"20"},
    {u"PDLTYPE_PSCRIPT_LEVEL1", u"21"},
    {u"PDLTYPE_PSCRIPT_LEVEL2", u"22"},
    {u"PDLTYPE_PSCRIPT_LEVEL3", u"23"},
    {u"PDLTYPE_PCL", u"30"},
    {u"PDLTYPE_PCL5", u"40"},
    {u"PDLTYPE_PCL5_MONO", u"41"},
    {u"PDLTYPE_PCL5_COLOR", u"42"},
    {u"PDLTYPE_PCL6", u"50"},
    {u"PDLTYPE_PCL6_MONO", u"51"},
    {u"PDLTYPE_PCL6_COLOR", u"52"},
    {u"PROP_SHOW", u"0"},
    {u"PROP_HIDE", u"2"},
    {u"ITEM_SHOW", u"0"},
    {u"ITEM_HIDE", u"1"},
    {u"ITEM_DISABLED", u"2"},
    {u"PST_DEVICETYPE_UNDEFINED", u"0"},
    {u"PST_DEVICETYPE_SHORTEDGE", u"1"},
    {u"PST_DEVICETYPE_LONGEDGE", u"2"},
    {u"PST_DEVICETYPE_SHORTEDGE_BACK", u"3"},
    {u"PST_DEVICETYPE_LONGEDGE_BACK", u"4"},
    {u"PST_DUPLEXTYPE_NONE", u"0"},
    {u"PST_DUPLEXTYPE_HARDWARE", u"1"},
    {u"PST_DUPLEXTYPE_MANUAL", u"2"},
    {u"PST_DUPLEXTYPE_MANUALBACK", u"3"},
};

struct StructureSpec;

struct FieldSpec {
    const char16_t* name;
    const char16_t* type;
    int count = 1;
    bool warnWhenEmpty = true;
    const StructureSpec* sub = nullptr;
};

struct StructureSpec {
    const char16_t* name;
    bool forceWrite;
    std::vector<FieldSpec> fields;
};

constexpr bool kOff = false;

const StructureSpec kSheet = {u"SHEET",
                              false,
                              {
                                  {u"DIALOGID", u"WORD"},
                                  {u"CAPTION", u"STRING"},
                                  {u"ICONID", u"DWORD", 1, kOff},
                              }};

const StructureSpec kUipInfo = {u"UIPINFO",
                                false,
                                {
                                    {u"UIPTYPE", u"DWORD"},
                                    {u"UIPMODE", u"DWORD"},
                                    {u"UIPPDL", u"DWORD"},
                                    {u"SHEET", u"XPDSTRUCT", 1, true, &kSheet},
                                }};

const StructureSpec kPrnInfo = {u"PRNINFO",
                                false,
                                {
                                    {u"COLOR", u"SHORT"},
                                    {u"BITDEPTH", u"BYTE"},
                                    {u"NUMCHANNELS", u"WORD"},
                                    {u"BPP_CHANNELCONFIG", u"WORD", 16, kOff},
                                    {u"BPP_CHANNELORDER", u"WORD", 16, kOff},
                                }};

const StructureSpec kRegEntry = {u"REGENTRY",
                                 false,
                                 {
                                     {u"VALUENAME", u"STRING"},
                                     {u"VALUENUM", u"DWORD", 1, kOff},
                                     {u"VALUESTR", u"STRING", 1, kOff},
                                 }};

const StructureSpec kRegInfo = {u"REGINFO",
                                false,
                                {
                                    {u"REGENTRY", u"XPDSTRUCT", 1, true, &kRegEntry},
                                }};

const StructureSpec kOption = {u"OPTION",
                               false,
                               {
                                   {u"ITEMTEXTID", u"WORD"},
                                   {u"ITEMTEXT", u"STRING", 1, kOff},
                                   {u"ITEMVISIBLE", u"BYTE", 1, kOff},
                                   {u"GROUP", u"DWORD", 1, kOff},
                                   {u"ICONID", u"WORD", 1, kOff},
                                   {u"VALUE", u"DYNAMIC"},
                                   {u"MINVALUE", u"WORD", 1, kOff},
                                   {u"MAXVALUE", u"WORD", 1, kOff},
                                   {u"MULVALUE", u"WORD", 1, kOff},
                                   {u"INCVALUE", u"WORD", 1, kOff},
                               }};

// DOCUMENTFEATURE and PRINTERFEATURE have the same fields.
const std::vector<FieldSpec> kFeatureFields = {
    {u"CONTROLID", u"WORD"},
    {u"CONTROLTYPE", u"BYTE"},
    {u"CONTROLTEXTID", u"WORD"},
    {u"CONTROLTEXT", u"STRING", 1, kOff},
    {u"DMPUBID", u"WORD"},
    {u"PROPVISIBLE", u"BYTE", 1, kOff},
    {u"PROPLEVEL", u"BYTE"},
    {u"RESERVED", u"BYTE", 1, kOff},
    {u"HELPID", u"WORD", 1, kOff},
    {u"ICONID", u"WORD", 1, kOff},
    {u"OPTION", u"XPDSTRUCT", 1, true, &kOption},
};

const StructureSpec kDocumentFeature = {u"DOCUMENTFEATURE", true, kFeatureFields};
const StructureSpec kPrinterFeature = {u"PRINTERFEATURE", true, kFeatureFields};

const StructureSpec kOemDevmode = {u"OEMDEVMODE",
                                   true,
                                   {
                                       {u"_SIZE", u"DWORD", 1, kOff},
                                       {u"_SIGNATURE", u"DWORD", 1, kOff},
                                       {u"_VERSION", u"DWORD"},
                                       {u"_PDLTYPE", u"DWORD"},
                                       {u"_PAGEORDER", u"BYTE", 1, kOff},
                                       {u"_BOOKLET", u"BYTE", 1, kOff},
                                       {u"_NUP_PAGES", u"BYTE", 1, kOff},
                                       {u"_NUP_BORDER", u"BYTE", 1, kOff},
                                       {u"_NUP_ORDER", u"BYTE", 1, kOff},
                                       {u"_SCALEDOCON_ENABLED", u"BYTE", 1, kOff},
                                       {u"_SCALEDOCON_SIZE", u"WORD", 1, kOff},
                                       {u"_SCALEDOCON_TOFIT", u"BYTE", 1, kOff},
                                       {u"_SCALE_FACTOR", u"WORD", 1, kOff},
                                       {u"_WMK_ENABLED", u"BYTE", 1, kOff},
                                       {u"_WMK_1STPAGEONLY", u"BYTE", 1, kOff},
                                       {u"_WMK_TEXT", u"CHAR", 64, kOff},
                                       {u"_WMK_ANGLE", u"BYTE", 1, kOff},
                                       {u"_WMK_DEGREE", u"WORD", 1, kOff},
                                       {u"_WMK_FONT", u"CHAR", 64, kOff},
                                       {u"_WMK_COLOR", u"COLORREF", 1, kOff},
                                       {u"_WMK_SHADE", u"WORD", 1, kOff},
                                       {u"_WMK_SIZE", u"WORD", 1, kOff},
                                       {u"_WMK_STYLE", u"BYTE", 1, kOff},
                                       {u"_WMK_TEXT_IDX", u"WORD", 1, kOff},
                                       {u"_XPD_RESERVE", u"BYTE", 30, kOff},
                                       {u"_OEM_RESERVE", u"BYTE", 64, kOff},
                                   }};

const StructureSpec kPrinterSettings = {u"PRINTERSETTINGS",
                                        true,
                                        {
                                            {u"_SIZE", u"DWORD", 1, kOff},
                                            {u"_SIGNATURE", u"DWORD", 1, kOff},
                                            {u"_VERSION", u"DWORD"},
                                            {u"_PDLTYPE", u"DWORD"},
                                            {u"_DEVICETYPE", u"DWORD", 1, kOff},
                                            {u"_DUPLEXTYPE", u"DWORD", 1, kOff},
                                            {u"_XPD_RESERVE", u"BYTE", 32, kOff},
                                            {u"_OEM_RESERVE", u"BYTE", 64, kOff},
                                        }};

const StructureSpec* const kStructures[] = {
    &kUipInfo,        &kPrnInfo,    &kRegInfo,         &kDocumentFeature,
    &kPrinterFeature, &kOemDevmode, &kPrinterSettings,
};

// The definition block of `definition` at `level`, with each sub-structure's definition written
// inside it right behind the field that uses it.
void AppendStructure(TokenList& tokens, const StructureSpec& definition, int level) {
    tokens.Append(u"*XPDSTRUCT", definition.name, level);
    if (definition.forceWrite) {
        tokens.Append(u"*FORCEWRITE", u"ON", level + 1);
    }
    for (const FieldSpec& field : definition.fields) {
        tokens.Append(u"*FIELD", field.name, level + 1);
        tokens.Append(u"*FIELDTYPE", field.type, level + 2);
        if (field.count != 1) {
            tokens.Append(u"*ARRAYSIZE", NumberText(field.count), level + 2);
        }
        if (!field.warnWhenEmpty) {
            tokens.Append(u"*WARNWHENEMPTY", u"OFF", level + 2);
        }
        if (field.sub != nullptr) {
            AppendStructure(tokens, *field.sub, level + 1);
        }
    }
}

} // namespace

const std::vector<BuiltInConstant>& BuiltInConstants() {
    static const std::vector<BuiltInConstant> constants = [] {
        std::vector<BuiltInConstant> list;
        for (const Constant& constant : kBeforePaperSizes) {
            list.push_back({constant.name, constant.value});
        }
        long long value = 1;
        for (const char16_t* paper : kPaperSizes) {
            list.push_back({std::u16string(u"DM_MEDIASIZE_") + paper, NumberText(value++)});
        }
        for (const Constant& constant : kAfterPaperSizes) {
            list.push_back({constant.name, constant.value});
        }
        return list;
    }();
    return constants;
}

void AppendBuiltInDescription(TokenList& tokens) {
    tokens.Append(u"*MACROS", u"CONSTANTS", 0);
    for (const BuiltInConstant& constant : BuiltInConstants()) {
        tokens.Append(constant.name, constant.value, 1);
    }
    for (const StructureSpec* definition : kStructures) {
        AppendStructure(tokens, *definition, 0);
    }
}

} // namespace moltr::compiler
