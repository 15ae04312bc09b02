#include "common/plugin_devmode.h"

namespace moltr::common {

HRESULT AnswerDevMode(IDrvSettings& settings, DWORD mode, OEMDMPARAM& param) {
    switch (mode) {
    case OEMDM_SIZE:
        return settings.GetDevModeSize(&param.cbBufSize);
    case OEMDM_DEFAULT:
        return settings.GetDefaultDevMode(&param.cbBufSize, param.pOEMDMOut);
    case OEMDM_CONVERT:
        return settings.ConvertDevMode(param.cbBufSize, param.pOEMDMOut, param.pOEMDMIn);
    default:
        return settings.MergeDevMode(param.cbBufSize, param.pPublicDMOut, param.pPublicDMIn,
                                     param.pOEMDMOut, param.pOEMDMIn);
    }
}

} // namespace moltr::common
