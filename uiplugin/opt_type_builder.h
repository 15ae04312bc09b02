#pragma once
// The plug-in's own option items from their feature records: the item's name and the OPTTYPE with
// one OPTPARAM per OPTION record, filled by control type. Everything is allocated zero-filled on
// the host's OEM heap, which the host frees with the sheet.
#include <windows.h>
#include <compstui.h>
#include "common/resources.h"
#include "store/xpr.h"

namespace moltr::ui {

// The description's control types the host never draws itself.
inline constexpr BYTE kControlTypeHeader = 11; // a header item: no OPTTYPE, Sel holds its icon
inline constexpr BYTE kControlTypePropSheet = 15;
inline constexpr BYTE kControlTypePropSheetUI = 16;
inline constexpr BYTE kControlTypeTabControl = 20;

struct ItemBuildContext {
    HANDLE heap;
    common::IResources* resources;
    store::StructureRecord* record; // the open feature structure
    void* engine;                   // named in push-button records
};

// A heap copy of string `textId` from the resources, else of `literal`, else "NO AVAILABLE
// RESOURCE" when a string id was given, else ""; null without memory.
LPWSTR ItemText(const ItemBuildContext& context, DWORD textId, LPCWSTR literal);

// Builds the OPTTYPE of `item` (control type `controlType`) from the OPTION records of the current
// feature record; also stores in UserData the reference text of the first option's VALUE. False
// without memory or for an unknown control type.
bool BuildOptType(const ItemBuildContext& context, BYTE controlType, OPTITEM& item);

} // namespace moltr::ui
