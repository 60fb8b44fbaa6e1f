#include "shell/RegistryReads.h"

#include "files/SetupPaths.h"

std::string ReadRegString(os::RegistryRoot root, const std::string& key, const std::string& name) {
    return os::registry().readString(root, key, name).value_or("");
}

std::string GetAssociatedCommand(const std::string& ext) {
    const std::string cls =
        ReadRegString(os::RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\." + ext, "");
    if (cls.empty()) return "";
    const std::string base = "SOFTWARE\\Classes\\" + cls + "\\shell\\";
    std::string command = ReadRegString(os::RegistryRoot::LocalMachine, base + "open\\command", "");
    if (command.empty())
        command = ReadRegString(os::RegistryRoot::LocalMachine, base + "play\\command", "");
    return command;
}

std::string GetDesktopFolder() {
    const std::string folder = ReadRegString(
        os::RegistryRoot::CurrentUser,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop");
    return !folder.empty() && DirExists(folder) ? folder : "";
}
