// The symbol instruction language on the project's dictionaries: the
// instruction parser and the attribute-condition parser, as tables of texts
// and what they parse into.
#include "instructions/symbolInstructions.h"

#include "kv71/TKV71Dictionary.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string dictDir = std::string(DATA_DIR) + "/dict/";

class SymbolInstructions : public ::testing::Test {
  protected:
    TKV71Dictionary dictionary{"KV71Dictionary", dictDir.c_str()};

    // The text after a cut-off field's zero, as the parsers expect it.
    static std::string afterZero(const std::string& text) { return std::string(1, '\0') + text; }
};

// One instruction per word: keyword, then its parameters in parentheses, an
// acronym as "a<code>", a number as "n<value>", a text as "t<text>".
std::string describe(const TSymbInstrList& list) {
    std::string out;
    int count = 0;
    for (const TSymbInstr* i = list.head; i; i = i->next, ++count) {
        if (!out.empty()) out += ' ';
        out += SymbInstrKeywords[i->keyword];
        out += '(';
        int params = 0;
        for (const TSymbParam* p = i->params.head; p; p = p->next, ++params) {
            if (p != i->params.head) out += ' ';
            switch (p->type) {
            case symbParamAcronym:
                out += 'a' + std::to_string(p->value);
                break;
            case symbParamNumber:
                out += 'n' + std::to_string(p->value);
                break;
            case symbParamText:
                out += 't' + std::string(p->text);
                break;
            default:
                out += '?';
            }
        }
        out += ')';
        EXPECT_EQ(params, i->params.count);
        if (!i->next) {
            EXPECT_EQ(i, list.tail);
        }
    }
    EXPECT_EQ(count, list.count);
    return out;
}

std::string describe(const TAttrValList& list) {
    std::string out;
    int count = 0;
    for (const TAttrValEntry* e = list.head; e; e = e->next, ++count) {
        if (!out.empty()) out += ' ';
        out += std::to_string(e->code) + '=' + std::to_string(e->value);
    }
    EXPECT_EQ(count, list.count);
    return out;
}

TEST_F(SymbolInstructions, InstructionTexts) {
    struct Case {
        const char* text;
        int result;
        const char* parsed;
        const char* rest; // where the cursor stops
    };
    const Case cases[] = {
        {"SY ( BOYLAT , 5 )", 0, "SY(a18 n5)", ""},
        // The keyword runs to white space, so this is one unknown word.
        {"SY(BOYLAT)", 0, "NOP()", ""},
        {"LS ( 2 ) , AC ( 3 )", 0, "LS(n2) AC(n3)", ""},
        {"TX ( \"Name\" , 3 ) ; rest", 0, "TX(tName n3)", "; rest"},
        {"CP ( 1 ) , LC ( 2 ) , AP ( 3 ) , TX ( 4 )", 0, "CP(n1) LC(n2) AP(n3) TX(n4)", ""},
        {"\tSY\t(\nBOYLATXYZ ,\r7\n)", 0, "SY(a18 n7)", ""},
        // Only the first six characters of an acronym count.
        {"AC ( COLOUR )", -1, "", nullptr}, // an attribute, not an object class
        {"SY ( ABCDEF , 5 )", -1, "", nullptr},
        {"TX ( \"a b\" )", -1, "", nullptr}, // the token ends at the blank
        {"TX ( \"\" )", -1, "", nullptr},
        {"TX ( \"abc )", -1, "", nullptr},
        {"SY ( 1", -1, "", nullptr},
        {"SY ( )", -1, "", nullptr},
        {"SY (", -1, "", nullptr},
        // Complete instructions before a failing one stay.
        {"LS ( 2 ) , SY ( XXXXXX ) , AC ( 3 )", -1, "LS(n2)", nullptr},
        {"sy ( 1 )", 0, "NOP(n1)", ""},
        {"SYMBOLINSTRUCTION ( 1 )", 0, "NOP(n1)", ""},
        {"SY ( 12345678901234567890123456789012 )", -1, "", nullptr},
        {"SY ( 99999999999999999999 )", 0, "SY(n2147483647)", ""},
        // A number takes the character after it and the digits after that.
        {"SY ( 5 6 )", 0, "SY(n5)", ""},
        {"", 0, "NOP()", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = afterZero(c.text);
        char* cursor = text.data();
        TSymbRule rule;
        EXPECT_EQ(parseSymbInstructions(&cursor, &rule.instructions, &dictionary), c.result);
        EXPECT_EQ(describe(rule.instructions), c.parsed);
        if (c.rest) {
            EXPECT_STREQ(cursor, c.rest);
        }
    }
}

TEST_F(SymbolInstructions, AttributeConditionTexts) {
    struct Case {
        const char* text;
        int result;
        const char* parsed;
    };
    const Case cases[] = {
        {"COLOUR : 3 , CATLAM : 1", 0, "59=3 24=1"},
        {"COLOUR:3 ,\tCATLAM:14", 0, "59=3 24=14"},
        {"COLOUR 3", -1, ""},
        {"COLOUR : 3 , CATLAM 1", -1, "59=3"},
        // Attributes are looked up as attributes: an object class acronym is
        // unknown here, and kept with code -1.
        {"BOYLAT : 2", 0, "-1=2"},
        {"XXXXXX : 4 , COLOUR : 1", 0, "-1=4 59=1"},
        // Fewer than six characters left for an acronym.
        {"COLOUR : 3 , COL", -1, "59=3"},
        {"COL", -1, ""},
        {"", -1, ""},
        // The character after a value is passed, a comma too.
        {"COLOUR:3,CATLAM:1", 0, "59=3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = afterZero(c.text);
        char* cursor = text.data();
        TSymbRule rule;
        EXPECT_EQ(parseAttrConditions(&cursor, &rule.conditions, &dictionary), c.result);
        EXPECT_EQ(describe(rule.conditions), c.parsed);
    }
}

TEST_F(SymbolInstructions, ParsersStartOnlyAtAZero) {
    std::string text = "SY ( 1 )";
    char* cursor = text.data();
    TSymbRule rule;
    EXPECT_EQ(parseSymbInstructions(&cursor, &rule.instructions, &dictionary), -1);
    EXPECT_EQ(parseAttrConditions(&cursor, &rule.conditions, &dictionary), -1);
    EXPECT_EQ(cursor, text.data());
    EXPECT_EQ(rule.instructions.count + rule.conditions.count, 0);

    std::string zero = afterZero("SY ( 1 )");
    cursor = zero.data();
    EXPECT_EQ(parseSymbInstructions(nullptr, &rule.instructions, &dictionary), -1);
    EXPECT_EQ(parseSymbInstructions(&cursor, nullptr, &dictionary), -1);
    EXPECT_EQ(parseSymbInstructions(&cursor, &rule.instructions, nullptr), -1);
    EXPECT_EQ(cursor, zero.data());
}

TEST_F(SymbolInstructions, ParsersAppendToWhatTheListsHold) {
    TSymbRule rule;
    std::string first = afterZero("SY ( BOYLAT ) , TX ( \"one\" )");
    std::string second = afterZero("TX ( \"two\" , 2 )");
    for (std::string* text : {&first, &second}) {
        char* cursor = text->data();
        ASSERT_EQ(parseSymbInstructions(&cursor, &rule.instructions, &dictionary), 0);
    }
    EXPECT_EQ(describe(rule.instructions), "SY(a18) TX(tone) TX(ttwo n2)");
    // The rule frees the instructions, their parameters and the texts (the
    // leak checker sees any that stay).
}

} // namespace
