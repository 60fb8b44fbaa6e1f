#include "app/HelpCommand.h"

#include "app/ViewerSettings.h"
#include "os/Process.h"
#include "os/codePage.h"
#include "os/drives.h"
#include "ui/MessageBox.h"

#include <sys/stat.h>

namespace {

void showMissing(const std::string& text) {
    ui::MessageBox(nullptr, text.c_str(), kViewerTitle, ui::MB_TASKMODAL | ui::MB_ICONEXCLAMATION);
}

bool isRegularFile(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The document as the user wrote it, with the place it was looked for here
// when that differs.
std::string documentName(const std::string& word, const std::string& local) {
    const std::string here = os::utf8ToCp1252(local);
    return here.empty() || here == word ? word : word + "\n(" + here + ")";
}

} // namespace

std::string QuoteCommandWord(const std::string& word) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\'); // before the closing quote
    quoted += '"';
    return quoted;
}

bool RunHelpCommand(const std::string& commandLine) {
    const std::vector<std::string> words = os::splitCommandLine(commandLine);
    if (words.empty()) {
        showMissing("Ingen hjelp er satt opp (HELP i solvnv.ini er tom).");
        return false;
    }
    if (!os::findProgram(words.front()).empty()) {
        if (os::startDetached(commandLine)) return true;
        showMissing("Kan ikke starte hjelpeprogrammet:\n" + words.front());
        return false;
    }
    const std::string& word = words.back();
    return OpenHelpDocument(word, os::localPath(word));
}

bool OpenHelpDocument(const std::string& word, const std::string& document) {
    if (!isRegularFile(document)) {
        showMissing("Finner ikke hjelpedokumentet:\n" + documentName(word, document));
        return false;
    }
    const std::string viewer = os::findProgram("xdg-open");
    if (viewer.empty()) {
        showMissing("Finner ikke xdg-open, som skulle vise hjelpedokumentet:\n" +
                    documentName(word, document));
        return false;
    }
    if (os::startDetached(QuoteCommandWord(os::utf8ToCp1252(viewer)) + " " +
                          QuoteCommandWord(os::utf8ToCp1252(document))))
        return true;
    showMissing("Kan ikke starte xdg-open for hjelpedokumentet:\n" + documentName(word, document));
    return false;
}
