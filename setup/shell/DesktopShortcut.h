// Desktop shortcuts, kept as desktop entries (os/ShellLink.h).
#pragma once

#include <string>

// Writes the shortcut `linkName` ("Solvanor V.lnk") into the desktop folder
// (GetDesktopFolder) as a desktop entry: "Solvanor V.desktop", starting
// `target` with `arguments` (a command-line text) in `workingDirectory`.
// Target and working directory are directory texts, written as the Linux
// paths of the existing file and folder (found without regard to case), or as
// mapped when they do not exist; all texts are Windows-1252 and the entry is
// UTF-8. An existing entry of that name is replaced. False when the desktop
// folder is not known, the target names nothing, or the file cannot be
// written (an old file is then unchanged).
bool CreateDesktopShortcut(const std::string& linkName, const std::string& target,
                           const std::string& arguments, const std::string& workingDirectory);
