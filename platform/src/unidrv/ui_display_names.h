#pragma once
// The texts the universal driver's user interface shows for GPD features and options: the
// entry's *Name as it stands, else its *rcNameID, either one of the standard display names
// ("=PAPER_SIZE_DISPLAY") or a string of the driver's resource module (*ResourceDLL, one of the
// printer's dependent files), else the entry's keyword.
#include <windows.h>
#include <string>
#include <string_view>
#include "src/unidrv/gpd_model.h"

namespace moltr::unidrv {

class DisplayNames {
public:
    // Loads `printer`'s resource module as data when the GPD names one among its files.
    DisplayNames(HANDLE printer, const GpdModel& model);
    ~DisplayNames();
    DisplayNames(const DisplayNames&) = delete;
    DisplayNames& operator=(const DisplayNames&) = delete;

    std::u16string Of(const GpdBody& body, std::string_view keyword) const;

private:
    HMODULE resources_ = nullptr;
};

} // namespace moltr::unidrv
