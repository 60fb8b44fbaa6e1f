// Upper, lower and title case of Windows-1252 texts, in place.
//
// The letters are those of Windows-1252 whatever the process locale says (the
// C library's case functions follow the locale, and under "C" they leave
// letters such as 'Ø' and 'Å' alone): A-Z and a-z, À-Þ and à-þ except the
// signs × and ÷, Š/š, Œ/œ, Ž/ž and Ÿ/ÿ. ß has no capital and stays as it is;
// every other byte is not a letter and stays too. A rewrite never changes a
// text's length, so stored texts can be changed where they lie.
//
// Example: a place name as the chart writes it.
//   char name[] = "HELLISØY-O'NEILL";
//   titleCase1252(name); // "Hellisøy-O'Neill"
#pragma once

// The capital of a Windows-1252 letter; any other byte as it is. Takes and
// answers a byte value 0 to 255 (a char converted through unsigned char).
unsigned char upperCase1252(unsigned char c);
// The small letter of a Windows-1252 capital; any other byte as it is.
unsigned char lowerCase1252(unsigned char c);

// Rewrites a zero-terminated text in place; nothing for null.
void upperCase1252(char* text);
void lowerCase1252(char* text);
// Title case: every letter small, then the first character and every
// character that follows a blank, '.', '-' or an apostrophe (') a capital.
void titleCase1252(char* text);
