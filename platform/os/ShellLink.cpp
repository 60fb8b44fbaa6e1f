#include "os/ShellLink.h"

#include "os/Process.h"
#include "os/drives.h"
#include "os/textFiles.h"

#include <cerrno>
#include <vector>

namespace os {

namespace {

// The escapes of a desktop entry's string values.
std::string escapeValue(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (c == ' ' && i == 0)
            out += "\\s"; // a leading blank would be taken for space around "="
        else
            out += c;
    }
    return out;
}

std::string unescapeValue(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default: // not a value escape: kept for the Exec quoting rules
            out += '\\';
            out += text[i];
        }
    }
    return out;
}

// One Exec argument, quoted (before the value escapes).
std::string quoteExecWord(const std::string& word) {
    std::string out = "\"";
    for (char c : word) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    return out + "\"";
}

// The words of an unescaped Exec value: blanks separate outside quotes, a
// backslash inside quotes takes the next character as it is, "%%" is "%" and
// other field codes are dropped (a word of nothing but field codes goes).
std::vector<std::string> execWords(const std::string& exec) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false, onlyCodes = true;
    const auto endWord = [&] {
        if (inWord && !(onlyCodes && word.empty())) words.push_back(word);
        word.clear();
        inWord = false;
        onlyCodes = true;
    };
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            endWord();
            continue;
        }
        inWord = true;
        if (c == '"') {
            quoted = !quoted;
            onlyCodes = false;
        } else if (c == '\\' && quoted && i + 1 < exec.size()) {
            word += exec[++i];
            onlyCodes = false;
        } else if (c == '%' && i + 1 < exec.size()) {
            if (exec[++i] == '%') {
                word += '%';
                onlyCodes = false;
            }
        } else {
            word += c;
            onlyCodes = false;
        }
    }
    endWord();
    return words;
}

// Words joined into a Windows command line that splitCommandLine reads back.
std::string joinCommandLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words) {
        if (!line.empty()) line += ' ';
        if (!w.empty() && w.find_first_of(" \t\"") == std::string::npos) {
            line += w;
            continue;
        }
        line += '"';
        std::size_t backslashes = 0;
        for (char c : w) {
            if (c == '\\') {
                ++backslashes;
            } else {
                if (c == '"') line.append(backslashes + 1, '\\');
                backslashes = 0;
            }
            line += c;
        }
        line.append(backslashes, '\\'); // doubled before the closing quote
        line += '"';
    }
    return line;
}

std::string baseName(const std::string& path) {
    std::string name = path.substr(path.rfind('/') + 1);
    const std::string suffix = ".desktop";
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
    return name;
}

} // namespace

bool ShellLink::Save(const std::string& path) const {
    if (path_.empty()) {
        errno = EINVAL;
        return false;
    }
    std::string exec = quoteExecWord(path_);
    for (const std::string& word : splitCommandLine(arguments_))
        exec += " " + quoteExecWord(word);
    std::string text = "[Desktop Entry]\nType=Application\n";
    text += "Name=" + escapeValue(baseName(path)) + "\n";
    text += "Exec=" + escapeValue(exec) + "\n";
    if (!folder_.empty()) text += "Path=" + escapeValue(folder_) + "\n";
    text += "Terminal=false\n";
    return replaceFileContents(path, text, 0755);
}

bool ShellLink::Load(const std::string& path) {
    std::vector<std::string> lines;
    if (!readTextLines(path, lines)) return false;
    bool inEntry = false, haveExec = false, havePath = false;
    std::string exec, folder;
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inEntry || equals == std::string::npos) continue;
        std::string key = line.substr(0, equals);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
            key.pop_back();
        const std::size_t start = line.find_first_not_of(" \t", equals + 1);
        const std::string value =
            unescapeValue(start == std::string::npos ? "" : line.substr(start));
        if (key == "Exec" && !haveExec) {
            exec = value;
            haveExec = true;
        } else if (key == "Path" && !havePath) {
            folder = value;
            havePath = true;
        }
    }
    const std::vector<std::string> words = execWords(exec);
    if (words.empty()) return false;
    path_ = words[0];
    arguments_ = joinCommandLine(std::vector<std::string>(words.begin() + 1, words.end()));
    folder_ = folder;
    return true;
}

std::string shortcutPath(const std::string& text) {
    std::string path = localPath(text);
    if (path.empty()) return "";
    const std::size_t n = path.size();
    if (n >= 4 && path[n - 4] == '.' && (path[n - 3] | 0x20) == 'l' &&
        (path[n - 2] | 0x20) == 'n' && (path[n - 1] | 0x20) == 'k')
        path.resize(n - 4);
    return path + ".desktop";
}

} // namespace os
