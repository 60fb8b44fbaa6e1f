// Reading the few registry values the setup program asks for: the desktop
// folder and the program that opens a document type.
//
// There is no registry on Linux. The default registry answers exactly these
// reads from the desktop's own sources and says "not found" for every other:
// - current user, "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell
//   Folders", value "Desktop": the XDG desktop folder (XDG_DESKTOP_DIR of
//   $XDG_CONFIG_HOME/user-dirs.dirs, $HOME expanded; else ~/Desktop) as a
//   Windows path (windowsPath), only while that folder exists;
// - local machine, "SOFTWARE\Classes\.pdf" and "SOFTWARE\Classes\.chm",
//   default value: the class "xdg.pdf" or "xdg.chm" when `xdg-mime query
//   default` names an application for application/pdf or
//   application/vnd.ms-htmlhelp;
// - local machine, "SOFTWARE\Classes\xdg.<ext>\shell\open\command", default
//   value: "\"<path of xdg-open>\" \"%1\"".
// Key paths and value names are matched without regard to ASCII case. Values
// are Windows-1252 text.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace os {

enum class RegistryRoot {
    CurrentUser,  // HKEY_CURRENT_USER
    LocalMachine, // HKEY_LOCAL_MACHINE
};

class Registry {
  public:
    virtual ~Registry() = default;
    // The string value `valueName` ("" is the key's default value) of `key`
    // (a path with "\") under `root`; nullopt when the key or the value is not
    // there.
    virtual std::optional<std::string> readString(RegistryRoot root, const std::string& key,
                                                  const std::string& valueName) const = 0;
};

// The registry in use: the default one, or the one set for a test.
const Registry& registry();

// For tests: reads go to `replacement` (owned by the caller) until it is
// replaced; null restores the default registry.
void setRegistry(const Registry* replacement);

// A registry of fixed values for tests.
class FakeRegistry : public Registry {
  public:
    void set(RegistryRoot root, const std::string& key, const std::string& valueName,
             const std::string& value);
    std::optional<std::string> readString(RegistryRoot root, const std::string& key,
                                          const std::string& valueName) const override;

  private:
    std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string> values_;
};

} // namespace os
