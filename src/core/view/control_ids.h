#pragma once

// Identifiers of the main window's controls and timers. Plain macros, because the resource
// script includes this header as well as the code.

// Signal and cell
#define IDC_SIGNAL_VALUE 1009
#define IDC_SIGNAL_BAR 1011
#define IDC_TECHNOLOGY 1012
#define IDC_OPERATOR 1015
#define IDC_MCC 1077
#define IDC_MNC 1078
#define IDC_LAC 1079
#define IDC_CELL_ID 1081
#define IDC_RNC_ID 1082

// Cell broadcast
#define IDC_BROADCAST_TEXT 1021
#define IDC_BROADCAST_CLEAR 1022
#define IDC_BROADCAST_COPY 1023
#define IDC_AREA_INFO 1028

// Signal log, SMS
#define IDC_SIGNAL_LOG 1024
#define IDC_SMS 1025

// USSD
#define IDC_USSD_SEND 1030
#define IDC_USSD_REPLY 1031
#define IDC_USSD_INPUT 1032
#define IDC_USSD_END 1033
#define IDC_USSD_HELP 1070

// APN
#define IDC_APN_SET 1034
#define IDC_APN_INPUT 1035

// Current session
#define IDC_SESSION_DURATION 1048
#define IDC_SESSION_SENT 1040
#define IDC_SESSION_RECEIVED 1039
#define IDC_SESSION_TOTAL 1038
#define IDC_RATE_UP 1061
#define IDC_RATE_UP_MAX 1058
#define IDC_RATE_UP_AVERAGE 1059
#define IDC_RATE_UP_MAX_AVERAGE 1064
#define IDC_RATE_DOWN 1060
#define IDC_RATE_DOWN_MAX 1056
#define IDC_RATE_DOWN_AVERAGE 1057
#define IDC_RATE_DOWN_MAX_AVERAGE 1063
#define IDC_PROFILE_UP 1071
#define IDC_PROFILE_DOWN 1072

// Last session, totals, previous period: duration, sent, received, sum, time
#define IDC_LAST_DURATION 1047
#define IDC_LAST_SENT 1037
#define IDC_LAST_RECEIVED 1036
#define IDC_LAST_TOTAL 1013
#define IDC_LAST_END 1053
#define IDC_TOTALS_DURATION 1049
#define IDC_TOTALS_SENT 1043
#define IDC_TOTALS_RECEIVED 1042
#define IDC_TOTALS_TOTAL 1041
#define IDC_TOTALS_SINCE 1055
#define IDC_PREVIOUS_DURATION 1068
#define IDC_PREVIOUS_SENT 1067
#define IDC_PREVIOUS_RECEIVED 1066
#define IDC_PREVIOUS_TOTAL 1065
#define IDC_PREVIOUS_SINCE 1069

// Counter buttons
#define IDC_RESET_SESSION 1044
#define IDC_RESET_TOTALS 1045
#define IDC_RESET_MAX_RATES 1054
#define IDC_RESET_MAX_AVERAGE_RATES 1062

// Network mode, connection, device
#define IDC_NETWORK_MODE_APPLY 1050
#define IDC_NETWORK_MODE_LIST 1051
#define IDC_CONNECT 1052
#define IDC_DEVICE_INFO 1046
#define IDC_RESET_MODEM 1073
#define IDC_DETECT_MODEM 1074

// Usage history: the main window's button, the chart and Copy of its dialog (template 111)
#define IDC_HISTORY 1097
#define IDC_HISTORY_CHART 1098
#define IDC_HISTORY_COPY 1099

#define IDC_STATUS_BAR 100

// Data plan: the button and fields of the usage group, the edits of its dialog (template 110),
// and the timer of the history's writes.
#define IDC_DATA_PLAN 1090
#define IDC_PLAN_ALLOWANCE 1091
#define IDC_PLAN_BILLING_DAY 1092
#define IDC_PLAN_WARN_PERCENT 1093
#define IDC_PLAN_USAGE 1094
#define IDC_PLAN_DAYS_LEFT 1095
#define IDC_PLAN_BAR 1096
#define TIMER_HISTORY 1204

// Timers of the main window
#define TIMER_WATCHDOG 1201
#define TIMER_USSD_SESSION 1202
#define TIMER_POLL 1203

// The device-information dialog (template 109): fields of its own, numbered independently of
// the main window's controls.
#define IDC_INFO_CLOSE 1004
#define IDC_INFO_PORT 1017
#define IDC_INFO_HARDWARE_VERSION 1018
#define IDC_INFO_MODEL 1019
#define IDC_INFO_FIRMWARE 1020
#define IDC_INFO_MANUFACTURER 1021
#define IDC_INFO_SERIAL_NUMBER 1026
#define IDC_INFO_IMEI 1027
#define IDC_INFO_IMSI 1029
#define IDC_INFO_ICCID 1030
#define IDC_INFO_PROVIDER 1033

// The two SMS dialogs (templates 106 and 108) share their identifiers, numbered independently of
// the main window's controls. The fixed-recipient dialog shows its recipient; the any-number dialog
// has the number edit.
#define IDC_SMS_CLOSE 1004
#define IDC_SMS_REMAINING 1035
#define IDC_SMS_MESSAGE 1037
#define IDC_SMS_SEND 1040
#define IDC_SMS_ANY_NUMBER 1041
#define IDC_SMS_NUMBER 1042
#define IDC_SMS_RECIPIENT 1043
