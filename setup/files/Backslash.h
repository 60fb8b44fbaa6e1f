// The trailing separator of directory texts.
//
// A drive-form or relative text ends in "\", a Linux-form text (starting with
// "/") in "/". Appending a file name to a text with its separator gives a
// text of the same form.
#pragma once

#include <string>

// The text with one trailing separator: unchanged when it already ends in "\"
// or "/"; "/" added to a Linux-form text, "\" to any other. "" gives "\",
// which names a root folder: callers test for an empty text first.
std::string AddBackslash(const std::string& path);

// The text without one trailing "\" or "/". A text that is nothing but one
// separator is kept, since "" would name nothing ("C:\" gives "C:", which
// still names the root of C).
std::string RemoveBackslash(const std::string& path);
