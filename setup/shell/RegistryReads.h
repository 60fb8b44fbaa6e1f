// The registry reads of the setup program: the desktop folder and the program
// that opens a document type, over os::registry() (os/Registry.h says how
// they are answered on Linux; tests set an os::FakeRegistry).
#pragma once

#include "os/Registry.h"

#include <string>

// The string value `name` ("" for the key's default value) of `key` under
// `root`, without creating anything; "" when the key or the value is not
// there. Windows-1252 text.
std::string ReadRegString(os::RegistryRoot root, const std::string& key, const std::string& name);

// The open command registered for documents of extension `ext` (without the
// dot, "PDF"): the class named by the default value of local machine
// "SOFTWARE\Classes\." + ext, then that class's "\shell\open\command" default
// value, or "\shell\play\command" when that is empty. "" when no class is
// registered.
std::string GetAssociatedCommand(const std::string& ext);

// The user's desktop folder as a directory text (value "Desktop" of current
// user "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"),
// only while that folder exists; "" means "not known", and every shortcut
// step is then skipped.
std::string GetDesktopFolder();
