#include "common/devmode_repair.h"

#include "common/co_drv_settings.h"

namespace moltr::common {
namespace {

constexpr SHORT kDuplexSimplex = DMDUP_SIMPLEX;
constexpr DWORD kNoScaling = 100;
constexpr SHORT kAutomaticSource = DMBIN_AUTO;
constexpr SHORT kEnvelopeSource = DMBIN_ENVELOPE;

class Repair {
public:
    Repair(CoDrvSettings& settings, DEVMODEW& devmode, void* privateDevMode)
        : settings_(settings), devmode_(devmode), private_(privateDevMode) {}

    void Run() {
        Duplex();
        LargeSizes();
        PaperSource();
        MediaOutput();
        JobRetention();
    }

private:
    DWORD Printer(LPCWSTR name) {
        DWORD value = 0;
        settings_.ReadNumber(nullptr, name, kLayoutPrinterSettings, &value);
        return value;
    }
    void SetPrivate(LPCWSTR name, DWORD value) {
        settings_.WriteNumber(private_, name, kLayoutDevMode, value);
    }
    void SetPaperSize(SHORT size) {
        devmode_.dmPaperSize = size;
        devmode_.dmFields |= DM_PAPERSIZE;
    }
    void ScalingOff() {
        SetPrivate(L"_SCALEDOCON_ENABLED", 0);
        SetPrivate(L"_SCALE_FACTOR", kNoScaling);
    }

    void Duplex() {
        if (Printer(L"_DUPLEXTYPE") == 0 && devmode_.dmDuplex != kDuplexSimplex) {
            devmode_.dmDuplex = kDuplexSimplex;
            devmode_.dmFields |= DM_DUPLEX;
            SetPrivate(L"_BKL_MODE", 1);
        }
    }

    // A3, B4 and 11x17 need large-size support; A2 and the driver's own oversize sheet also
    // need large-size scaling. Without it they fall back to the scaling target.
    void LargeSizes() {
        bool largeSizes = Printer(L"_LRGSIZES") != 0;
        auto large = [](SHORT size) {
            return size == DMPAPER_A3 || size == DMPAPER_B4 || size == DMPAPER_11X17;
        };
        if (Printer(L"_LRGSIZESCL") == 0) {
            SHORT size = devmode_.dmPaperSize;
            if (size == DMPAPER_A2 || size == kPaperOversize || (!largeSizes && large(size))) {
                DWORD target = 0;
                settings_.ReadNumber(private_, L"_SCALEDOCON_SIZE", kLayoutDevMode, &target);
                SetPaperSize(static_cast<SHORT>(target));
                ScalingOff();
            }
        }
        if (!largeSizes && large(devmode_.dmPaperSize)) {
            SHORT size = devmode_.dmPaperSize == DMPAPER_A3   ? DMPAPER_A4
                         : devmode_.dmPaperSize == DMPAPER_B4 ? DMPAPER_B5
                                                              : DMPAPER_LETTER;
            SetPaperSize(size);
            SetPrivate(L"_SCALEDOCON_SIZE", static_cast<WORD>(size));
            ScalingOff();
        }
    }

    void PaperSource() {
        SHORT source = devmode_.dmDefaultSource;
        if (source == DMBIN_UPPER || source == DMBIN_MANUAL || source == DMBIN_FORMSOURCE) {
            return;
        }
        DWORD optional = Printer(L"_OPTSOURCE");
        bool applies = optional == 1 || (optional >= 2 && optional <= 6 &&
                                         source > static_cast<LONG>(522 - optional));
        if (applies && (Printer(L"_ENVFEEDER") != 1 || source == kEnvelopeSource)) {
            devmode_.dmDefaultSource = kAutomaticSource;
            devmode_.dmFields |= DM_DEFAULTSOURCE;
        }
    }

    void MediaOutput() {
        DWORD duplexType = Printer(L"_DUPLEXTYPE");
        bool manualDuplex = duplexType == 2 || duplexType == 3;
        if (Printer(L"_OPTOUTPUT") == 1 || (devmode_.dmDuplex != kDuplexSimplex && manualDuplex)) {
            SetPrivate(L"_MEDIAOUTPUT", 0);
        }
    }

    // Job retention keeps jobs on the printer's RAM disk or compact flash card.
    void JobRetention() {
        DWORD ramDisk = 0;
        DWORD flash = 0;
        bool hasRamDisk =
            settings_.ReadNumber(nullptr, L"_RAMDISK", kLayoutPrinterSettings, &ramDisk);
        bool hasFlash = settings_.ReadNumber(nullptr, L"_CFLASH", kLayoutPrinterSettings, &flash);
        if ((hasRamDisk || hasFlash) && (!hasRamDisk || ramDisk == 0) &&
            (!hasFlash || flash == 0)) {
            SetPrivate(L"_JR_ENABLED", 0);
        }
    }

    static constexpr SHORT kPaperOversize = DMPAPER_USER + 1; // the first driver-defined size

    CoDrvSettings& settings_;
    DEVMODEW& devmode_;
    void* private_;
};

} // namespace

bool RepairDevMode(CoDrvSettings& settings, DEVMODEW* devmode, void* privateDevMode) {
    if (devmode == nullptr || privateDevMode == nullptr) {
        return false;
    }
    Repair(settings, *devmode, privateDevMode).Run();
    return true;
}

} // namespace moltr::common
