#pragma once
// Whether a printer duplexes by hand: its printer-wide _DUPLEXTYPE is PST_DUPLEXTYPE_MANUAL (2) or
// PST_DUPLEXTYPE_MANUALBACK (3). The hand-off asks before it announces a job, the notifier again
// before it shows its dialog, since the printer may have gained a duplex unit meanwhile.
#include "common/drv_settings.h"

namespace moltr::notifier {

// A missing field reads as 0 (no duplex).
bool DuplexesByHand(common::IDrvSettings& settings);

} // namespace moltr::notifier
