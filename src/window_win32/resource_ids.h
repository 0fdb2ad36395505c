// The numbers of the window's resources and controls, shared by the resource
// script and the code.
#pragma once

#define IDR_MAIN_MENU 100
#define IDR_ACCELERATORS 101
#define IDI_PELLIMAR 102

// The File menu and its Preferences submenu.
#define IDM_LOAD_LEVELS 200
#define IDM_INPUT_FILE 201
#define IDM_OUTPUT_FILE 202
#define IDM_BEGIN 203
#define IDM_PREVIEW 204
#define IDM_LEFT_JUST_ONLY 205
#define IDM_SHOW_PROG_METER 206
#define IDM_USE_HR 207
#define IDM_ID_RECORDS 208
#define IDM_SET_VIEWER 209
#define IDM_EXIT 210
// The Help menu.
#define IDM_USING 211
#define IDM_ABOUT 212

// The controls of the main window; the eleven boxes follow in the order of
// HistoryBox from IDC_FIRST_BOX.
#define IDC_FIRST_BOX 300
#define IDC_REMOVE_MARKS 320
#define IDC_NOT_SEARCHED 321
#define IDC_BEGIN 322
#define IDC_EXIT 323
#define IDC_INPUT_BROWSE 324
#define IDC_OUTPUT_BROWSE 325
#define IDC_GAUGE 326
#define IDC_ELAPSED 327
#define IDC_REMAINING 328
#define IDC_STATIC_ELAPSED 329
#define IDC_STATIC_REMAINING 330

// The input box.
#define IDD_INPUT_BOX 400
#define IDC_INPUT_PROMPT 401
#define IDC_INPUT_TEXT 402

// The preview list and the guide.
#define IDD_PREVIEW 410
#define IDC_PREVIEW_CAPTION 411
#define IDC_PREVIEW_LIST 412
#define IDC_PREVIEW_NOTE 413
#define IDD_GUIDE 420
#define IDC_GUIDE_TEXT 421
