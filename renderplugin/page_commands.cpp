#include "renderplugin/page_commands.h"

#include "renderplugin/job_records.h"
#include "renderplugin/pdl_family.h"

namespace moltr::render {

namespace {

constexpr DWORD kFormSource = 15;
constexpr DWORD kSourceCount = 7;

// The two paper-source families: PCL 5 (110-118) and PCL XL (120-128).
struct SourceFamily {
    DWORD automatic;
    DWORD manual;
};
constexpr SourceFamily kPcl5Sources = {110, 111};
constexpr SourceFamily kPclXlSources = {120, 121};
// The first tray in form-list order follows the manual feed.
constexpr DWORD kFirstTray = 2;
// PCL 5 has no command for the sixth tray of the list.
constexpr DWORD kMissingTray = 117;

bool AsksManualDuplex(const RenderState& state, const SettingsView& settings) {
    DWORD type = settings.Printer(L"_DUPLEXTYPE");
    return state.publicDevMode != nullptr && state.publicDevMode->dmDuplex != DMDUP_SIMPLEX &&
           (type == 2 || type == 3);
}

bool PrintsPjl(const SettingsView& settings) {
    return settings.Printer(L"_ENABLEPJL") == 1;
}

DWORD AssignedSource(const RenderState& state, const SettingsView& settings,
                     const SourceFamily& family) {
    WORD paper = state.publicDevMode != nullptr ? state.publicDevMode->dmPaperSize : 0;
    for (DWORD j = 0; j < kSourceCount; ++j) {
        if (settings.PrinterWord(L"_FORMSIZE_LIST", j) == paper) {
            DWORD id = family.automatic + kFirstTray + j;
            return id == kMissingTray ? family.automatic : id;
        }
    }
    return family.automatic;
}

// Binding of a two-sided job, from the landscape state, the N-up count, the booklet flag and
// whether the device type is 1; true for the short edge.
bool BindsShortEdge(DWORD id, bool landscape, bool pjl, const RenderState& state,
                    bool deviceType1) {
    bool turned = state.nupCount == 2 || state.nupCount == 6;
    bool booklet = state.booklet;
    if (id == 305) {
        if (landscape) {
            return deviceType1 || !turned;
        }
        if (!pjl) {
            return deviceType1 || booklet ? deviceType1 : turned;
        }
        return deviceType1 || (!booklet && turned);
    }
    if (landscape) {
        return deviceType1 || (state.nupCount == 2 && !booklet) || state.nupCount == 6;
    }
    return deviceType1 || (!booklet && !turned);
}

HRESULT WriteDuplexOff(CommandOutput& out, const SettingsView& settings) {
    return out.Resource(PrintsPjl(settings) ? 212 : 255);
}

// The "\x1b*o3W000" templates of the template routine: function byte and setting.
struct TemplateRow {
    UINT id;
    BYTE function;
    LPCWSTR setting;
};
constexpr TemplateRow kTemplates[] = {
    {282, 0x04, L"_ENHANCEDMODE"}, {283, 0x00, L"_BRIGHTNESS"}, {284, 0x02, L"_CONTRAST"},
    {285, 0x01, L"_SATURATION"},   {286, 0x81, L"_CYAN"},       {287, 0x82, L"_MAGENTA"},
    {288, 0x83, L"_YELLOW"},
};
// Where the three "0" bytes of the template start.
constexpr int kTemplateValues = 5;

bool ColourSetUpOff(const SettingsView& settings) {
    DWORD method = settings.Job(L"_COLORMETHOD");
    return method == 0 || method == 10;
}

BYTE TemplateValue(const TemplateRow& row, const SettingsView& settings) {
    DWORD value = settings.Job(row.setting);
    if (row.id == 282) {
        value = value == 4 ? 2 : value - 1;
    }
    return static_cast<BYTE>(value & 0xFF);
}

HRESULT WriteTemplate(CommandOutput& out, const TemplateRow& row, const SettingsView& settings) {
    BYTE bytes[kCommandRoom];
    int count = LoadCommand(row.id, bytes);
    if (count < kTemplateValues + 3) {
        return E_FAIL;
    }
    bytes[kTemplateValues] = 0x81;
    bytes[kTemplateValues + 1] = row.function;
    bytes[kTemplateValues + 2] = TemplateValue(row, settings);
    return out.Bytes(bytes, static_cast<DWORD>(count));
}

// "\x1b*t%0.1fI" with the gamma, a byte in tenths.
HRESULT WriteGamma(CommandOutput& out, DWORD gamma) {
    BYTE bytes[kCommandRoom];
    int count = LoadCommand(281, bytes);
    if (count == 0) {
        return E_FAIL;
    }
    WCHAR value[16];
    wsprintfW(value, L"%d.%d", static_cast<int>(gamma / 10), static_cast<int>(gamma % 10));
    // The placeholder is the resource's only '%' conversion; the rest is written around it.
    int at = 0;
    while (at < count && bytes[at] != '%') {
        ++at;
    }
    int after = at;
    while (after < count && bytes[after] != 'f') {
        ++after;
    }
    HRESULT result = out.Bytes(bytes, static_cast<DWORD>(at));
    if (SUCCEEDED(result)) {
        result = out.Narrowed(L"%s", value);
    }
    return SUCCEEDED(result) && after < count
               ? out.Bytes(bytes + after + 1, static_cast<DWORD>(count - after - 1))
               : result;
}

HRESULT WriteColourTemplates(CommandOutput& out, const SettingsView& settings) {
    if (ColourSetUpOff(settings)) {
        return S_OK;
    }
    HRESULT result = S_OK;
    DWORD screening = settings.Job(L"_SCREENING");
    if (screening != 0) {
        result = out.ResourceNumber(280, screening == 2 ? 18 : 0);
    }
    if (SUCCEEDED(result)) {
        result = WriteGamma(out, settings.Job(L"_GAMMA"));
    }
    for (const TemplateRow& row : kTemplates) {
        if (SUCCEEDED(result)) {
            result = WriteTemplate(out, row, settings);
        }
    }
    return result;
}

// The first block by _ENHANCEDMODE 2-5: PCL 5, PCL XL with "ColorTreatment" 0, PCL XL otherwise.
struct EnhancedRow {
    DWORD mode;
    UINT pcl5;
    UINT pclXl;
    UINT pclXlTreatment;
};
constexpr EnhancedRow kEnhancedBlocks[] = {
    {2, 173, 153, 158},
    {3, 171, 151, 156},
    {4, 172, 152, 157},
    {5, 170, 150, 155},
};
// The second block by _SCREENING 1-4.
struct ScreeningRow {
    DWORD screening;
    UINT pcl5;
    UINT pclXl;
};
constexpr ScreeningRow kScreeningBlocks[] = {
    {1, 182, 162},
    {2, 183, 163},
    {3, 180, 160},
    {4, 181, 161},
};

DWORD ColorTreatment(const RenderState& state) {
    LPCWSTR file = state.resources != nullptr ? state.resources->GetSettingsFilePath() : nullptr;
    return file != nullptr ? GetPrivateProfileIntW(L"ENHANCED_METHOD", L"ColorTreatment", 0, file)
                           : 0;
}

HRESULT WriteEnhancedBlock(CommandOutput& out, DWORD mode) {
    bool pcl5 = IsPcl5(out.state().pdlType);
    for (const EnhancedRow& row : kEnhancedBlocks) {
        if (row.mode == mode) {
            UINT id = pcl5                               ? row.pcl5
                      : ColorTreatment(out.state()) == 0 ? row.pclXl
                                                         : row.pclXlTreatment;
            return out.Block(id);
        }
    }
    return S_OK;
}

HRESULT WriteScreeningBlock(CommandOutput& out, DWORD screening) {
    for (const ScreeningRow& row : kScreeningBlocks) {
        if (row.screening == screening) {
            return out.Block(IsPcl5(out.state().pdlType) ? row.pcl5 : row.pclXl);
        }
    }
    return S_OK;
}

} // namespace

HRESULT WritePaperSource(CommandOutput& out, const SettingsView& settings, DWORD id) {
    const RenderState& state = out.state();
    const SourceFamily& family = id >= kPclXlSources.automatic ? kPclXlSources : kPcl5Sources;
    DWORD source = state.publicDevMode != nullptr ? state.publicDevMode->dmDefaultSource : 0;
    if (id == family.manual) {
        return out.Resource(source == kFormSource ? family.automatic : family.manual);
    }
    if (settings.Printer(L"_FORMASSIGN") == 1) {
        return out.Resource(AssignedSource(state, settings, family));
    }
    return out.Resource(source == kFormSource ? family.automatic : id);
}

HRESULT WriteDuplex(CommandOutput& out, const SettingsView& settings, DWORD id) {
    const RenderState& state = out.state();
    if (id == 304 || AsksManualDuplex(state, settings)) {
        return WriteDuplexOff(out, settings);
    }
    bool pjl = PrintsPjl(settings);
    bool landscape = state.publicDevMode != nullptr && state.publicDevMode->dmOrientation == 2;
    bool shortEdge =
        BindsShortEdge(id, landscape, pjl, state, settings.Printer(L"_DEVICETYPE") == 1);
    HRESULT result = out.Resource(pjl ? 217 : 256);
    if (SUCCEEDED(result)) {
        result = out.Resource(pjl ? (shortEdge ? 216 : 215) : (shortEdge ? 260 : 259));
    }
    return result;
}

int JobCopies(const RenderState& state, const SettingsView& settings) {
    if (AsksManualDuplex(state, settings) || state.publicDevMode == nullptr) {
        return 1;
    }
    return state.publicDevMode->dmCopies;
}

HRESULT WritePclXlCopies(CommandOutput& out, int copies) {
    BYTE bytes[kCommandRoom];
    int count = LoadCommand(311, bytes);
    if (count < 3) {
        return E_FAIL;
    }
    bytes[1] = static_cast<BYTE>(copies & 0xFF);
    bytes[2] = static_cast<BYTE>((copies >> 8) & 0xFF);
    return out.Bytes(bytes, static_cast<DWORD>(count));
}

HRESULT WriteColourBlocks(CommandOutput& out, const SettingsView& settings) {
    DWORD mode = settings.Job(L"_ENHANCEDMODE");
    if (ColourSetUpOff(settings) || mode == 0) {
        return S_OK;
    }
    HRESULT result = WriteEnhancedBlock(out, mode);
    return SUCCEEDED(result) ? WriteScreeningBlock(out, settings.Job(L"_SCREENING")) : result;
}

HRESULT WriteModelColour(CommandOutput& out, const SettingsView& settings) {
    DWORD modelCode = 0;
    if (!LookUpModelCode(out.state(), &modelCode)) {
        return S_OK;
    }
    if (modelCode >= 1 && modelCode <= 3) {
        return WriteColourTemplates(out, settings);
    }
    return modelCode >= 4 && modelCode <= 7 ? WriteColourBlocks(out, settings) : S_OK;
}

} // namespace moltr::render
