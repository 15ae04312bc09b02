#pragma once
// Host items the own pages show with the plug-in's texts; some of them also set the own item that
// shows the same choice (their shadow).
#include <windows.h>
#include "uiplugin/engine/opt_item_handler.h"

namespace moltr::ui {

struct StringMapEntry {
    UINT hostId;
    UINT ownId;
};

// The host's string ids an item shows, with the own strings that replace them.
struct StringMap {
    const StringMapEntry* entries;
    size_t count;
    DWORD shadowId; // 0: none
};

template <const StringMap& Map> class StringMapHandler : public VORTAOptItemHandler {
public:
    using VORTAOptItemHandler::VORTAOptItemHandler;
    UINT GetStringForId(UINT hostId) override;
    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
};

extern const StringMap kIcmMethodStrings;
extern const StringMap kIcmIntentStrings;
extern const StringMap kPageOrderStrings;

using VORTAOptItemHandlerICMMETHOD = StringMapHandler<kIcmMethodStrings>;
using VORTAOptItemHandlerICMINTENT = StringMapHandler<kIcmIntentStrings>;
using VORTAOptItemHandlerPAGEORDER = StringMapHandler<kPageOrderStrings>;

class VORTAOptItemHandlerTRUETYPEFONT : public VORTAOptItemHandler {
public:
    VORTAOptItemHandlerTRUETYPEFONT(VORTAOptItemHandlerFactory* factory, POPTITEM item,
                                    DWORD itemId);
};

class VORTAOptItemHandlerHALFTONE : public VORTAOptItemHandler {
public:
    VORTAOptItemHandlerHALFTONE(VORTAOptItemHandlerFactory* factory, POPTITEM item, DWORD itemId);
};

// The output bin: without the optional output tray its second option is hidden.
class VORTAOptItemHandlerMEDIAOUTPUT : public VORTAOptItemHandler {
public:
    VORTAOptItemHandlerMEDIAOUTPUT(VORTAOptItemHandlerFactory* factory, POPTITEM item,
                                   DWORD itemId);
    LONG SetSelection(LONG index, VORTAOptItemNotify* source) override;
};

} // namespace moltr::ui
