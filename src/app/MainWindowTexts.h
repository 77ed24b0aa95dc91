// The main window's texts in the program's string table, where a translation
// replaces them. Included by the resource script as well.
#pragma once

#define IDS_USE_FOLDER 2001
#define IDS_USE_SPECIAL 2002
#define IDS_BROWSE_HINT 2003
#define IDS_BROWSE 2004
#define IDS_PREVIEW 2005
#define IDS_RESTORE 2006
#define IDS_EXIT 2007
#define IDS_MOVE_UP_HINT 2008
#define IDS_MOVE_UP 2009
#define IDS_MOVE_DOWN_HINT 2010
#define IDS_MOVE_DOWN 2011
#define IDS_CHANGE_FOLDER_HINT 2012
#define IDS_CHANGE_FOLDER 2013
#define IDS_ABOUT 2014
#define IDS_HIDE 2015
#define IDS_DROP_HINT 2016
#define IDS_SAVE_FAILED 2017
#define IDS_SAVE_FAILED_CAPTION 2018
#define IDS_PICKER_TITLE 2019
#define IDS_NOT_A_FOLDER 2020
#define IDS_DROP_TOO_LONG 2021
#define IDS_FILE_NAME_TOO_LONG 2022
#define IDS_RESTORE_QUESTION 2023
#define IDS_CONFIRM 2024
#define IDS_EXPORT_SETTINGS 2025
#define IDS_PLACES 2026
#define IDS_FOLDER_PATH 2027
#define IDS_SPECIAL_FOLDERS 2028
