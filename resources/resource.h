/*
 * resource.h - the one list of resource names and numbers, shared by vuko.rc
 * and the C++ code, so that every number is written exactly once.
 *
 * Kept free of C++ so that the resource compiler can read it as well.
 */
/* The resource compiler reads this too: kept as written. */
/* clang-format off */
#ifndef VUKO_RESOURCE_H
#define VUKO_RESOURCE_H

/* Resource names. The names DIALOG and MENU are keywords of the resource
 * language; the .rc writes them quoted. */
#define NAME_DIALOG   "DIALOG"
#define NAME_INPUTBOX "INPUTBOX"
#define NAME_HELP     "HELP"
#define NAME_ABOUT    "ABOUT"
#define NAME_MENU     "MENU"
#define NAME_ICON     "ICON"

/* String table, 0..45: loaded with LoadStringA by number. */
#define STR_PRODUCT          0  /* product name, title without a file */
#define STR_SAVE_CAPTION     10 /* caption of the save question */
#define STR_SAVE_QUESTION    11 /* text of the save question */
#define STR_SAVE_FAILED      12 /* a save wrote nothing or too little */
#define STR_DUMP_HEADER      20 /* header line of the dump, 77 bytes in cp932 */
#define STR_EDIT_HEX_TITLE   21 /* input box title: edit in hexadecimal */
#define STR_EDIT_TEXT_TITLE  22 /* input box title: edit as text */
#define STR_JUMP_TITLE       30 /* input box title of the jump */
#define STR_JUMP_LABEL       31 /* input box label of the jump */
#define STR_SEARCH           40 /* search: prompt title, message caption, progress */
#define STR_NOT_FOUND        41
#define STR_ABORTED          42
#define STR_ENTER_HEX        43 /* labels of the three pattern prompts */
#define STR_ENTER_TEXT       44
#define STR_ENTER_DECIMAL    45

/* Menu commands, 256..269: WM_COMMAND ids of the main window. */
#define CMD_OPEN             256
#define CMD_SAVE             257
#define CMD_EXIT             258
#define CMD_JUMP             259
#define CMD_FIND_HEX         260
#define CMD_FIND_TEXT        261
#define CMD_FIND_NEXT        262
#define CMD_FIND_ABORT       263
#define CMD_FONT             264
#define CMD_ENTER_DECIMAL    265
#define CMD_EDIT_HEX         266
#define CMD_EDIT_TEXT        267
#define CMD_HELP_TOPICS      268
#define CMD_ABOUT            269

/* Controls of the main window, 128..129. */
#define IDC_VIEW             128 /* multi-line edit holding the dump text */
#define IDC_SCROLL           129 /* vertical scroll bar */

/* Controls of the input box, 128..131. */
#define IDC_PROMPT           128
#define IDC_INPUT            129
#define IDC_OK               130
#define IDC_CANCEL           131

/* Controls of the Help and About boxes, 128..130 (OK is IDC_OK). */
#define IDC_INFO_ICON        128
#define IDC_INFO_TEXT        129

#endif
