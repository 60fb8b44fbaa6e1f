// Command 135: the help. The settings' HELP command line is either a program
// with its arguments or names a help document.
//
// - Its first word names a program that os::findProgram finds: the line is
//   started as it stands (no shell) and left to run.
// - Otherwise its last word is the document (a path in either form, relative
//   to the current folder), opened with the desktop's viewer (xdg-open) when
//   the file is there.
// - An empty line, a document that is not there, or a program that cannot be
//   started gives a box titled "Solvanor V lite" that names what is missing.
#pragma once

#include <string>

// Runs the help command line (Windows-1252 text); true when something was started.
bool RunHelpCommand(const std::string& commandLine);

// Opens a help document, `document` (a Linux path), with the desktop's viewer
// (xdg-open); `word` is the document as the user knows it (Windows-1252). A
// document that is not there, a missing xdg-open or a failed start gives the
// box titled "Solvanor V lite" that names it. True when the viewer started.
bool OpenHelpDocument(const std::string& word, const std::string& document);

// A word quoted for a Windows command line, so that os::splitCommandLine gives
// it back unchanged.
std::string QuoteCommandWord(const std::string& word);
