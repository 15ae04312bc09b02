#pragma once
// Resource ids of the fixtures that the resources tests add to the language module
// (language_fixtures.rc), next to the ids of the shipping module.
#include "resources/moltrres_ids.h"

// The dialog that shows the module's localisation: its caption is string IDD_MOLTRRES_SAMPLE and
// each control's text the string of the control's id.
#define IDD_MOLTRRES_SAMPLE 9500
#define IDC_MOLTRRES_SAMPLE_LABEL 9501
#define IDC_MOLTRRES_SAMPLE_CHECK 9502
#define IDC_MOLTRRES_SAMPLE_EDIT 9503
// A control with no string of its own, and one with an ordinal title.
#define IDC_MOLTRRES_SAMPLE_UNNAMED 9504
#define IDC_MOLTRRES_SAMPLE_ICON 9505

// A string of exactly ten characters, and one that is empty in the table.
#define IDS_MOLTRRES_TEN_CHARACTERS 9510
#define IDS_MOLTRRES_EMPTY 9511
