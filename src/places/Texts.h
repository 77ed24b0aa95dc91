// The texts the portable code says, by their numbers in the program's string
// table; the resource scripts include this file for the numbers.
#pragma once

#define IDS_FAILED_TO_SET_DATA 3001
#define IDS_FAILED_TO_GET_DATA 3002
#define IDS_INVALID_DATA_TYPE 3003
#define IDS_UNREADABLE_PLACES 3004
#define IDS_LIST_SEPARATOR 3005
#define IDS_UNKNOWN_FOLDER 3006
#define IDS_KEY_NOT_OPENED 3007
#define IDS_KEY_NOT_DELETED 3008
// Why the Open dialog will leave a place out, and the special folder to use instead.
#define IDS_LEFT_OUT_NO_FOLDER 3009
#define IDS_LEFT_OUT_UNKNOWN_NAME 3010
#define IDS_LEFT_OUT_NO_SPECIAL 3011
#define IDS_USE_SPECIAL_INSTEAD 3012
#define IDS_LEFT_OUT_NOT_EXPANDED 3037
#define IDS_USE_PATH_INSTEAD 3038
// The special folders' names, in the catalogue's order.
#define IDS_FOLDER_HISTORY 3016
#define IDS_FOLDER_DESKTOP 3017
#define IDS_FOLDER_PERSONAL 3018
#define IDS_FOLDER_DRIVES 3019
#define IDS_FOLDER_NETWORK 3020
#define IDS_FOLDER_INTERNET_CACHE 3021
#define IDS_FOLDER_COOKIES 3022
#define IDS_FOLDER_WINDOWS 3023
#define IDS_FOLDER_SYSTEM 3024
#define IDS_FOLDER_PROGRAM_FILES 3025
#define IDS_FOLDER_PICTURES 3026
#define IDS_FOLDER_COMMON_FILES 3027
#define IDS_FOLDER_COMMON_DOCUMENTS 3028
// A policy file that cannot be read: the file, why (one of the reasons) and where.
#define IDS_POLICY_UNREADABLE 3029
#define IDS_POLICY_NOT_PREG 3030
#define IDS_POLICY_OTHER_VERSION 3031
#define IDS_POLICY_CUT_SHORT 3032
#define IDS_POLICY_MALFORMED 3033
#define IDS_POLICY_SIZE_PAST_END 3034
#define IDS_POLICY_NAME_TOO_LONG 3035
#define IDS_POLICY_TOO_LARGE 3036
// A place a policy does not set: its caption, and what a screen reader hears.
#define IDS_NOT_SET 3039
#define IDS_NOT_SET_DESCRIPTION 3040

#ifndef RC_INVOKED

#include <initializer_list>
#include <string>
#include <string_view>

namespace quenmar {

// Reads the text with that number in the user's language; the program sets
// its string table's reader once at its start, tests their own.
using TextReader = std::string (*)(int id);
void SetTextReader(TextReader reader);

// The pattern with %1 to %9 replaced by the arguments and %% by a percent
// sign. A number without its argument stays as it stands.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments);

// The text with that number, formatted with the arguments; empty when no
// reader is set or the text is missing.
std::string TextOf(int id, std::initializer_list<std::string_view> arguments = {});

}  // namespace quenmar

#endif
