// The command line that opens an installation's help document in the user's
// viewer. The document is "DOKUV" + "NO" (language 1) or "UK" (language 2) +
// ".PDF" or ".CHM" in the installation directory; the command names it
// without its folder, since the navigation program runs it in that directory.
#pragma once

#include <string>

// The help command for the installation folder `dir` (a directory text) and
// `language` (2 English, any other value Norwegian):
// 1. When the PDF document exists (found without regard to case, and named as
//    it is spelled on disk): the command registered for "PDF"; "" when none is.
//    A leading double quote is removed. Without "%1" in it, blanks are trimmed,
//    a trailing double quote is removed and " " + the document name appended.
//    With "%1", the first "%1" is replaced by the document name, and the first
//    double quote of the text is removed when it stands before that place but
//    not directly before it. So "\"C:\\Viewer\\view.exe\" \"%1\"" gives
//    "C:\\Viewer\\view.exe \"DOKUVUK.PDF\"".
// 2. Otherwise, when the CHM document exists: the same with the command
//    registered for "CHM", without any quote removal.
// 3. Otherwise "" (also for an empty dir, which names no installation).
std::string HelpCommandLine(const std::string& dir, int language);

// True when HelpCommandLine(dir, language) equals `command`.
bool HelpCommandMatches(const std::string& dir, const std::string& command, int language);
