// Resource ids of the program: dialog templates, their controls and icons.
// String table ids are in string_ids.h. Letter buttons are contiguous because
// code loops over them.
#ifndef VREL_RESOURCES_RESOURCE_H_
#define VREL_RESOURCES_RESOURCE_H_

// Icon of the About box (the main icon is the named resource "ICON").
#define IDI_ABOUT 2

// Dialog templates.
#define IDD_GAME 102
#define IDD_ABOUT 103
#define IDD_LOAD 105
#define IDD_SEARCH 106
#define IDD_RESULTS 107
#define IDD_SAVE 108

// Controls without an id of their own.
#define IDC_STATIC (-1)

// Main window (102).
#define IDC_QUIT_GAME 120
#define IDC_START_GAME 121
#define IDC_HELP_BUTTON 122
#define IDC_ABOUT_BUTTON 123
#define IDC_WORD 119
#define IDC_AVERAGE_LINE 125
#define IDC_ADD_WORD 135
#define IDC_FOUND_LIST 1001
#define IDC_LOAD_COMMAND 1002
#define IDC_LETTER_FIRST 1004  // cell i of the board is button 1004 + i
#define IDC_LETTER_LAST 1019
#define IDC_SCORE_LINE 1022
#define IDC_CLEAR 1035

// Loading (105), searching (106) and saving (108) dialogs.
#define IDC_PROGRESS_LINE 1001
#define IDC_LOAD_START 1003
#define IDC_SEARCH_START 1020
#define IDC_SAVE_START 1030

// Results dialog (107).
#define IDC_MISSED_LIST 1026
#define IDC_FOUND_WORDS 1027
#define IDC_FOUND_HEADING 1028
#define IDC_MISSED_HEADING 1029

#endif  // VREL_RESOURCES_RESOURCE_H_
