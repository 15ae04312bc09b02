// The renderer's job: until the page loop exists, no job renders.
#include "src/unidrv/job_renderer.h"

namespace moltr::unidrv {

RenderJobResult RenderJob(const RenderJobRequest&) {
    RenderJobResult result;
    result.result = E_NOTIMPL;
    return result;
}

} // namespace moltr::unidrv
