// Desktop shortcuts: what a shell link holds (the program, its arguments and
// its working folder), kept as a desktop entry file.
//
// Saved form (UTF-8, LF line ends, mode 0755, written atomically):
//   [Desktop Entry]
//   Type=Application
//   Name=<the file's base name without ".desktop">
//   Exec="<program>" "<argument>" ...
//   Path=<working folder>              (left out when empty)
//   Terminal=false
// The program and each argument are quoted and escaped as the freedesktop.org
// desktop entry format asks: inside the quotes '"', '`', '$' and '\' get a backslash,
// '%' is doubled, and the value's own escapes follow ('\' written "\\"). The
// arguments are a command-line text, split into words by Windows' rules
// (splitCommandLine). Nothing of our own is added.
#pragma once

#include <string>

namespace os {

class ShellLink {
  public:
    // The program the shortcut starts (a Linux path, UTF-8).
    void SetPath(const std::string& path) { path_ = path; }
    // The arguments as one command-line text (UTF-8).
    void SetArguments(const std::string& arguments) { arguments_ = arguments; }
    // The folder the program starts in (a Linux path, UTF-8); "" for none.
    void SetWorkingDirectory(const std::string& folder) { folder_ = folder; }

    const std::string& GetPath() const { return path_; }
    // After Load: the words after the program, joined by Windows' rules (a
    // word with a blank or a quote, or an empty one, is quoted).
    const std::string& GetArguments() const { return arguments_; }
    const std::string& GetWorkingDirectory() const { return folder_; }

    // Writes the desktop entry to `path` (a Linux path, normally ending in
    // ".desktop"). False, with errno set, when there is no program to start or
    // the file cannot be written; an old file is then unchanged.
    bool Save(const std::string& path) const;

    // Reads any desktop entry: the first word of its Exec key (unescaped) is
    // the program, the other words the arguments (field codes such as %f are
    // dropped), its Path key the working folder. False when the file cannot
    // be read or has no Exec key in its [Desktop Entry] group; the shortcut is
    // then unchanged.
    bool Load(const std::string& path);

  private:
    std::string path_;
    std::string arguments_;
    std::string folder_;
};

// The desktop entry path of a shortcut named the Windows way: the text goes
// through localPath, and a final ".lnk" (in any case) becomes ".desktop"; a
// name without it gets ".desktop" added. "" when localPath gives "".
std::string shortcutPath(const std::string& text);

} // namespace os
