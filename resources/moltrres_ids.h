#pragma once
// Resource ids of the language module MOLTRRES.DLL that the modules and their tests name. The
// ids of its strings that the descriptions and the deliverables name are given as numbers in the
// resource script.

#define IDB_MOLTRRES_PICTURE 9520
#define IDC_MOLTRRES_CURSOR 9521
#define IDI_MOLTRRES_ICON 9522
#define IDR_MOLTRRES_DATA 9530
