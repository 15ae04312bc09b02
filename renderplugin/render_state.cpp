#include "renderplugin/render_state.h"

#include <algorithm>
#include <cstring>
#include "renderplugin/gutter_mask.h"
#include "renderplugin/render_heap.h"
#include "renderplugin/watermark_layer.h"

namespace moltr::render {

namespace {

// The DRVFN index of each entry point the state keeps, in Ddi order.
constexpr ULONG kDdiIndex[kDdiCount] = {
    INDEX_DrvAlphaBlend,
    INDEX_DrvBitBlt,
    INDEX_DrvCopyBits,
    INDEX_DrvEnableSurface,
    INDEX_DrvEndDoc,
    INDEX_DrvFillPath,
    INDEX_DrvGradientFill,
    INDEX_DrvGetGlyphMode,
    INDEX_DrvLineTo,
    INDEX_DrvNextBand,
    INDEX_DrvPaint,
    INDEX_DrvPlgBlt,
    INDEX_DrvRealizeBrush,
    INDEX_DrvSendPage,
    INDEX_DrvStartBanding,
    INDEX_DrvStartDoc,
    INDEX_DrvStartPage,
    INDEX_DrvStretchBlt,
    INDEX_DrvStretchBltROP,
    INDEX_DrvStrokeAndFillPath,
    INDEX_DrvStrokePath,
    INDEX_DrvTextOut,
    INDEX_DrvTransparentBlt,
    INDEX_DrvIcmCreateColorTransform,
    INDEX_DrvIcmDeleteColorTransform,
    INDEX_DrvIcmCheckBitmapBits,
    INDEX_DrvEscape,
    INDEX_DrvDrawEscape,
};

// A heap block of `room` bytes holding the first `given` bytes of `source`.
template <typename T> T* CopyToHeap(const T* source, ULONG given, size_t room) {
    auto* copy = static_cast<T*>(RenderHeapAlloc(room));
    if (copy != nullptr && source != nullptr) {
        std::memcpy(copy, source, std::min<size_t>(given, sizeof(T)));
    }
    return copy;
}

} // namespace

RenderState::RenderState() : heapUser(AcquireRenderHeap()) {}

RenderState::~RenderState() {
    ForgetPageStamps(*this);
    delete[] printerName;
    if (heapUser) {
        RenderHeapFree(gdiInfo);
        RenderHeapFree(devInfo);
        ReleaseRenderHeap();
    }
}

void ForgetPageStamps(RenderState& state) {
    delete state.watermark;
    state.watermark = nullptr;
    delete state.gutters;
    state.gutters = nullptr;
}

void TakeDriverEntryPoints(RenderState& state, const DRVENABLEDATA& driverTable) {
    for (size_t slot = 0; slot < kDdiCount; ++slot) {
        state.ddi[slot] = nullptr;
        for (ULONG i = 0; driverTable.pdrvfn != nullptr && i < driverTable.c; ++i) {
            if (driverTable.pdrvfn[i].iFunc == kDdiIndex[slot]) {
                state.ddi[slot] = driverTable.pdrvfn[i].pfn;
                break;
            }
        }
    }
}

bool CopyGeometry(RenderState& state, const GDIINFO* gdiInfo, ULONG gdiSize, const DEVINFO* devInfo,
                  ULONG devSize) {
    state.gdiInfo = CopyToHeap(gdiInfo, gdiSize, kGdiInfoCopySize);
    state.devInfo = CopyToHeap(devInfo, devSize, kDevInfoCopySize);
    return state.gdiInfo != nullptr && state.devInfo != nullptr;
}

} // namespace moltr::render
