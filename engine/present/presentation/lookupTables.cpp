#include "presentation/lookupTables.h"

#include "kv71/chartFiles.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

struct File {
    std::FILE* f;
    explicit File(const char* path) : f(path ? openChartFile(path, "r") : nullptr) {}
    ~File() {
        if (f) std::fclose(f);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A cursor over one line.
struct Line {
    std::string_view text;
    std::size_t at = 0;

    bool ended() const { return at >= text.size(); }
    // Moves past the next '|': false when there is none (the cursor is then
    // at the end).
    bool pastBar() {
        const std::size_t bar = text.find('|', at);
        at = bar == std::string_view::npos ? text.size() : bar + 1;
        return bar != std::string_view::npos;
    }
    void skipSpace() {
        while (!ended() && isSpace(text[at]))
            ++at;
    }
    // An unsigned decimal number after optional white space; no digits give
    // 0, too many saturate.
    unsigned number() {
        skipSpace();
        unsigned long long v = 0;
        for (; !ended() && isDigit(text[at]); ++at)
            if (v <= UINT_MAX) v = v * 10 + unsigned(text[at] - '0');
        return v > UINT_MAX ? UINT_MAX : unsigned(v);
    }
    // The digit string up to the next '|' or the end as bits, ORed into mask.
    // Answers whether a '|' stopped it (the cursor stays on the '|').
    bool digits(std::uint32_t& mask) {
        int bit = 0;
        for (; !ended() && text[at] != '|'; ++at) {
            if (!isDigit(text[at])) continue;
            if (bit < 32 && text[at] != '0') mask |= std::uint32_t{1} << bit;
            ++bit;
        }
        return !ended();
    }
};

// The text of a line after leading white space, or an empty view for a line
// that is empty or a comment.
std::string_view usedText(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && isSpace(line[i]))
        ++i;
    if (i == line.size() || line[i] == ';') return {};
    return std::string_view(line).substr(i);
}

// One OBJLUT.DIC line into the table: false when it fails the table.
bool objectLine(std::string_view text, GdbObjectLookup* table, unsigned count) {
    Line l{text};
    if (!l.pastBar()) return false;
    const unsigned code = l.number();
    if (code > count) return false;
    GdbObjectLookup& r = table[code];
    if (!l.pastBar()) return false;
    r.maskA = 0;
    if (!l.digits(r.maskA)) return true;
    ++l.at;
    r.maskB = 0;
    if (!l.digits(r.maskB)) return true;
    ++l.at;
    const unsigned large = l.number();
    if (large > 1000) return false;
    r.reserved[1] = large;
    if (!l.pastBar()) return true;
    const unsigned small = l.number();
    if (small > 10) return false;
    r.reserved[0] = small;
    return true;
}

// One ATTRLUT.DIC line into the table: false when it fails the table.
bool attributeLine(std::string_view text, TAttributeLUTEntry* table, unsigned count) {
    Line l{text};
    if (!l.pastBar()) return true; // a line without '|' is skipped
    const unsigned code = l.number();
    if (code > count) return false;
    TAttributeLUTEntry& e = table[code];
    if (!l.pastBar()) return false;
    std::uint32_t mask = e.mask;
    const bool more = l.digits(mask);
    e.mask = mask;
    if (!more) return true;
    ++l.at;
    // The format: between the first '(' of the rest of the line and the
    // first ')' after it.
    const std::size_t open = text.find('(', l.at);
    if (open != std::string_view::npos) {
        const std::size_t close = text.find(')', open + 1);
        if (close != std::string_view::npos && close > open + 1)
            e.setFormat(text.substr(open + 1, close - open - 1));
        l.at = open;
    }
    if (!l.pastBar()) return true;
    l.skipSpace();
    if (l.ended() || text[l.at] == '|') return true;
    std::size_t end = text.find('|', l.at);
    if (end == std::string_view::npos) end = text.size();
    while (end > l.at && isSpace(text[end - 1]))
        --end;
    e.setName(text.substr(l.at, end - l.at));
    return true;
}

char* copyText(std::string_view text) {
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = 0;
    return copy;
}

} // namespace

TAttributeLUTEntry::~TAttributeLUTEntry() {
    delete[] format;
    delete[] name;
}

void TAttributeLUTEntry::setFormat(std::string_view text) {
    char* copy = copyText(text);
    delete[] format;
    format = copy;
}

void TAttributeLUTEntry::setName(std::string_view text) {
    char* copy = copyText(text);
    delete[] name;
    name = copy;
}

std::unique_ptr<GdbObjectLookup[]> loadObjectLUT(const char* path, unsigned objectCount) {
    if (objectCount == 0 || objectCount == UINT_MAX) return nullptr;
    File file(path);
    if (!file.f) return nullptr;
    std::unique_ptr<GdbObjectLookup[]> table(new (std::nothrow) GdbObjectLookup[objectCount + 1]());
    if (!table) return nullptr;
    std::string line;
    try {
        while (readLine(file.f, line)) {
            const std::string_view text = usedText(line);
            if (!text.empty() && !objectLine(text, table.get(), objectCount)) return nullptr;
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (std::ferror(file.f)) return nullptr;
    return table;
}

std::unique_ptr<TAttributeLUTEntry[]> loadAttributeLUT(const char* path, unsigned attrCount) {
    if (attrCount == 0 || attrCount == UINT_MAX) return nullptr;
    File file(path);
    if (!file.f) return nullptr;
    std::unique_ptr<TAttributeLUTEntry[]> table(new (std::nothrow)
                                                    TAttributeLUTEntry[attrCount + 1]);
    if (!table) return nullptr;
    std::string line;
    try {
        while (readLine(file.f, line)) {
            const std::string_view text = usedText(line);
            if (!text.empty() && !attributeLine(text, table.get(), attrCount)) return nullptr;
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (std::ferror(file.f)) return nullptr;
    return table;
}
