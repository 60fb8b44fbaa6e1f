#include "shell/DesktopShortcut.h"

#include "files/Backslash.h"
#include "files/SetupPaths.h"
#include "shell/RegistryReads.h"

#include "os/ShellLink.h"
#include "os/codePage.h"

namespace {

// The Linux path of the existing entry the text names, else the mapped path,
// made absolute; "" when the text names nothing.
std::string absoluteLocal(const std::string& text) {
    if (text.empty()) return "";
    const std::string found = ExistingPath(text);
    if (!found.empty() && found[0] == '/') return found;
    return NormalLocalPath(found.empty() ? text : os::utf8ToCp1252(found));
}

} // namespace

bool CreateDesktopShortcut(const std::string& linkName, const std::string& target,
                           const std::string& arguments, const std::string& workingDirectory) {
    const std::string desktop = GetDesktopFolder();
    if (desktop.empty() || linkName.empty()) return false;
    const std::string file = os::shortcutPath(AddBackslash(desktop) + linkName);
    const std::string program = absoluteLocal(target);
    if (file.empty() || program.empty()) return false;
    os::ShellLink link;
    link.SetPath(program);
    link.SetArguments(os::cp1252ToUtf8(arguments));
    link.SetWorkingDirectory(absoluteLocal(workingDirectory));
    return link.Save(file);
}
