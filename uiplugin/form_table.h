#pragma once
// The forms the plug-in adds to the spooler when a printer is set up: names are language strings
// of the resources object, sizes in micrometres with the whole sheet imageable.
#include <windows.h>
#include "common/resources.h"

namespace moltr::ui {

struct FormRow {
    UINT nameId;
    LONG width;
    LONG length;
};

inline constexpr FormRow kFormTable[] = {
    {1217, 210000, 297000}, {1218, 148000, 210000}, {1222, 182000, 257000}, {1223, 215900, 279400},
    {1224, 139700, 215900}, {1225, 215900, 355600}, {1226, 184150, 266700}, {1227, 215900, 330200},
    {1228, 203200, 266700}, {1229, 210000, 330000}, {1237, 311150, 457200}, {1230, 98425, 190500},
    {1231, 104775, 241300}, {1232, 110000, 220000}, {1233, 162000, 229000}, {1234, 114000, 162000},
    {1235, 176000, 250000}, {1216, 297000, 420000}, {1221, 257000, 364000}, {1219, 279400, 431800},
    {1215, 420000, 594000}, {1220, 364000, 514000},
};
static_assert(sizeof(kFormTable) / sizeof(kFormTable[0]) == 22);

// Adds every row with AddFormW (level 1, FORM_PRINTER), in table order; a form that cannot be
// added is skipped, as setting up a printer never fails on one.
void AddPrinterForms(HANDLE printer, common::IResources& resources);

} // namespace moltr::ui
