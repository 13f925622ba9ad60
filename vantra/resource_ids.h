/* Numeric resource ids of the utility, shared by its resource scripts and
   its code. The resource compiler reads this file too: #define lines only. */
#pragma once

/* Background; its size is also the window's size. */
#define IDB_BACKGROUND 1001

/* Status panels. The link page's panel also stands for the three title ids
   below, which name the link page's states. */
#define IDB_STATUS_LINK 1002
#define IDB_STATUS_SURVEY 1003
#define IDB_STATUS_PROFILES 1004
#define IDB_STATUS_WIZARD_NETWORK 1012
#define IDB_STATUS_WIZARD_CHANNEL 1013
#define IDB_STATUS_WIZARD_TCPIP 1014
#define IDB_STATUS_WIZARD_WEP 1015
#define IDB_STATUS_WIZARD_CONFIRM 1020
#define IDB_STATUS_WIZARD_ACTIVATE 1021

/* Link-page titles, caption strips and the detail frame. */
#define IDB_TITLE_ADHOC 1005
#define IDB_TITLE_INFRASTRUCTURE 1006
#define IDB_TITLE_NO_LINK 1007
#define IDB_CAPTION_ADHOC 1008
#define IDB_CAPTION_INFRASTRUCTURE 1009
#define IDB_LINK_INFO_FRAME 1010

/* The profile wizard's title, on its pages' panels: making a new profile,
   editing a stored one. */
#define IDB_TITLE_NEW_PROFILE 1022
#define IDB_TITLE_EDIT_PROFILE 1023

/* Menu picture without and with an open adapter. */
#define IDB_MENU_NO_ADAPTER 1027
#define IDB_MENU_ADAPTER 1029

/* Wizard buttons: each highlighted picture is its normal one's id + 1. */
#define IDB_BUTTON_BACK 1032
#define IDB_BUTTON_BACK_HOT 1033
#define IDB_BUTTON_NEXT 1035
#define IDB_BUTTON_NEXT_HOT 1036
#define IDB_BUTTON_NO 1041
#define IDB_BUTTON_NO_HOT 1042
#define IDB_BUTTON_YES 1044
#define IDB_BUTTON_YES_HOT 1045
#define IDB_BUTTON_NOW 1050
#define IDB_BUTTON_NOW_HOT 1051
#define IDB_BUTTON_LATER 1053
#define IDB_BUTTON_LATER_HOT 1054

/* Page buttons: selected, not selected. */
#define IDB_TAB_LINK 1081
#define IDB_TAB_LINK_OFF 1082
#define IDB_TAB_SURVEY 1083
#define IDB_TAB_SURVEY_OFF 1084
#define IDB_TAB_PROFILES 1085
#define IDB_TAB_PROFILES_OFF 1086

/* Title button: exit picture, normal, under the pointer. */
#define IDB_TITLE_BUTTON_EXIT 1091
#define IDB_TITLE_BUTTON 1093
#define IDB_TITLE_BUTTON_HOT 1095

/* Site survey: the list's row pictures, 16 x 16 side by side: infrastructure,
   infrastructure with WEP, ad hoc, ad hoc with WEP, each unmarked, failed
   to connect, connected. */
#define IDB_SURVEY_ROWS 1101

/* WEP key dialog: its buttons' glyph strips (at rest, under the pointer,
   held down). Its background is its form data's picture. */
#define IDB_WEP_OK 1111
#define IDB_WEP_CANCEL 1112
