#pragma once
// Putting a saved watermark into the watermark page: the record's fields after its name go, one
// by one, to the items whose ids the structure's DIALOGIDS list names in the same order.
#include <windows.h>
#include "store/xpr.h"

namespace moltr::ui {

class VORTAOptItemHandlerFactory;

// Applies the saved watermark `index` (from 0) of the WATERMARKSETTINGS in `record`; nothing when
// it has no such record or the record's name is empty. An id of 0 skips its field.
void ApplyWatermark(store::StructureRecord* record, DWORD index,
                    VORTAOptItemHandlerFactory& factory);

} // namespace moltr::ui
