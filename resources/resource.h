// Resource identifiers shared by the resource script and the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_CALVANT_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_RADIO_ENGLISH 1001
#define IDC_RADIO_SIMPLIFIED_CHINESE 1002
#define IDC_RADIO_TRADITIONAL_CHINESE 1003
#define IDC_CHECK_USB_CAMERA 1004
#define IDC_CHECK_GIGE_CAMERA 1005

// System-menu command of the About entry; the low four bits of system commands belong to Windows.
#define IDM_ABOUTBOX 0x0010
