#pragma once

// Resource identifiers of kivoscope.exe, shared by the resource script and the code. The main
// window's controls and timers are numbered in the core.
#include "view/control_ids.h"

#define IDI_APPLICATION_ICON 103
#define IDD_SIM_PIN 104
#define IDD_MAIN_WINDOW 105
#define IDD_SMS_FIXED_RECIPIENT 106
#define IDD_SMS_ANY_NUMBER 108
#define IDD_DEVICE_INFO 109
#define IDD_DATA_PLAN 110
#define IDD_USAGE_HISTORY 111
#define IDD_TALL_TEXT_BOX 120

// The text of the box that scrolls a text too tall for a message box (template 120): the
// identifier a message box gives its text, so a tool reads both alike.
#define IDC_BOX_TEXT 0xFFFF

// The SIM PIN dialog (template 104).
#define IDC_PIN_CANCEL 1003
#define IDC_PIN_OK 1004
#define IDC_PIN_INPUT 1007
#define IDC_PIN_ATTEMPTS 1027

// Labels and frames that the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
