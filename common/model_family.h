#pragma once
// The twelve driver models of the family. The UI plug-in (paper limits, model class) and the render
// plug-in (model code of the job header) both pick a model by its driver name from this list; the
// order is that of the paper-limit table. samples/models.txt lists the same names for people.
#include <windows.h>

namespace moltr::common {

struct ModelFamilyEntry {
    const WCHAR* driverName;
    DWORD modelClass; // also the job header's model code
};

inline constexpr ModelFamilyEntry kModelFamily[] = {
    {L"MOLTR ColorLaser 1100 PCL5c", 1}, {L"MOLTR ColorLaser 1500 PCL5c", 2},
    {L"MOLTR ColorLaser 2000 PCL5c", 3}, {L"MOLTR ColorLaser 2500 PCL5c", 4},
    {L"MOLTR ColorLaser 3000 PCL5c", 5}, {L"MOLTR ColorLaser 3500 PCL5c", 6},
    {L"MOLTR ColorLaser 4000 PCL5c", 7}, {L"MOLTR ColorLaser 1500 PCL6", 11},
    {L"MOLTR ColorLaser 2500 PCL6", 13}, {L"MOLTR ColorLaser 3000 PCL6", 14},
    {L"MOLTR ColorLaser 3500 PCL6", 15}, {L"MOLTR ColorLaser 4000 PCL6", 16},
};

// Drivers outside the family.
inline constexpr DWORD kUnknownModelClass = 20;

} // namespace moltr::common
