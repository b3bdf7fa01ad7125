// Resource identifiers shared by Twk.rc and the code.
#pragma once

#define IDI_TWK 1

#define IDB_SBAR_ENABLED 101   // toolbar images, 7 x (48 x 48), strip
#define IDB_SBAR_DISABLED 102  // disabled toolbar images, 4 x (48 x 48), strip

#define IDB_MENU_IMPORT 110
#define IDB_MENU_EXPORT 111
#define IDB_MENU_EXIT 112
#define IDB_MENU_UNINSTALL 113
#define IDB_MENU_REMOVE 114
#define IDB_MENU_PROGRAMS 115
#define IDB_MENU_HELPTOPICS 116

#define IDB_PROGBUTTON 120

#define IDR_LOGO_JPEG 130
