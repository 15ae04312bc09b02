#include "renderplugin/job_header.h"

#include "renderplugin/job_records.h"
#include "renderplugin/job_text.h"
#include "renderplugin/pdl_family.h"
#include "moltrrpc_ids.h"

namespace moltr::render {

namespace {

#define MOLTR_WIDE_(text) L##text
#define MOLTR_WIDE(text) MOLTR_WIDE_(text)
constexpr WCHAR kNotice[] = MOLTR_WIDE(MOLTR_RPC_NOTICE);

constexpr char kUel[] = "\x1b%-12345X";

// The model codes whose printers keep jobs.
bool KeepsJobs(DWORD modelCode) {
    for (DWORD code : {4u, 6u, 7u, 13u, 15u, 16u}) {
        if (modelCode == code) {
            return true;
        }
    }
    return false;
}

HRESULT Text(CommandOutput& out, const char* text) {
    return out.Bytes(text, lstrlenA(text));
}

// Paper thickness by media type; the model codes that turn a row's line into another.
struct ThicknessRow {
    DWORD firstType;
    DWORD lastType;
    const char* line;
};

constexpr ThicknessRow kThickness[] = {
    {526, 526, "@EJL SET PAPERTHICKNESS=TRANSPARENCY\n"},
    {527, 527, "@EJL SET PAPERTHICKNESS=THICK\n"},
    {528, 529, "@EJL SET PAPERTHICKNESS=THICK\n"},
    {530, 531, "@EJL SET PAPERTHICKNESS=EXTRATHICK\n"},
    {532, 533, "@EJL SET PAPERTHICKNESS=HIGHQUALITY\n"},
    {534, 535, "@EJL SET PAPERTHICKNESS=THICKNARROW\n"},
    {536, 537, "@EJL SET PAPERTHICKNESS=COATED\n"},
    {538, 538, "@EJL SET PAPERTHICKNESS=LETTERHEAD\n"},
    {540, 541, "@EJL SET PAPERTHICKNESS=SUPERTHICK\n"},
};

const char* ThicknessLine(DWORD mediaType, DWORD modelCode) {
    if (mediaType == 527 &&
        (modelCode == 4 || modelCode == 6 || modelCode == 13 || modelCode == 15)) {
        return "@EJL SET PAPERTHICKNESS=EXTRATHICK\n";
    }
    if ((mediaType == 532 || mediaType == 533) && (modelCode == 7 || modelCode == 16)) {
        return "@EJL SET PAPERTHICKNESS=NORMAL\n";
    }
    for (const ThicknessRow& row : kThickness) {
        if (mediaType >= row.firstType && mediaType <= row.lastType) {
            return row.line;
        }
    }
    return "@EJL SET PAPERTHICKNESS=NORMAL\n";
}

constexpr DWORD kBackFaceTypes[] = {522, 529, 531, 533, 535, 537, 541};

const char* FaceLine(DWORD mediaType) {
    for (DWORD type : kBackFaceTypes) {
        if (mediaType == type) {
            return "@EJL SET PAPERFACE=BACK\n";
        }
    }
    return "@EJL SET PAPERFACE=FRONT\n";
}

// Job retention modes by _JR_QUICKPRINT 1-4.
struct RetentionMode {
    LPCWSTR holdWord;
    LPCWSTR holdType; // null: no HOLDTYPE line
    LONG keepJob;
    LONG pending;
};

constexpr RetentionMode kRetentionModes[] = {
    {L"ON", L"PUBLIC", 1, 0},
    {L"PROOF", nullptr, 1, 2},
    {L"ON", L"PRIVATE", 0, 1},
    {L"STORE", nullptr, 2, 1},
};
constexpr DWORD kPrivateMode = 3;
// A hold key and a password have four characters at most.
constexpr DWORD kKeyLength = 4;

HRESULT WritePjlRetention(CommandOutput& out, const SettingsView& settings, DWORD mode) {
    const RetentionMode& row = kRetentionModes[mode - 1];
    HRESULT result = out.Narrowed(L"@PJL SET HOLD=%s\n", row.holdWord);
    if (row.holdType != nullptr && SUCCEEDED(result)) {
        result = out.Narrowed(L"@PJL SET HOLDTYPE=%s\n", row.holdType);
    }
    WCHAR raw[kJobTextRoom];
    WCHAR value[kJobTextRoom];
    if (mode == kPrivateMode && SUCCEEDED(result)) {
        settings.JobText(L"_JR_PASSWORD", raw, kJobTextRoom);
        QuotedValue(raw, kKeyLength, value);
        result = out.Narrowed(L"@PJL SET HOLDKEY=\"%4s\"\n", value);
    }
    if (SUCCEEDED(result)) {
        settings.JobText(L"_JR_USERNAME", raw, kJobTextRoom);
        QuotedValue(raw, kJobTextRoom, value);
        result = out.Converted(L"@PJL SET USERNAME=\"%s\"\n", value);
    }
    if (SUCCEEDED(result)) {
        settings.JobText(L"_JR_JOBNAME", raw, kJobTextRoom);
        QuotedValue(raw, kJobTextRoom, value);
        result = out.Converted(L"@PJL SET JOBNAME=\"%s\"\n", value);
    }
    return result;
}

// A per-job text as a quoted value; empty when the setting is.
void JobValue(const SettingsView& settings, LPCWSTR name, DWORD limit,
              WCHAR (&value)[kJobTextRoom]) {
    WCHAR raw[kJobTextRoom];
    settings.JobText(name, raw, kJobTextRoom);
    QuotedValue(raw, limit, value);
}

HRESULT WriteEjlRetention(CommandOutput& out, const SettingsView& settings, DWORD mode) {
    const RetentionMode& row = kRetentionModes[mode - 1];
    HRESULT result = out.Narrowed(L"@EJL JI PENDING=\"%ld\"\n", row.pending);
    if (SUCCEEDED(result)) {
        result = out.Narrowed(L"@EJL JI KEEPJOB=\"%ld\"\n", row.keepJob);
    }
    WCHAR value[kJobTextRoom];
    if (mode == kPrivateMode) {
        if (SUCCEEDED(result)) {
            result = out.Narrowed(L"@EJL JI PREVIEW=\"%ld\"\n", 0L);
        }
        JobValue(settings, L"_JR_PASSWORD", kKeyLength, value);
        if (value[0] != L'\0' && SUCCEEDED(result)) {
            result = out.Narrowed(L"@EJL JI PASSWORD=\"%4s\"\n", value);
        }
    } else if (SUCCEEDED(result)) {
        result = out.Narrowed(L"@EJL JI PREVIEW=\"%ld\"\n",
                              static_cast<LONG>(settings.Job(L"_JR_PREVIEW")));
    }
    JobValue(settings, L"_JR_USERNAME", kJobTextRoom, value);
    if (value[0] != L'\0' && SUCCEEDED(result)) {
        result = out.Converted(L"@EJL JI AUID=\"%s\"\n", value);
    }
    JobValue(settings, L"_JR_JOBNAME", kJobTextRoom, value);
    if (value[0] != L'\0' && SUCCEEDED(result)) {
        result = out.Converted(L"@EJL JI TITLE=\"%s\"\n", value);
    }
    return result;
}

HRESULT WriteRetention(CommandOutput& out, const SettingsView& settings, DWORD modelCode) {
    if (!KeepsJobs(modelCode) || settings.Job(L"_JR_ENABLED") == 0 ||
        (settings.Printer(L"_RAMDISK") == 0 && settings.Printer(L"_CFLASH") == 0)) {
        return S_OK;
    }
    DWORD mode = settings.Job(L"_JR_QUICKPRINT");
    if (mode < 1 || mode > 4) {
        return E_FAIL;
    }
    return settings.Printer(L"_ENABLEPJL") == 1 ? WritePjlRetention(out, settings, mode)
                                                : WriteEjlRetention(out, settings, mode);
}

HRESULT WriteSubmission(CommandOutput& out, const JobRecords& records, LPCWSTR machine,
                        LPCWSTR user, LPCWSTR document, const SYSTEMTIME& now) {
    TIME_ZONE_INFORMATION zone = {};
    ZoneOffset offset =
        SubmissionZone(GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID ? zone.Bias : 0);
    return out.Converted(
        L"@EJL JI SUBMISSION=\"0%-16s%-16s%-28s%010d%4d%02d%02d%02d%02d%02d%03d%s%02d%02d\"\n",
        machine, user, document, static_cast<int>(records.job().JobId), now.wYear, now.wMonth,
        now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, offset.sign, offset.hours,
        0);
}

// Byte-narrowed values are cut so that their line keeps its closing quote within 256 bytes.
constexpr DWORD kNarrowedValueLimit = 200;

HRESULT WriteEjlJobInfo(CommandOutput& out, const JobRecords& records) {
    const JOB_INFO_2W& job = records.job();
    WCHAR machine[kJobTextRoom], user[kJobTextRoom], document[kJobTextRoom];
    WCHAR fullMachine[kJobTextRoom], driver[kJobTextRoom], printer[kJobTextRoom];
    QuotedValue(job.pMachineName, 16, machine);
    QuotedValue(job.pUserName, 16, user);
    QuotedValue(job.pDocument, 28, document);
    QuotedValue(job.pMachineName, 255, fullMachine);
    QuotedValue(records.driverName(), kNarrowedValueLimit, driver);
    QuotedValue(job.pPrinterName, kNarrowedValueLimit, printer);
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    HRESULT result = WriteSubmission(out, records, machine, user, document, now);
    if (driver[0] != L'\0' && SUCCEEDED(result)) {
        result = out.Narrowed(L"@EJL JI DRIVER=\"%s\"\n", driver);
    }
    if (printer[0] != L'\0' && SUCCEEDED(result)) {
        result = out.Narrowed(L"@EJL JI PRINTER=\"%s\"\n", printer);
    }
    if (SUCCEEDED(result)) {
        result = out.Narrowed(L"@EJL JI DATE=\"%04d/%02d/%02d %02d:%02d:%02d\"\n", now.wYear,
                              now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    }
    if (user[0] != L'\0' && SUCCEEDED(result)) {
        result = out.Converted(L"@EJL JI USER=\"%s\"\n", user);
    }
    if (fullMachine[0] != L'\0' && SUCCEEDED(result)) {
        result = out.Converted(L"@EJL JI MACHINE=\"%s\"\n", fullMachine);
    }
    if (document[0] != L'\0' && SUCCEEDED(result)) {
        result = out.Converted(L"@EJL JI DOCUMENT=\"%s\"\n", document);
    }
    SystemVersion version = ReadSystemVersion();
    if (SUCCEEDED(result)) {
        result = out.Narrowed(L"@EJL JI OS=\"Windows NT %d.%02d (%s)\"\n", version.major,
                              version.minor, version.servicePack);
    }
    return result;
}

HRESULT WriteEjlPaper(CommandOutput& out, DWORD modelCode) {
    const RenderState& state = out.state();
    DWORD mediaType = state.publicDevMode != nullptr ? state.publicDevMode->dmMediaType : 0;
    HRESULT result = Text(out, IsPcl5(state.pdlType) ? "@EJL SE LA=PCL5C\n" : "@EJL SE LA=PCLXL\n");
    if (SUCCEEDED(result)) {
        result = Text(out, ThicknessLine(mediaType, modelCode));
    }
    return SUCCEEDED(result) ? Text(out, FaceLine(mediaType)) : result;
}

HRESULT WritePjlJobInfo(CommandOutput& out, const JobRecords& records) {
    const JOB_INFO_2W& job = records.job();
    WCHAR document[kJobTextRoom], printer[kJobTextRoom], user[kJobTextRoom];
    WCHAR machine[kJobTextRoom], application[kJobTextRoom];
    QuotedValue(job.pDocument, kJobTextRoom, document);
    QuotedValue(job.pPrinterName, kJobTextRoom, printer);
    QuotedValue(job.pUserName, kJobTextRoom, user);
    QuotedValue(job.pMachineName, kJobTextRoom, machine);
    QuotedValue(job.pDocument, ApplicationPartLength(job.pDocument), application);
    SystemVersion version = ReadSystemVersion();
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    HRESULT result = Text(out, kUel);
    if (SUCCEEDED(result)) {
        result = out.Converted(L"@PJL JOB NAME=\"%s\"\n", document);
    }
    if (SUCCEEDED(result)) {
        result = out.Narrowed(L"@PJL COMMENT %s\n", kNotice);
    }
    if (SUCCEEDED(result)) {
        result = out.Converted(L"@PJL COMMENT \"Target Printer:%s\"\n", printer);
    }
    if (SUCCEEDED(result)) {
        result = out.Narrowed(L"@PJL COMMENT \"OS Info:Windows NT %d.%02d (%s)\"\n", version.major,
                              version.minor, version.servicePack);
    }
    if (application[0] != L'\0' && SUCCEEDED(result)) {
        result = out.Converted(L"@PJL COMMENT \"Application Info:%s\"\n", application);
    }
    if (SUCCEEDED(result)) {
        result = out.Converted(L"@PJL SET JOBATTR=\"JobAcct1=%s\"\n", user);
    }
    if (SUCCEEDED(result)) {
        result = out.Converted(L"@PJL SET JOBATTR=\"JobAcct2=%s\"\n", machine);
    }
    if (SUCCEEDED(result)) {
        result = out.Narrowed(L"@PJL SET JOBATTR=\"JobAcct4=%04d/%02d/%02d %02d:%02d:%02d\"\n",
                              now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    }
    if (SUCCEEDED(result)) {
        result = out.Converted(L"@PJL SET JOBATTR=\"JobAcct5=%s\"\n", document);
    }
    return result;
}

} // namespace

HRESULT WriteEjlJobHeader(CommandOutput& out, const SettingsView& settings) {
    DWORD modelCode = 0;
    bool modelKnown = LookUpModelCode(out.state(), &modelCode);
    HRESULT result = Text(out, "\x1b\x01@EJL \n");
    if (SUCCEEDED(result)) {
        result = out.Narrowed(L"@EJL COMMENT %s\n", kNotice);
    }
    if (SUCCEEDED(result)) {
        result = Text(out, "@EJL SJ\n");
    }
    JobRecords records;
    if (FAILED(result) || !records.Read(out.state())) {
        return E_FAIL;
    }
    result = WriteEjlJobInfo(out, records);
    if (SUCCEEDED(result)) {
        result = WriteEjlPaper(out, modelCode);
    }
    return SUCCEEDED(result) && modelKnown ? WriteRetention(out, settings, modelCode) : result;
}

HRESULT WritePjlJobHeader(CommandOutput& out, const SettingsView& settings) {
    DWORD modelCode = 0;
    if (!LookUpModelCode(out.state(), &modelCode)) {
        return S_OK;
    }
    JobRecords records;
    if (!records.Read(out.state())) {
        HRESULT result = Text(out, "\x1b%-12345X@PJL JOB\n");
        return SUCCEEDED(result) ? out.Narrowed(L"@PJL COMMENT %s\n", kNotice) : result;
    }
    HRESULT result = WritePjlJobInfo(out, records);
    return SUCCEEDED(result) ? WriteRetention(out, settings, modelCode) : result;
}

HRESULT WriteEndOfJob(CommandOutput& out) {
    DWORD modelCode = 0;
    if (!LookUpModelCode(out.state(), &modelCode)) {
        return S_OK;
    }
    HRESULT result = S_OK;
    if (IsPclXl(out.state().pdlType)) {
        result = Text(out, "\x49\x42");
    }
    JobRecords records;
    if (SUCCEEDED(result) && !records.ReadJob(out.state())) {
        return Text(out, "\x1b%-12345X@PJL EOJ\n\x1b%-12345X");
    }
    WCHAR document[kJobTextRoom];
    if (SUCCEEDED(result)) {
        QuotedValue(records.job().pDocument, kJobTextRoom, document);
        result = Text(out, kUel);
    }
    if (SUCCEEDED(result)) {
        result = out.Converted(L"@PJL EOJ NAME=\"%s\"\n", document);
    }
    return SUCCEEDED(result) ? Text(out, kUel) : result;
}

} // namespace moltr::render
