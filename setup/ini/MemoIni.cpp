#include "ini/MemoIni.h"

#include "os/textFiles.h"

#include <charconv>
#include <climits>
#include <cstddef>

namespace {

// The default MemoIniReadInt reads with: a value of exactly this text counts
// as missing.
constexpr std::string_view kNotFound = "NOT FOUND";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view skipBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

// Whether `rest` starts with the key, then optional blanks, then "=".
bool keyThenEquals(std::string_view rest, std::string_view key) {
    if (rest.size() < key.size() || !equalNoCase(rest.substr(0, key.size()), key)) return false;
    rest = skipBlanks(rest.substr(key.size()));
    return !rest.empty() && rest.front() == '=';
}

// Any header (or a broken one) ends a section's body.
bool startsSection(std::string_view line) {
    const std::string_view t = skipBlanks(line);
    return !t.empty() && t.front() == '[';
}

// The body of the first header of `section`: lines [begin, end). begin is
// lines.size() + 1 when there is no such header.
struct Body {
    std::size_t begin;
    std::size_t end;
};

Body findSection(const std::vector<std::string>& lines, std::string_view section) {
    std::size_t header = 0;
    while (header < lines.size() && !IsIniSectionHeader(lines[header], section))
        ++header;
    if (header == lines.size()) return {lines.size() + 1, lines.size() + 1};
    std::size_t end = header + 1;
    while (end < lines.size() && !startsSection(lines[end]))
        ++end;
    return {header + 1, end};
}

// Decimal integer of a whole text: optional sign, then digits only, within
// the signed 32-bit range.
bool parseInt32(std::string_view text, int& out) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return false;
    out = static_cast<int>(value);
    return true;
}

} // namespace

bool IsIniSectionHeader(std::string_view line, std::string_view section) {
    const std::string_view t = trimBlanks(line);
    return t.size() == section.size() + 2 && t.front() == '[' && t.back() == ']' &&
           equalNoCase(t.substr(1, section.size()), section);
}

TIniKeyForm IniKeyLineForm(std::string_view line, std::string_view key) {
    const std::string_view rest = skipBlanks(line);
    if (keyThenEquals(rest, key)) return TIniKeyForm::Plain;
    if (!rest.empty() && rest.front() == ';' && keyThenEquals(skipBlanks(rest.substr(1)), key))
        return TIniKeyForm::Commented;
    return TIniKeyForm::None;
}

void TMemoIni::Clear() {
    lines_.clear();
}

bool TMemoIni::LoadFromFile(const std::string& path) {
    return os::readTextLines(path, lines_);
}

bool TMemoIni::SaveToFile(const std::string& path) const {
    return os::writeTextLines(path, lines_);
}

std::string TMemoIni::MemoIniRead(std::string_view section, std::string_view key,
                                  std::string_view defaultValue, bool commented) const {
    const Body body = findSection(lines_, section);
    const TIniKeyForm wanted = commented ? TIniKeyForm::Commented : TIniKeyForm::Plain;
    for (std::size_t i = body.begin; i < body.end; ++i) {
        const std::string& line = lines_[i];
        if (IniKeyLineForm(line, key) == wanted) return line.substr(line.find('=') + 1);
    }
    return std::string(defaultValue);
}

int TMemoIni::MemoIniReadInt(std::string_view section, std::string_view key, int defaultValue,
                             bool commented) const {
    const std::string value = MemoIniRead(section, key, kNotFound, commented);
    if (value == kNotFound) return defaultValue;
    int result = 0;
    return parseInt32(trimBlanks(value), result) ? result : defaultValue;
}

void TMemoIni::MemoIniWrite(std::string_view section, std::string_view key, std::string_view value,
                            bool commented) {
    std::string line;
    line.reserve(key.size() + value.size() + 2);
    if (commented) line += ';';
    line.append(key).append("=").append(value);

    const Body body = findSection(lines_, section);
    if (body.begin > lines_.size()) {
        if (!lines_.empty() && !lines_.back().empty()) lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    for (std::size_t i = body.begin; i < body.end; ++i) {
        if (IniKeyLineForm(lines_[i], key) != TIniKeyForm::None) {
            lines_[i] = std::move(line);
            return;
        }
    }
    // Above the body's last line, so a closing blank line stays last; an
    // empty body gets the line directly under its header.
    const std::size_t at = body.end > body.begin ? body.end - 1 : body.begin;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void TMemoIni::MemoIniWriteInt(std::string_view section, std::string_view key, int value,
                               bool commented) {
    char text[16];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    (void)ec; // 16 characters hold every 32-bit integer
    MemoIniWrite(section, key, std::string_view(text, static_cast<std::size_t>(end - text)),
                 commented);
}
