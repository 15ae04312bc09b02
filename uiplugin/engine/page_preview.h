#pragma once
// The page preview: a small picture of the printed sheet with its paper size caption, painted
// into a control's client area.
#include <windows.h>
#include "uiplugin/engine/preview_state.h"

namespace moltr::ui {

inline constexpr size_t kPreviewCaptionRoom = 64;

// The paper size caption: the paper's two sides in the printed orientation, in the state's units,
// with the separator and unit texts (from the language resources) after them.
void PreviewCaption(const PreviewState& state, LPCWSTR separator, LPCWSTR unit,
                    WCHAR (&caption)[kPreviewCaptionRoom]);

// Paints the preview into `client` of `dc` (a DC in MM_TEXT, as a control paints): background,
// sheet, mock pages and caption. A control too small for the sheet's margin or a paper without
// size shows the background only. The DC's state is left as it was.
void PaintPagePreview(HDC dc, const RECT& client, const PreviewState& state,
                      const WatermarkRecord& watermark, LPCWSTR caption);

} // namespace moltr::ui
