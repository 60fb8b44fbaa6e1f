#include "kv71/dictionaryTables.h"

#include "kv71/chartFiles.h"
#include "util/reportError.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

extern "C" {
KV71HosEntry* _HosTable = nullptr;
unsigned _nHosNum = 0;
}

namespace {

KV71ObjectClass* objTable = nullptr;
unsigned objNum = 0;
KV71AttributeClass* attTable = nullptr;
unsigned attNum = 0;

constexpr long maxCellCode = 255; // object and attribute codes are one byte in a cell
constexpr long maxSourceCode = 65535;

// ---- text ------------------------------------------------------------------

// The non-empty runs between '|'.
std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos <= line.size()) {
        std::size_t bar = line.find('|', pos);
        if (bar == std::string::npos) bar = line.size();
        if (bar > pos) fields.push_back(line.substr(pos, bar - pos));
        pos = bar + 1;
    }
    return fields;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// atoi without locale or overflow: saturates at the range of long.
long readInteger(const char* s) {
    while (isBlank(*s))
        ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    long value = 0;
    for (; isDigit(*s); ++s) {
        const int d = *s - '0';
        if (value > (LONG_MAX - d) / 10) return negative ? LONG_MIN : LONG_MAX;
        value = value * 10 + d;
    }
    return negative ? -value : value;
}

// atof in "C" conventions, into a float: values beyond the float range
// become infinities, text that is no number 0.
float readFloat(const char* s) {
    while (isBlank(*s))
        ++s;
    if (*s == '+') ++s;
    double value = 0;
    const char* end = s + std::strlen(s);
    const auto [p, ec] = std::from_chars(s, end, value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves value unset: tell overflow from underflow by the exponent sign.
        const char* e = std::strpbrk(s, "eE");
        const bool tiny = e && e[1] == '-';
        const bool negative = *s == '-';
        if (tiny) return negative ? -0.0f : 0.0f;
        return negative ? -std::numeric_limits<float>::infinity()
                        : std::numeric_limits<float>::infinity();
    }
    if (ec != std::errc()) return 0;
    (void)p;
    if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

bool isUsedLine(const std::string& line) {
    return !line.empty() && line[0] != '*';
}

// Code of a used dictionary line, or -1 when the line has none or it lies
// outside 0..limit (the line is then skipped).
long lineCode(const std::vector<std::string>& fields, long limit) {
    if (fields.size() < 2) return -1;
    const long code = readInteger(fields[1].c_str());
    return code < 0 || code > limit ? -1 : code;
}

char* copyText(const std::string& s) {
    char* p = new (std::nothrow) char[s.size() + 1];
    if (p) std::memcpy(p, s.c_str(), s.size() + 1);
    return p;
}

void copyAcronym(char (&dest)[7], const std::string& acronym) {
    std::memset(dest, 0, sizeof dest);
    std::memcpy(dest, acronym.data(), acronym.size() < 6 ? acronym.size() : 6);
}

// ---- table ownership ------------------------------------------------------

// Frees what an entry holds and leaves it all zero.
void clearEntry(KV71ObjectClass& entry) {
    delete[] entry.name;
    delete[] entry.attributes;
    entry = KV71ObjectClass{};
}

void clearEntry(KV71AttributeClass& entry) {
    if (entry.values)
        for (std::uint32_t v = 0; v < entry.valueCount; ++v)
            delete[] entry.values[v];
    delete[] entry.values;
    entry = KV71AttributeClass{};
}

void clearEntry(KV71HosEntry& entry) {
    delete[] entry.first;
    delete[] entry.sorind;
    delete[] entry.authority;
    entry = KV71HosEntry{};
}

// Frees a table with what its entries hold and sets it to null and 0.
template <typename Entry> void freeTable(Entry*& table, unsigned& count) {
    if (table)
        for (unsigned i = 0; i < count; ++i)
            clearEntry(table[i]);
    delete[] table;
    table = nullptr;
    count = 0;
}

// A table under construction: freed on any exit but a successful install.
template <typename Entry> struct PendingTable {
    Entry* entries = nullptr;
    unsigned count = 0;
    PendingTable() = default;
    PendingTable(const PendingTable&) = delete;
    PendingTable& operator=(const PendingTable&) = delete;
    ~PendingTable() { freeTable(entries, count); }
    // Allocates count zeroed entries; false when memory is short. A count of
    // 0 gives an empty table.
    bool allocate(unsigned n) {
        count = n;
        if (n == 0) return true;
        entries = new (std::nothrow) Entry[n]();
        if (!entries) count = 0;
        return entries != nullptr;
    }
    void installInto(Entry*& table, unsigned& tableCount) {
        freeTable(table, tableCount);
        table = entries;
        tableCount = count;
        entries = nullptr;
        count = 0;
    }
};

// A dictionary file open for reading, closed on any exit.
struct TextFile {
    std::FILE* f;
    explicit TextFile(const char* path) : f(path ? openChartFile(path, "rb") : nullptr) {}
    ~TextFile() {
        if (f) std::fclose(f);
    }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    void rewind() { std::rewind(f); }
};

using Fields = std::vector<std::string>;

// Calls each(code, fields) for every used line of the file, from its start,
// that `used` accepts and whose code lies in 0..limit. Answers the number of
// accepted lines skipped for a missing or bad code, and the first field of
// the first of them in *first.
template <typename Used, typename Each>
long forEachCodedLine(TextFile& file, long limit, Used used, Each each, std::string* first) {
    file.rewind();
    std::string line;
    long skipped = 0;
    while (readLine(file.f, line)) {
        if (!isUsedLine(line)) continue;
        const Fields fields = splitFields(line);
        if (!used(fields)) continue;
        const long code = lineCode(fields, limit);
        if (code >= 0) {
            each(code, fields);
        } else if (skipped++ == 0 && first) {
            *first = fields.empty() ? "" : fields[0];
        }
    }
    return skipped;
}

// Builds a table from the coded lines of a dictionary file in two passes: the
// first sizes it (1 + the largest code), the second clears the entry of each
// line's code and hands it to fill, so a later line of a code replaces an
// earlier one. Lines without a code or with one outside 0..limit are skipped,
// with one trace line for the whole file that says how many. Throws
// memoryError when the table cannot be allocated.
template <typename Entry, typename Used, typename Fill>
void readCodedTable(TextFile& file, const char* name, long limit, Used used,
                    const char* memoryError, PendingTable<Entry>& table, Fill fill) {
    long largest = -1;
    forEachCodedLine(
        file, limit, used,
        [&](long code, const Fields&) {
            if (code > largest) largest = code;
        },
        nullptr);
    if (!table.allocate(static_cast<unsigned>(largest + 1))) reportError("%s", memoryError);
    std::string first;
    const long skipped = forEachCodedLine(
        file, limit, used,
        [&](long code, const Fields& fields) {
            if (code >= static_cast<long>(table.count)) return; // the file grew between the passes
            Entry& entry = table.entries[code];
            clearEntry(entry);
            fill(entry, code, fields);
        },
        &first);
    if (skipped > 0) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%s: %ld line%s skipped, code missing or outside 0..%ld (first: %.40s)\n",
                      name, skipped, skipped == 1 ? "" : "s", limit, first.c_str());
        traceMessage(text);
    }
}

