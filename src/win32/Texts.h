// The program's texts in its user's language, read from its string table.
// The resource scripts include this file for its numbers.
#pragma once

#define IDS_COULD_NOT_WRITE 5001
#define IDS_ERROR_CODE 5002
#define IDS_COULD_NOT_READ 5003

#ifndef RC_INVOKED

#include <windows.h>

#include "places/Texts.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace quenmar::win {

// The language whose texts the program shows: the thread's interface
// language, unless a test chose another.
LANGID TextLanguage();
// Shows this language's texts from now on (null: the interface language
// again). Tests use it to see every language in one process.
void SetTextLanguage(LANGID language);

// The text with that number in the program's string table: in the text
// language where the program has it, else in that language's neutral form
// (German for Austrian German), else in English (United States). Empty
// when no language has it. The program reads its texts through TextOf,
// which UseResourceTexts makes read them here.
std::string ResourceText(UINT id);
void UseResourceTexts();

// Whether a language is written from right to left (Arabic, Hebrew...),
// and whether the texts the program shows are: its windows are mirrored
// for them.
bool ReadsRightToLeft(LANGID language);
bool TextsReadRightToLeft();
// The language of the texts the program shows: the table's that ResourceText
// reads, which is English where the user's language has none of its own.
LANGID ShownLanguage();

// The neutral form of a language: the language alone, without its country.
// Chinese has two: Simplified (China, Singapore) and Traditional (Taiwan,
// Hong Kong, Macao).
LANGID NeutralLanguage(LANGID language);

}  // namespace quenmar::win

#endif
