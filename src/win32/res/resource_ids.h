#pragma once

// Resource identifiers of kivoscope.exe, shared by the resource script and the code. The main
// window's controls and timers are numbered in the core.
#include "view/control_ids.h"

#define IDI_APPLICATION_ICON 103
#define IDD_MAIN_WINDOW 105

// Labels and frames that the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
