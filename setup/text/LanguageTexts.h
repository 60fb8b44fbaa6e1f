// The setup program's texts in its two languages.
//
// Every text the program shows exists as a pair, Norwegian then English,
// stored one pair after the other and picked by the pair's index and the
// language (1 Norwegian, 2 English). The texts are the program's own UTF-8
// literals, as the form tables' texts are; LanguageText gives them as
// Windows-1252 bytes, the form layer's text type. Texts from files (INI values,
// paths) are never in this table: they stay Windows-1252 bytes throughout. A
// "\r" in a text breaks the line where a box or label shows it.
//
// Adding texts: a name in TLanguagePair and its two texts at the same place in
// kLanguageTexts.
#pragma once

#include <string>

enum TLanguagePair : int {
    lpGetStringCancel, // the cancel button of the one-line text input
    lpPairCount
};

// The texts, two per pair: kLanguageTexts[2 * pair] Norwegian,
// kLanguageTexts[2 * pair + 1] English.
inline constexpr const char8_t* kLanguageTexts[] = {
    u8"&Avbryt", u8"&Cancel", // lpGetStringCancel
};
static_assert(sizeof kLanguageTexts / sizeof kLanguageTexts[0] == 2 * lpPairCount,
              "every pair has its two texts");

// The text of `pair` in `language` as Windows-1252 bytes: English for
// language 2, Norwegian for every other value (the program's first language).
// "" for a pair outside the table.
std::string LanguageText(int pair, int language);
