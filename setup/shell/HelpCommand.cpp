#include "shell/HelpCommand.h"

#include "files/Backslash.h"
#include "files/SetupPaths.h"
#include "shell/RegistryReads.h"
#include "shell/TrimBlanks.h"

#include "os/codePage.h"

namespace {

std::string commandFor(std::string command, const std::string& document, bool quoteHandling) {
    if (command.empty()) return "";
    if (quoteHandling && command[0] == '"') command.erase(0, 1);
    const std::size_t place = command.find("%1");
    if (place == std::string::npos) {
        command = TrimBlanks(command);
        if (quoteHandling && !command.empty() && command.back() == '"') command.pop_back();
        return command + " " + document;
    }
    command.replace(place, 2, document);
    if (quoteHandling) {
        const std::size_t quote = command.find('"');
        if (quote != std::string::npos && quote + 1 < place) command.erase(quote, 1);
    }
    return command;
}

} // namespace

std::string HelpCommandLine(const std::string& dir, int language) {
    if (dir.empty()) return "";
    const std::string code = language == 2 ? "UK" : "NO";
    for (const char* ext : {"PDF", "CHM"}) {
        const std::string text = AddBackslash(dir) + "DOKUV" + code + "." + ext;
        if (!FileExists(text)) continue;
        const std::string found = ExistingPath(text);
        const std::string document = os::utf8ToCp1252(found.substr(found.rfind('/') + 1));
        return commandFor(GetAssociatedCommand(ext), document, std::string(ext) == "PDF");
    }
    return "";
}

bool HelpCommandMatches(const std::string& dir, const std::string& command, int language) {
    return HelpCommandLine(dir, language) == command;
}
