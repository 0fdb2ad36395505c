// The numbers of the window's resources and controls, shared by the resource
// script and the code.
#pragma once

#define IDI_PELLIMAR 102

// The menus' items: the commands, then the preferences, each in its order.
#define IDM_FIRST_COMMAND 200
#define IDM_FIRST_PREFERENCE 250

// The main window's controls, in the order of the layout's control ids.
#define IDC_FIRST_CONTROL 300

// The input box.
#define IDD_INPUT_BOX 400
#define IDC_INPUT_PROMPT 401
#define IDC_INPUT_TEXT 402

// The preview list and the guide.
#define IDD_PREVIEW 410
#define IDC_PREVIEW_CAPTION 411
#define IDC_PREVIEW_LIST 412
#define IDC_PREVIEW_NOTE 413
#define IDC_PREVIEW_LEVELS 414
#define IDD_GUIDE 420
#define IDC_GUIDE_TEXT 421
#define IDC_GUIDE_FIND 422
#define IDC_GUIDE_FIND_NEXT 423
#define IDC_GUIDE_FIND_PREVIOUS 424
#define IDC_GUIDE_FIND_STATUS 425
