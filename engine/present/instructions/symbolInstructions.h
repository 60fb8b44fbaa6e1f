// The symbol instruction language: a short text of presentation instructions
// ("SY ( BOYLAT , 5 )", "LS ( 2 ) , AC ( 3 )") and an attribute-condition
// list ("COLOUR : 3 , CATLAM : 1"), parsed into owned lists. Nothing in the
// drawing road uses it; it is offered as a self-contained utility.
//
// Both parsers start at a terminating zero: the text to parse follows a field
// that was cut off before it, and the cursor points at that field's zero.
// They step over it, parse, and leave the cursor after what they read.
// Acronyms are looked up in a chart dictionary (object classes for the
// instructions' parameters, attributes for the conditions).
#pragma once

class TGdbDictionary;

// An owning singly linked list of links that carry their own `next`
// pointer: head, tail and count. It deletes its links when cleared or
// destroyed.
template <class T> class TSymbList {
  public:
    TSymbList() = default;
    ~TSymbList() { clear(); }
    TSymbList(const TSymbList&) = delete;
    TSymbList& operator=(const TSymbList&) = delete;

    // Takes link (not null) over and puts it last.
    void append(T* link) {
        link->next = nullptr;
        if (tail)
            tail->next = link;
        else
            head = link;
        tail = link;
        ++count;
    }

    // Deletes every link; the list becomes empty.
    void clear() {
        while (T* link = head) {
            head = link->next;
            delete link;
        }
        tail = nullptr;
        count = 0;
    }

    T* head = nullptr;
    T* tail = nullptr;
    int count = 0;
};

// Kinds of an instruction parameter.
enum : int {
    symbParamAcronym = 1, // value: the object class code of the acronym
    symbParamNumber = 2,  // value: the number
    symbParamText = 3,    // text: a heap copy of the quoted text
};

// One parameter of an instruction. Owns its text.
struct TSymbParam {
    TSymbParam() = default;
    ~TSymbParam() { delete[] text; }
    TSymbParam(const TSymbParam&) = delete;
    TSymbParam& operator=(const TSymbParam&) = delete;

    TSymbParam* next = nullptr;
    int type = 0;
    int value = 0;        // acronym and number parameters
    char* text = nullptr; // text parameters: never null nor empty
};
using TParamList = TSymbList<TSymbParam>;

// One instruction: its keyword index in SymbInstrKeywords and its
// parameters, in the order written.
struct TSymbInstr {
    TSymbInstr* next = nullptr;
    int keyword = 0;
    TParamList params;
};
using TSymbInstrList = TSymbList<TSymbInstr>;

// One attribute condition: attribute code (-1 for an acronym the dictionary
// does not know) and value.
struct TAttrValEntry {
    TAttrValEntry* next = nullptr;
    int code = 0;
    int value = 0;
};
using TAttrValList = TSymbList<TAttrValEntry>;

// A presentation rule: the attribute conditions it applies under and the
// instructions it draws with. Destroying it frees both lists, each
// instruction's parameters and each parameter's text.
struct TSymbRule {
    TAttrValList conditions;
    TSymbInstrList instructions;
};

// The keywords by index: 0 "NOP", 1 "CP", 2 "TX", 3 "SY", 4 "LS", 5 "LC",
// 6 "AC", 7 "AP". An unknown keyword is read as index 0.
constexpr int symbInstrKeywordCount = 8;
extern const char* const SymbInstrKeywords[symbInstrKeywordCount];

// Parses instructions "KW ( p , p ... ) , KW ..." after the zero *cursor
// points at, appending each complete one to list.
//
// A keyword is the word up to the next white space (compared case-sensitively,
// up to 15 characters; anything else is "NOP"), so "SY(ABCDEF)" is one "NOP".
// A "(" after it opens parameters, each a token up to the next white space
// (at most 31 characters, else an error): "\"text\"" (the text up to the next
// quote in the token; empty or unclosed is an error), a number (a token
// starting with a digit; the cursor also passes the character after the token
// and any digits after that), or an object class acronym (its first six
// characters; unknown to the dictionary, or code 0, is an error). Parameters
// are separated by "," and closed by ")", each set off by white space.
// Instructions are separated by ",".
//
// 0 after the last instruction; -1 on a syntax error (instructions completed
// before it stay in the list), when *cursor does not point at a zero, or for
// a null argument.
int parseSymbInstructions(char** cursor, TSymbInstrList* list, const TGdbDictionary* dictionary);

// Parses attribute conditions "ACRONM : value , ACRONM : value ..." after the
// zero *cursor points at, appending each to list. An acronym is exactly the
// next six characters, looked up as an attribute (unknown: code -1). A value
// is a run of decimal digits; the cursor passes it, the one character after
// it and any white space, so entries are separated by a value, a blank and a
// comma.
//
// 0 after the last entry; -1 when an entry has fewer than six characters left
// for its acronym or lacks its ":" (entries before it stay), when *cursor does
// not point at a zero, or for a null argument.
int parseAttrConditions(char** cursor, TAttrValList* list, const TGdbDictionary* dictionary);
