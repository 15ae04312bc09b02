#include "uiplugin/paper_limits.h"

#include <iterator>
#include "common/model_family.h"

namespace moltr::ui {
namespace {

// In the order of the family's model list.
constexpr PaperLimits kModelLimits[] = {
    {98000, 216000, 148000, 297000}, {88900, 220000, 139700, 355600},
    {90000, 304800, 98000, 1200000}, {76200, 220000, 98400, 355600},
    {90000, 220000, 110000, 355600}, {76200, 220000, 98400, 355600},
    {90000, 311200, 139700, 457200}, {88900, 220000, 139700, 355600},
    {76200, 220000, 98400, 355600},  {90000, 220000, 110000, 355600},
    {76200, 220000, 98400, 355600},  {90000, 311200, 139700, 457200},
};
static_assert(std::size(kModelLimits) == std::size(common::kModelFamily));

constexpr PaperLimits kOtherDevice = {76200, 216000, 127000, 355600};
constexpr PaperLimits kOtherDeviceLargeSizes = {76200, 297000, 127000, 432000};

bool LargeSizesEnabled(common::IDrvSettings* settings) {
    BYTE enabled = 0;
    return settings != nullptr &&
           SUCCEEDED(settings->GetValue(nullptr, L"_LRGSIZES", &enabled, sizeof enabled,
                                        common::kLayoutPrinterSettings)) &&
           enabled != 0;
}

} // namespace

PaperLimits LookUpPaperLimits(LPCWSTR deviceName, common::IDrvSettings* settings) {
    for (size_t i = 0; deviceName != nullptr && i < std::size(kModelLimits); ++i) {
        if (lstrcmpiW(deviceName, common::kModelFamily[i].driverName) == 0) {
            return kModelLimits[i];
        }
    }
    return LargeSizesEnabled(settings) ? kOtherDeviceLargeSizes : kOtherDevice;
}

} // namespace moltr::ui
