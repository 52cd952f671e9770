#pragma once

// Resource identifiers of kivoscope.exe, shared by the resource script and the code.
#define IDI_APPLICATION_ICON 103
#define IDD_MAIN_WINDOW 105
#define IDC_STATUS_BAR 100
