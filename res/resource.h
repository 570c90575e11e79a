// Resource and control identifiers. windres reads this file: #defines only.
#pragma once

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_CALENDAR 102

// Menus
#define IDR_TRAYMENU 130

// Icons: the main icon and the 31 day icons (not in day order; see the day icon table)
#define IDR_MAINFRAME 128
#define IDI_DAY01 129
#define IDI_DAY02 130
#define IDI_DAY03 131
#define IDI_DAY04 132
#define IDI_DAY05 133
#define IDI_DAY06 134
#define IDI_DAY10 138
#define IDI_DAY07 139
#define IDI_DAY08 140
#define IDI_DAY09 141
#define IDI_DAY11 142
#define IDI_DAY12 143
#define IDI_DAY13 144
#define IDI_DAY14 145
#define IDI_DAY16 147
#define IDI_DAY17 148
#define IDI_DAY18 149
#define IDI_DAY19 150
#define IDI_DAY15 151
#define IDI_DAY20 152
#define IDI_DAY21 153
#define IDI_DAY22 154
#define IDI_DAY23 155
#define IDI_DAY24 156
#define IDI_DAY25 157
#define IDI_DAY26 158
#define IDI_DAY27 159
#define IDI_DAY28 160
#define IDI_DAY29 161
#define IDI_DAY31 163
#define IDI_DAY30 164

// Strings
#define IDS_ABOUTBOX 101
#define IDP_SOCKETS_INIT_FAILED 103

// Controls of the calendar window
#define IDOK_QUIT 1
#define IDC_CALENDAR 1001
#define IDC_TOOLTIPS 1003
#define IDC_STARTMENU 1004
#define IDC_STARTMINIMIZED 1007
#define IDC_HELPBUTTON 1008
#define IDC_ABOUTBUTTON 1009

// Window-menu item and tray-menu commands
#define IDM_ABOUTBOX 0x0010
#define ID_TRAY_ABOUT 32771
#define ID_TRAY_HELP 32773
#define ID_TRAY_OPEN 32774
#define ID_TRAY_QUIT 32775
#define ID_TRAY_DATE 32776

// Texts of our own that the resources and the code share; each stands only here.
#define RAVELIND_MAKER_NOTICE "Copyright (C) 2026 The Ravelind developers"
// The calendar window's footer: one line, with room to spare from 96 to 288 DPI.
#define RAVELIND_FOOTER_TEXT "Ravelind - " RAVELIND_MAKER_NOTICE
#define RAVELIND_HELP_URL "http://www.ravelind.example/ravelind/help.htm"
