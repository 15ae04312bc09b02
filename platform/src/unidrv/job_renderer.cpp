#include "src/unidrv/job_renderer.h"

#include <winspool.h>
#include <memory>
#include "src/unidrv/driver_devmode.h"
#include "src/unidrv/gpd_reader.h"
#include "src/unidrv/job_attributes.h"
#include "src/unidrv/job_device.h"
#include "src/unidrv/page_drawing.h"
#include "src/unidrv/render_plugin.h"
#include "src/unidrv/sheet_imposition.h"
#include "src/unidrv/sheet_pictures.h"

namespace moltr::unidrv {
namespace {

template <typename Function> Function As(PFN function) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}

// The driver's data file, the GPD, read into `model`.
HRESULT ReadModel(HANDLE printer, GpdModel* model, std::string* error) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(printer, nullptr, 3, info.data(), needed, &needed)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    LPCWSTR path = reinterpret_cast<const DRIVER_INFO_3W*>(info.data())->pDataFile;
    if (!path || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        *error = "the printer's GPD file is missing";
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    GpdReadResult read = ReadGpdFile(path);
    if (!read.ok) {
        *error = read.error.Text();
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    *model = std::move(read.model);
    return S_OK;
}

bool QuotedIs(const GpdModel& model, const char* name, const char* wanted) {
    const GpdAttribute* attribute = FindAttribute(model.global, name);
    std::string value;
    return attribute && ParseGpdQuoted(attribute->value, &value) && SameGpdKeyword(value, wanted);
}

// The job's whole devmode, as the driver and its plug-in settle it: the driver's defaults with
// the plug-in's default private part (OEMDM_SIZE, OEMDM_DEFAULT), the job's private part
// converted when its size is not the plug-in's (OEMDM_CONVERT), and merged over them with the
// job's public fields (OEMDM_MERGE). A plug-in that answers E_NOTIMPL for the size has no
// private part.
HRESULT SettleDevmode(IPrintOemUni* plugin, HANDLE printer, const GpdModel& model,
                      const DEVMODEW* job, std::vector<BYTE>* whole) {
    DEVMODEW driver = DefaultPublicDevmode(model, job ? job->dmDeviceName : L"");
    // The job's own page layout, which the plug-in's settings mirror, goes with it.
    const DriverLayout layout = job ? LayoutOf(*job) : DriverLayout{};
    OEMDMPARAM param = {
        sizeof(OEMDMPARAM), nullptr, printer, nullptr, &driver, &driver, nullptr, nullptr, 0};
    HRESULT result = plugin->DevMode(OEMDM_SIZE, &param);
    const DWORD size = param.cbBufSize;
    if (result == E_NOTIMPL) {
        // A plug-in without a private devmode: the job's public fields are all there is.
        if (job) {
            MergePublicFields(*job, &driver);
        }
        *whole = ComposeDevmode(driver, nullptr, 0, layout);
        return S_OK;
    }
    if (FAILED(result)) {
        return result;
    }
    if (size < kMinPluginPart || size > kMaxPluginPart) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    std::vector<BYTE> defaults(size);
    param.pOEMDMOut = defaults.data();
    result = plugin->DevMode(OEMDM_DEFAULT, &param);
    if (FAILED(result) || !job) {
        *whole = ComposeDevmode(driver, defaults.data(), size);
        return result;
    }
    MergePublicFields(*job, &driver);
    DWORD jobSize = 0;
    const BYTE* jobPart = PluginPart(*job, &jobSize);
    std::vector<BYTE> input = defaults;
    if (jobPart && jobSize == size) {
        input.assign(jobPart, jobPart + size);
    } else if (jobPart) {
        param.pOEMDMIn = const_cast<BYTE*>(jobPart);
        param.pOEMDMOut = input.data();
        result = plugin->DevMode(OEMDM_CONVERT, &param);
        if (FAILED(result)) {
            return result;
        }
    }
    std::vector<BYTE> in = ComposeDevmode(driver, input.data(), size, layout);
    *whole = ComposeDevmode(driver, defaults.data(), size, layout);
    param.pPublicDMIn = reinterpret_cast<PDEVMODEW>(in.data());
    param.pOEMDMIn = in.data() + kPluginPartOffset;
    param.pPublicDMOut = reinterpret_cast<PDEVMODEW>(whole->data());
    param.pOEMDMOut = whole->data() + kPluginPartOffset;
    param.cbBufSize = size;
    return plugin->DevMode(OEMDM_MERGE, &param);
}

// One job from the enabled driver to its disabled PDEV.
class JobRun {
public:
    JobRun(const RenderJobRequest& request, RenderJobResult* result)
        : request_(request), result_(result) {}

    HRESULT Run();

private:
    HRESULT Prepare();
    HRESULT Render(IPrintOemUni* plugin);
    HRESULT Document(JobDevice& device);
    bool DrawSheet(JobDevice& device, const std::vector<PlacedPage>& pages);
    PFN Entry(ULONG index) const;
    template <typename Function, typename... Arguments>
    bool Call(ULONG index, Arguments... arguments) {
        auto function = As<Function>(Entry(index));
        return function && function(arguments...) != FALSE;
    }

    const RenderJobRequest& request_;
    RenderJobResult* result_;
    RenderPlugin plugin_;
    GpdModel model_;
    GpdConfiguration configuration_;
    DeviceGeometry geometry_;
    std::vector<BYTE> devmode_;
    JobAttributes attributes_;
    DRVENABLEDATA hooks_ = {};
    DRVENABLEDATA own_ = JobDevice::DriverTable();
    std::unique_ptr<SheetSink> sheets_;
};

PFN JobRun::Entry(ULONG index) const {
    for (const DRVENABLEDATA* table : {&hooks_, &own_}) {
        for (ULONG i = 0; table->pdrvfn && i < table->c; ++i) {
            if (table->pdrvfn[i].iFunc == index) {
                return table->pdrvfn[i].pfn;
            }
        }
    }
    return nullptr;
}

HRESULT JobRun::Prepare() {
    const DEVMODEW* job = request_.devmode;
    if (job && job->dmSize < kMinPublicSize) {
        result_->error = "the job's devmode is too short";
        return E_INVALIDARG;
    }
    HRESULT result = ReadModel(request_.printer, &model_, &result_->error);
    result = SUCCEEDED(result) ? plugin_.Load(request_.printer, &result_->stream) : result;
    if (FAILED(result)) {
        return result;
    }
    result = SettleDevmode(plugin_.plugin(), request_.printer, model_, job, &devmode_);
    if (FAILED(result)) {
        return result;
    }
    plugin_.AskImplementedMethods();
    auto* settled = reinterpret_cast<DEVMODEW*>(devmode_.data());
    attributes_ = QueryJobAttributes(*settled);
    configuration_ = ConfigurationFromDevmode(model_, settled);
    return ReadGeometry(model_, configuration_, &geometry_, &result_->error);
}

HRESULT JobRun::Run() {
    HRESULT result = Prepare();
    if (FAILED(result)) {
        return result;
    }
    IPrintOemUni* plugin = plugin_.plugin();
    result = plugin->EnableDriver(DDI_DRIVER_VERSION_NT5, sizeof hooks_, &hooks_);
    // E_NOTIMPL: a plug-in that hooks nothing.
    if (result == E_NOTIMPL) {
        hooks_ = {};
    } else if (FAILED(result)) {
        return result;
    }
    result = Render(plugin);
    plugin->DisableDriver();
    return result;
}

HRESULT JobRun::Render(IPrintOemUni* plugin) {
    const std::string pictures = TakeSheetPictureRequest(request_.jobId);
    if (!pictures.empty()) {
        sheets_ = MakePngSheets(pictures);
    }
    auto* publicDevmode = reinterpret_cast<PDEVMODEW>(devmode_.data());
    const GpdFeature* compression = model_.Feature("Compression");
    const GpdOption* chosen = configuration_.Selected(model_, "Compression");
    JobDeviceSetup setup = {
        &model_,
        &configuration_,
        geometry_,
        plugin,
        plugin_.Implements("ImageProcessing"),
        QuotedIs(model_, "*Personality", "PCLXL"),
        compression && chosen && chosen->name != "NONE",
        publicDevmode->dmOrientation == DMORIENT_LANDSCAPE,
        request_.printer,
        publicDevmode,
        devmode_.size() > kPluginPartOffset ? devmode_.data() + kPluginPartOffset : nullptr,
        attributes_.deviceCopies,
        sheets_.get()};
    auto device = std::make_unique<JobDevice>(setup, &result_->stream, &result_->callbackIds);
    GDIINFO gdiInfo;
    DEVINFO devInfo;
    FillGdiInfo(geometry_, &gdiInfo);
    FillDevInfo(geometry_, &devInfo);
    PDEVOEM pdev = nullptr;
    DEVOBJ& devobj = device->pdev().devobj;
    HRESULT result =
        plugin->EnablePDEV(&devobj, publicDevmode->dmDeviceName, 0, nullptr, sizeof gdiInfo,
                           &gdiInfo, sizeof devInfo, &devInfo, &own_, &pdev);
    // E_NOTIMPL: a plug-in that keeps no state of its own for the PDEV.
    if (result == E_NOTIMPL) {
        return Document(*device);
    }
    if (FAILED(result)) {
        return result;
    }
    devobj.pdevOEM = pdev;
    result = Document(*device);
    plugin->DisablePDEV(&devobj);
    return result;
}

HRESULT JobRun::Document(JobDevice& device) {
    SURFOBJ* surface = device.surface();
    std::vector<WCHAR> name(request_.documentName ? request_.documentName : L"",
                            request_.documentName
                                ? request_.documentName + lstrlenW(request_.documentName) + 1
                                : nullptr);
    if (name.empty()) {
        name.push_back(L'\0');
    }
    bool ok = Call<PFN_DrvStartDoc>(INDEX_DrvStartDoc, surface, name.data(), request_.jobId);
    const auto* settled = reinterpret_cast<const DEVMODEW*>(devmode_.data());
    const SheetImposition sheets(attributes_, request_.pages, geometry_.printable,
                                 settled->dmOrientation == DMORIENT_LANDSCAPE);
    for (ULONGLONG sheet = 0; ok && sheet < sheets.Sheets(); ++sheet) {
        ok = DrawSheet(device, sheets.Sheet(sheet));
        if (ok) {
            ++result_->pagesSent;
        }
        if (ok && request_.pageSent && !request_.pageSent(result_->pagesSent)) {
            break;
        }
    }
    // The document is ended even when a sheet failed, so that the job's trailer is written.
    bool ended = Call<PFN_DrvEndDoc>(INDEX_DrvEndDoc, surface, ok ? 0 : ED_ABORTDOC);
    if (FAILED(device.failure())) {
        return device.failure();
    }
    return ok && ended ? S_OK : E_FAIL;
}

// One side: its pages played to each band in turn, with their borders when asked for.
bool JobRun::DrawSheet(JobDevice& device, const std::vector<PlacedPage>& pages) {
    SURFOBJ* surface = device.surface();
    const DdiLookup lookup = [this](ULONG index) { return Entry(index); };
    std::vector<std::unique_ptr<PageDrawing>> drawings;
    for (const PlacedPage& placed : pages) {
        if (!placed.blank) {
            drawings.push_back(std::make_unique<PageDrawing>(geometry_.printable, geometry_.dpiX,
                                                             placed.page, placed.placement));
        }
    }
    POINTL origin = {};
    bool ok = Call<PFN_DrvStartPage>(INDEX_DrvStartPage, surface) &&
              Call<PFN_DrvStartBanding>(INDEX_DrvStartBanding, surface, &origin);
    while (ok && origin.x >= 0) {
        for (const auto& drawing : drawings) {
            ok = drawing->Draw(lookup, surface, origin, device.band().rows()) && ok;
        }
        for (const PlacedPage& placed : pages) {
            if (attributes_.borders && !placed.blank) {
                ok = DrawPageBorder(lookup, surface, placed.frame, origin) && ok;
            }
        }
        ok = ok && Call<PFN_DrvNextBand>(INDEX_DrvNextBand, surface, &origin);
    }
    // The band that answers (-1, -1) has ended the page.
    return ok;
}

} // namespace

RenderJobResult RenderJob(const RenderJobRequest& request) {
    RenderJobResult result;
    JobRun run(request, &result);
    result.result = run.Run();
    return result;
}

HRESULT DefaultJobDevmode(HANDLE printer, std::vector<BYTE>* devmode, std::string* error) {
    GpdModel model;
    HRESULT result = ReadModel(printer, &model, error);
    std::vector<BYTE> written;
    RenderPlugin plugin;
    result = SUCCEEDED(result) ? plugin.Load(printer, &written) : result;
    return SUCCEEDED(result) ? SettleDevmode(plugin.plugin(), printer, model, nullptr, devmode)
                             : result;
}

} // namespace moltr::unidrv
