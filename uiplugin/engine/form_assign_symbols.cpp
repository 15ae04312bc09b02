#include "uiplugin/engine/form_assign_symbols.h"

namespace moltr::ui {

namespace {

struct CodeSymbol {
    WORD code;
    LPCWSTR symbol;
};

constexpr CodeSymbol kPaperSizeSymbols[] = {
    {9, L"_MEDIASIZE_A4_ALLOWED_01"},         {11, L"_MEDIASIZE_A5_ALLOWED_01"},
    {13, L"_MEDIASIZE_B5_ALLOWED_01"},        {1, L"_MEDIASIZE_LETTER_ALLOWED_01"},
    {6, L"_MEDIASIZE_LETTERHALF_ALLOWED_01"}, {5, L"_MEDIASIZE_LEGAL_ALLOWED_01"},
    {7, L"_MEDIASIZE_EXECUTIVE_ALLOWED_01"},  {14, L"_MEDIASIZE_GLG_ALLOWED_01"},
    {258, L"_MEDIASIZE_GLT_ALLOWED_01"},      {60, L"_MEDIASIZE_F4_ALLOWED_01"},
    {259, L"_MEDIASIZE_A3F_ALLOWED_01"},      {37, L"_MEDIASIZE_ENV_MONARCH_ALLOWED_01"},
    {20, L"_MEDIASIZE_ENV_C10_ALLOWED_01"},   {27, L"_MEDIASIZE_ENV_DL_ALLOWED_01"},
    {28, L"_MEDIASIZE_ENV_C5_ALLOWED_01"},    {31, L"_MEDIASIZE_ENV_C6_ALLOWED_01"},
    {34, L"_MEDIASIZE_ENV_IB5_ALLOWED_01"},   {8, L"_MEDIASIZE_A3_ALLOWED_01"},
    {12, L"_MEDIASIZE_B4_ALLOWED_01"},        {17, L"_MEDIASIZE_B_ALLOWED_01"},
};

// Media type 520 has no symbol.
constexpr CodeSymbol kMediaTypeSymbols[] = {
    {521, L"_MEDIATYPE_PLAIN_ALLOWED_01"},           {522, L"_MEDIATYPE_PLAINBACK_ALLOWED_01"},
    {523, L"_MEDIATYPE_LETTERHEAD_ALLOWED_01"},      {524, L"_MEDIATYPE_RECYCLED_ALLOWED_01"},
    {525, L"_MEDIATYPE_COLOR_ALLOWED_01"},           {526, L"_MEDIATYPE_TRANSPARENCY_ALLOWED_01"},
    {527, L"_MEDIATYPE_LABELS_ALLOWED_01"},          {528, L"_MEDIATYPE_THICK_ALLOWED_01"},
    {529, L"_MEDIATYPE_THICKBACK_ALLOWED_01"},       {530, L"_MEDIATYPE_THICKEXTRA_ALLOWED_01"},
    {531, L"_MEDIATYPE_THICKEXTRABACK_ALLOWED_01"},  {540, L"_MEDIATYPE_THICKSUPER_ALLOWED_01"},
    {541, L"_MEDIATYPE_THICKSUPERBACK_ALLOWED_01"},  {532, L"_MEDIATYPE_THICKSEMI_ALLOWED_01"},
    {533, L"_MEDIATYPE_THICKSEMIBACK_ALLOWED_01"},   {534, L"_MEDIATYPE_THICKNARROW_ALLOWED_01"},
    {535, L"_MEDIATYPE_THICKNARROWBACK_ALLOWED_01"}, {536, L"_MEDIATYPE_COATED_ALLOWED_01"},
    {537, L"_MEDIATYPE_COATEDBACK_ALLOWED_01"},      {538, L"_MEDIATYPE_ROUGH_ALLOWED_01"},
    {539, L"_MEDIATYPE_PREPRINTED_ALLOWED_01"},
};

template <size_t N> LPCWSTR SymbolOf(const CodeSymbol (&table)[N], DWORD code) {
    for (const CodeSymbol& entry : table) {
        if (entry.code == code) {
            return entry.symbol;
        }
    }
    return nullptr;
}

// The settings object copies a text setting's whole size from the value given, so the value
// buffer is larger than the description makes any of these settings.
constexpr DWORD kValueChars = 256;
// Longest custom-medium identifier that leaves the symbol within its setting.
constexpr char kCustomPrefix[] = "_CUSTOM_";
constexpr char kCustomSuffix[] = "_ALLOWED_01";
constexpr int kCustomIdentifierMax =
    static_cast<int>(kAllowedSymbolChars - sizeof kCustomPrefix - sizeof kCustomSuffix + 1);

struct SymbolValue {
    WCHAR text[kValueChars] = {};
};

void SetSymbol(SymbolValue* value, LPCWSTR symbol) {
    if (symbol != nullptr && lstrlenW(symbol) < static_cast<int>(kAllowedSymbolChars)) {
        lstrcpynW(value->text, symbol, static_cast<int>(kAllowedSymbolChars));
    }
}

// A negative size names a custom medium by its place among the printer's custom media.
void SetSizeSymbol(SymbolValue* value, SHORT size, const CustomMediumIdentifiers& customMedia) {
    if (size >= 0) {
        SetSymbol(value, PaperSizeSymbol(static_cast<DWORD>(size)));
        return;
    }
    const DWORD medium = static_cast<WORD>(size) & 0x7FFFu;
    if (customMedia.identifiers == nullptr || medium >= customMedia.count) {
        return;
    }
    const char* identifier = customMedia.identifiers[medium];
    if (identifier == nullptr || identifier[0] == '\0' ||
        lstrlenA(identifier) > kCustomIdentifierMax) {
        return;
    }
    wsprintfW(value->text, L"_CUSTOM_%S_ALLOWED_01", identifier);
}

HRESULT Store(common::IDrvSettings* settings, LPCWSTR format, DWORD slot,
              const SymbolValue& value) {
    WCHAR field[32];
    wsprintfW(field, format, static_cast<int>(slot));
    return settings->SetValue(nullptr, field, value.text, common::kLayoutPrinterSettings);
}

} // namespace

HRESULT ReadFormAssignment(common::IDrvSettings* settings, FormAssignment* assignment) {
    if (settings == nullptr || assignment == nullptr) {
        return E_INVALIDARG;
    }
    *assignment = {};
    BYTE sources = 0;
    FormAssignment read = {};
    if (FAILED(settings->GetValue(nullptr, L"_FORMSIZE_LIST", read.sizes, sizeof read.sizes,
                                  common::kLayoutPrinterSettings)) ||
        FAILED(settings->GetValue(nullptr, L"_FORMTYPE_LIST", read.types, sizeof read.types,
                                  common::kLayoutPrinterSettings)) ||
        FAILED(settings->GetValue(nullptr, L"_OPTSOURCE", &sources, sizeof sources,
                                  common::kLayoutPrinterSettings))) {
        return E_FAIL;
    }
    read.sources = sources;
    *assignment = read;
    return S_OK;
}

LPCWSTR PaperSizeSymbol(DWORD paper) {
    return SymbolOf(kPaperSizeSymbols, paper);
}

LPCWSTR MediaTypeSymbol(DWORD mediaType) {
    return SymbolOf(kMediaTypeSymbols, mediaType);
}

// Every slot is written, so that a slot that lost its assignment or its source loses its symbol.
HRESULT WriteFormAssignSymbols(common::IDrvSettings* settings, const FormAssignment& assignment,
                               const CustomMediumIdentifiers& customMedia) {
    if (settings == nullptr) {
        return E_INVALIDARG;
    }
    HRESULT result = S_OK;
    for (DWORD slot = 0; slot < kFormAssignSlots; ++slot) {
        SymbolValue size;
        SymbolValue type;
        if (slot < SourceSlots(assignment)) {
            SetSizeSymbol(&size, assignment.sizes[slot], customMedia);
            SetSymbol(&type, MediaTypeSymbol(assignment.types[slot]));
        }
        const HRESULT sizeStored = Store(settings, L"_FORMSIZE_ALLOWED_%02d", slot, size);
        const HRESULT typeStored = Store(settings, L"_FORMTYPE_ALLOWED_%02d", slot, type);
        if (FAILED(sizeStored) || FAILED(typeStored)) {
            result = E_FAIL;
        }
    }
    return result;
}

} // namespace moltr::ui
