#include "instructions/symbolInstructions.h"

#include "gdb/TGdbDictionary.h"

#include <climits>
#include <cstring>
#include <memory>

const char* const SymbInstrKeywords[symbInstrKeywordCount] = {"NOP", "CP", "TX", "SY",
                                                              "LS",  "LC", "AC", "AP"};

namespace {

constexpr int maxKeywordLength = 15;
constexpr int maxTokenLength = 31;
constexpr int acronymLength = 6;

// White space as the "C" locale classifies it, whatever the process's locale.
bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* skipSpace(const char* p) {
    while (isSpace(*p))
        ++p;
    return p;
}

// The length of the word at p: up to the next white space or the end.
std::size_t wordLength(const char* p) {
    std::size_t n = 0;
    while (p[n] && !isSpace(p[n]))
        ++n;
    return n;
}

// The decimal value of the digits at p (INT_MAX when they do not fit); *end
// is set after them.
int readDigits(const char* p, const char** end) {
    long long value = 0;
    for (; isDigit(*p); ++p)
        if (value <= INT_MAX) value = value * 10 + (*p - '0');
    *end = p;
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int keywordIndex(const char* word, std::size_t length) {
    if (length > maxKeywordLength) return 0;
    for (int i = 1; i < symbInstrKeywordCount; ++i)
        if (std::strlen(SymbInstrKeywords[i]) == length &&
            std::memcmp(SymbInstrKeywords[i], word, length) == 0)
            return i;
    return 0;
}

// A zero-terminated copy of up to six characters, as the dictionary compares
// whole texts.
struct Acronym {
    Acronym(const char* p, std::size_t n) {
        if (n > acronymLength) n = acronymLength;
        std::memcpy(text, p, n);
        text[n] = 0;
    }
    char text[acronymLength + 1] = {};
};

// Reads the parameter at p into param; the position after it, or null on an
// error.
const char* readParam(const char* p, TSymbParam& param, const TGdbDictionary& dictionary) {
    const std::size_t length = wordLength(p);
    if (length > maxTokenLength) return nullptr;
    const char* const end = p + length;
    if (*p == '"') {
        const char* close = static_cast<const char*>(std::memchr(p + 1, '"', length - 1));
        if (!close || close == p + 1) return nullptr; // unclosed or empty
        const std::size_t n = close - (p + 1);
        param.type = symbParamText;
        param.text = new char[n + 1];
        std::memcpy(param.text, p + 1, n);
        param.text[n] = 0;
        return end;
    }
    if (isDigit(*p)) {
        const char* digitsEnd = nullptr;
        param.type = symbParamNumber;
        param.value = readDigits(p, &digitsEnd);
        const char* q = end;
        if (*q) ++q; // the character after the token, never the end
        while (isDigit(*q))
            ++q;
        return q;
    }
    Acronym acronym(p, length);
    const int code = dictionary.GetObjectLabel(acronym.text);
    if (code <= 0) return nullptr; // unknown (-1), or the class-less code 0
    param.type = symbParamAcronym;
    param.value = code;
    return end;
}

// Reads the parameter list at p, just after "(", into params; the position
// after ")" and the white space after it, or null on an error.
const char* readParams(const char* p, TParamList& params, const TGdbDictionary& dictionary) {
    for (;;) {
        p = skipSpace(p + 1); // over "(" or ","
        auto param = std::make_unique<TSymbParam>();
        p = readParam(p, *param, dictionary);
        if (!p) return nullptr;
        params.append(param.release());
        p = skipSpace(p);
        if (*p == ',') continue;
        if (*p != ')') return nullptr;
        return skipSpace(p + 1);
    }
}

bool startsAtZero(char** cursor) {
    return cursor && *cursor && **cursor == 0;
}

} // namespace

int parseSymbInstructions(char** cursor, TSymbInstrList* list, const TGdbDictionary* dictionary) {
    if (!startsAtZero(cursor) || !list || !dictionary) return -1;
    const char* p = *cursor;
    int result = 0;
    for (;;) {
        p = skipSpace(p + 1); // over the leading zero, later over ","
        const std::size_t length = wordLength(p);
        auto instruction = std::make_unique<TSymbInstr>();
        instruction->keyword = keywordIndex(p, length);
        p = skipSpace(p + length);
        if (*p == '(') {
            const char* after = readParams(p, instruction->params, *dictionary);
            if (!after) {
                result = -1;
                break;
            }
            p = after;
        }
        list->append(instruction.release());
        p = skipSpace(p);
        if (*p != ',') break;
    }
    *cursor += p - *cursor;
    return result;
}

int parseAttrConditions(char** cursor, TAttrValList* list, const TGdbDictionary* dictionary) {
    if (!startsAtZero(cursor) || !list || !dictionary) return -1;
    const char* p = *cursor;
    int result = 0;
    for (;;) {
        p = skipSpace(p + 1); // over the leading zero, later over ","
        if (strnlen(p, acronymLength) < acronymLength) {
            result = -1;
            break;
        }
        Acronym acronym(p, acronymLength);
        p = skipSpace(p + acronymLength);
        if (*p != ':') {
            result = -1;
            break;
        }
        auto entry = std::make_unique<TAttrValEntry>();
        entry->code = dictionary->GetAttrLabel(acronym.text);
        entry->value = readDigits(skipSpace(p + 1), &p);
        list->append(entry.release());
        if (*p) ++p; // the one character after the value, never the end
        p = skipSpace(p);
        if (*p != ',') break;
    }
    *cursor += p - *cursor;
    return result;
}