bool isSixCharacterLine(const Fields& fields) {
    return !fields.empty() && fields[0].size() == 6;
}

// ---- value descriptions ---------------------------------------------------

std::string valueDescriptionPath(const char* attributePath) {
    std::string path(attributePath);
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        path += '.';
    else
        path.erase(dot + 1);
    return path + "des";
}

// Largest count of value slots: an enumeration of a cell value holds at most
// a 16-bit number.
constexpr long maxValueSlots = 65536;

void loadValueDescriptions(const char* attributePath, KV71AttributeClass* table, unsigned count) {
    const std::string path = valueDescriptionPath(attributePath);
    TextFile file(path.c_str());
    if (!file.f) return;
    enum { Closed, NeedCount, Open } state = Closed;
    KV71AttributeClass* entry = nullptr;
    std::string raw;
    while (readLine(file.f, raw)) {
        const char* line = raw.c_str();
        while (isBlank(*line))
            ++line;
        if (*line == 0 || *line == '*' || *line == ';') continue;
        if (*line == '[') {
            state = Closed;
            entry = nullptr;
            if (std::strlen(line) < 8 || line[7] != ']') continue;
            const std::string acronym(line + 1, 6);
            for (unsigned i = 0; i < count && !entry; ++i)
                if (acronym == table[i].acronym) entry = &table[i];
            if (entry && entry->values == nullptr) state = NeedCount;
            continue;
        }
        if (state == NeedCount) {
            state = Closed;
            if (line[0] != 'N' || !(line[1] == ' ' || line[1] == '=')) continue;
            const char* p = line + 1;
            while (isBlank(*p) || *p == '=')
                ++p;
            const long n = readInteger(p);
            if (n <= 0) continue;
            if (n > maxValueSlots) {
                char text[120];
                std::snprintf(text, sizeof text, "%s: [%s] N=%ld above %ld, block skipped\n",
                              path.c_str(), entry->acronym, n, maxValueSlots);
                traceMessage(text);
                continue;
            }
            entry->values = new (std::nothrow) char*[n]();
            if (!entry->values) reportError("LoadAttTable: %s", "Memory allocation problem!");
            entry->valueCount = static_cast<std::uint32_t>(n);
            state = Open;
            continue;
        }
        if (state != Open) continue;
        if (!isDigit(*line)) {
            state = Closed;
            continue;
        }
        const long v = readInteger(line);
        const char* p = line;
        while (isDigit(*p))
            ++p;
        while (isBlank(*p))
            ++p;
        if (*p != '=' || v >= static_cast<long>(entry->valueCount)) continue;
        ++p;
        while (isBlank(*p))
            ++p;
        if (*p == 0 || entry->values[v]) continue;
        entry->values[v] = copyText(p);
        if (!entry->values[v]) reportError("LoadAttTable: %s", "Memory allocation problem!");
    }
}

