// Blanks around a text.
#pragma once

#include <string>

// The text without leading and trailing blanks and tabs (the navigation
// program's profile reader trims both, so a directory value is read alike).
std::string TrimBlanks(const std::string& s);
