#pragma once
// Resource and template control IDs, shared by the resource script and the code.
#define IDD_MAIN_DIALOG 1000
#define IDI_SPARE_ICON 1001
#define IDI_MAIN_ICON 1002
#define IDB_MODULE_PICTURE 1003
#define IDC_MODULE_PICTURE 1004
#define IDC_PROGRESS_TEXT 1006
#define IDC_PROGRESS_BAR 1007
#define IDD_PROGRESS_DIALOG 1008
#define IDC_HIDDEN_BUTTON 2