const char* const formatWords[8] = {"aNotUsed", "aBYTE",   "aWORD10", "aLONG",
                                    "aFLOAT",   "aSTRING", "aCMPLX",  "aLIST"};

} // namespace

// ---- loaders ----------------------------------------------------------------

void LoadAttTable(const char* path) {
    TextFile file(path);
    if (!file.f) reportError("Cannot open attribute dictionary file !!!");
    PendingTable<KV71AttributeClass> table;
    readCodedTable(
        file, "KV71ATTR.DIC", maxCellCode, isSixCharacterLine,
        "LoadAttTable: Memory allocation problem!", table,
        [](KV71AttributeClass& entry, long code, const Fields& fields) {
            copyAcronym(entry.acronym, fields[0]);
            const char* acronym = entry.acronym;
            const std::string format = fields.size() > 2 ? fields[2] : "";
            int number = -1;
            for (int i = 0; i < 8 && number < 0; ++i)
                if (format == formatWords[i]) number = i;
            if (number < 0)
                reportError("LoadAttTable : Attribute(%s): %s %s", acronym,
                            "Unknown KV71 attribute format specifier: ", format.c_str());
            entry.format = static_cast<std::uint8_t>(number);
            if ((number >= aBYTE && number <= aFLOAT) || number == aLIST) {
                char problem[64];
                if (fields.size() < 4) {
                    std::snprintf(problem, sizeof problem, "Min value to attribute(%ld) missing",
                                  code);
                    reportError("LoadAttTable : Attribute(%s): %s %s", acronym, problem, "");
                }
                entry.minimum = readFloat(fields[3].c_str());
                if (fields.size() < 5) {
                    std::snprintf(problem, sizeof problem, "Max value to attribute(%ld) missing",
                                  code);
                    reportError("LoadAttTable : Attribute(%s): %s %s", acronym, problem, "");
                }
                entry.maximum = readFloat(fields[4].c_str());
            }
        });
    loadValueDescriptions(path, table.entries, table.count);
    table.installInto(attTable, attNum);
}

