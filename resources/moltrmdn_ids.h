#pragma once
// The manual-duplex notifier's resource ids, shared by its two resource scripts and its code.
#define IDD_MDN_DIALOG 20000
#define IDC_MDN_INTRO_LABEL 20050
#define IDC_MDN_REMOVE_PICTURE 20100
#define IDC_MDN_REMOVE_LABEL 20101
#define IDC_MDN_INSERT_PICTURE 20150
#define IDC_MDN_INSERT_LABEL 20151
#define IDC_MDN_GO_PICTURE 20200
#define IDC_MDN_GO_LABEL 20201
#define IDC_CLOSE_BUTTON 8
#define IDB_MDN_REMOVE 110
#define IDB_MDN_TURN 111
#define IDB_MDN_INSERT 112
