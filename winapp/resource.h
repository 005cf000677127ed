#pragma once

// Resource and control identifiers of Velkaro.exe, shared by the resource script and the code.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_POINTCONVERT_DIALOG 102
#define IDI_VELKARO 128
#define IDB_BACKGROUND 130

#define IDC_BROWSE 1000
#define IDC_CONVERT 1001
#define IDC_FILENAME 1002
#define IDC_LABEL_SOURCE 1003
#define IDC_FORMAT 1004
#define IDC_LABEL_FORMAT 1005

#define IDM_ABOUTBOX 0x0010