void LoadObjTable(const char* path) {
    TextFile file(path);
    if (!file.f) reportError("Cannot open object dictionary file !!!");
    PendingTable<KV71ObjectClass> table;
    readCodedTable(
        file, "KV71OBJ.DIC", maxCellCode, isSixCharacterLine,
        "LoadObjTable : Memory allocation problem!", table,
        [](KV71ObjectClass& entry, long, const Fields& fields) {
            copyAcronym(entry.acronym, fields[0]);
            const char* acronym = entry.acronym;
            if (fields.size() > 2) {
                for (char c : fields[2]) {
                    switch (upperAscii(c)) {
                    case 'A':
                        entry.primitives |= 4;
                        break;
                    case 'C':
                        entry.primitives |= 16;
                        break;
                    case 'L':
                        entry.primitives |= 2;
                        break;
                    case 'P':
                        entry.primitives |= 1;
                        break;
                    case 'S':
                        entry.primitives |= 8;
                        break;
                    default: {
                        const char bad[2] = {c, 0};
                        reportError("LoadObjTable : Object(%s): %s %s", acronym,
                                    "Invalid geometric", bad);
                    }
                    }
                }
            }
            if (fields.size() < 4)
                reportError("LoadObjTable : Object(%s): %s %s", acronym, "Primitive Missing", "");
            const long priority = readInteger(fields[3].c_str());
            if (priority < 0 || priority > 255)
                reportError("LoadObjTable : Object(%s): %s %s", acronym, "Illegal Display Priority",
                            fields[3].c_str());
            entry.priority = static_cast<std::uint8_t>(priority);
            if (fields.size() < 5)
                reportError("LoadObjTable : Object(%s): %s %s", acronym, "Class name is absent",
                            "");
            entry.name = copyText(fields[4]);
            if (!entry.name) reportError("LoadObjTable : %s", "Memory allocation problem!");
            std::vector<std::uint8_t> codes;
            for (std::size_t i = 5; i < fields.size(); ++i) {
                const std::string& field = fields[i];
                long found = -1;
                if (field.size() == 6)
                    for (unsigned a = 0; a < attNum && found < 0; ++a)
                        if (field == attTable[a].acronym) found = a;
                if (found < 0)
                    reportError("LoadObjTable : Object(%s): %s %s", acronym,
                                "Unknown attribute: ", field.c_str());
                if (codes.size() == 255) {
                    traceMessage(
                        "KV71OBJ.DIC: more than 255 attributes of one class, rest skipped\n");
                    break;
                }
                codes.push_back(static_cast<std::uint8_t>(found));
            }
            if (!codes.empty()) {
                entry.attributes = new (std::nothrow) std::uint8_t[codes.size()];
                if (!entry.attributes)
                    reportError("LoadObjTable : %s", "Memory allocation problem!");
                std::memcpy(entry.attributes, codes.data(), codes.size());
                entry.attributeCount = static_cast<std::uint8_t>(codes.size());
            }
        });
    // Cells index this table by class code: without a single class no cell
    // could be read.
    if (table.count == 0) reportError("LoadObjTable : %s", "No object class in the file");
    table.installInto(objTable, objNum);
}

int LoadHosTable(const char* path) {
    TextFile file(path);
    if (!file.f) {
        freeTable(_HosTable, _nHosNum);
        return 0;
    }
    PendingTable<KV71HosEntry> table;
    readCodedTable(
        file, "HOSOURCE.DIC", maxSourceCode, [](const Fields& fields) { return !fields.empty(); },
        "LoadHosTable : Memory allocation problem!", table,
        [](KV71HosEntry& entry, long, const Fields& fields) {
            const char* first = fields[0].c_str();
            if (fields.size() < 3)
                reportError("LoadHosTable : Object(%s): %s %s", first, "SORIND Code Missing", "");
            if (fields.size() < 4)
                reportError("LoadHosTable : Object(%s): %s %s", first, "Authority Name Missing",
                            "");
            entry.first = copyText(fields[0]);
            entry.sorind = copyText(fields[2]);
            entry.authority = copyText(fields[3]);
            if (!entry.first || !entry.sorind || !entry.authority)
                reportError("LoadHosTable : %s", "Memory allocation problem!");
        });
    table.installInto(_HosTable, _nHosNum);
    return 1;
}

// ---- exported functions -----------------------------------------------------

extern "C" {

unsigned GetAttNum() {
    return attNum;
}
KV71AttributeClass* GetAttDescr(unsigned i) {
    return i < attNum ? &attTable[i] : nullptr;
}
unsigned GetObjNum() {
    return objNum;
}
KV71ObjectClass* GetObjDescr(unsigned i) {
    return i < objNum ? &objTable[i] : nullptr;
}
unsigned GetHosNum() {
    return _nHosNum;
}
KV71HosEntry* GetHosDescr(unsigned i) {
    return i < _nHosNum ? &_HosTable[i] : nullptr;
}

int InitKV71Dictionary(char* attributeFile, char* objectFile, char* sourceFile) {
    LoadAttTable(attributeFile);
    LoadObjTable(objectFile);
    return LoadHosTable(sourceFile);
}

void DoneKV71Dictionary() {
    freeTable(objTable, objNum);
    freeTable(_HosTable, _nHosNum);
    freeTable(attTable, attNum);
}

} // extern "C"
