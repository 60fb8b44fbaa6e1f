// Fuzz target of the symbol instruction language. The input is the text
// after a cut-off field's zero; both parsers read it, and everything they
// built is walked and checked.
#include "gdb/TGdbDictionary.h"
#include "instructions/symbolInstructions.h"

#include "fuzzFiles.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A few object classes and attributes, as a chart dictionary answers them.
class SmallDictionary : public TGdbDictionary {
  public:
    SmallDictionary() : TGdbDictionary("fuzz", nullptr) {}
    int GetObjectLabel(char* acronym) const override {
        return find(acronym, {"", "ADMARE", "BOYLAT", "LIGHTS"}, {0, 1, 18, 86});
    }
    int GetAttrLabel(char* acronym) const override {
        return find(acronym, {"CATLAM", "COLOUR"}, {24, 59});
    }

  private:
    static int find(const char* acronym, std::initializer_list<const char*> names,
                    std::initializer_list<int> codes) {
        fuzzCheck(std::strlen(acronym) <= 6);
        auto code = codes.begin();
        for (const char* name : names)
            if (std::strcmp(name, acronym) == 0)
                return *code;
            else
                ++code;
        return -1;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SmallDictionary dictionary;
    // Exactly the zero, the input and the text's own end: a read past them is
    // an address-sanitizer finding.
    std::vector<char> text(size + 2);
    text[0] = 0;
    if (size) std::memcpy(text.data() + 1, data, size);
    text[size + 1] = 0;
    const char* const end = text.data() + 1 + strnlen(text.data() + 1, size);

    TSymbRule rule;
    char* cursor = text.data();
    const int instructions = parseSymbInstructions(&cursor, &rule.instructions, &dictionary);
    fuzzCheck(instructions == 0 || instructions == -1);
    fuzzCheck(cursor >= text.data() && cursor <= end);
    int count = 0;
    for (const TSymbInstr* i = rule.instructions.head; i; i = i->next, ++count) {
        fuzzCheck(i->keyword >= 0 && i->keyword < symbInstrKeywordCount);
        int params = 0;
        for (const TSymbParam* p = i->params.head; p; p = p->next, ++params) {
            if (p->type == symbParamText)
                fuzzCheck(p->text && p->text[0] && std::strlen(p->text) < 31);
            else if (p->type == symbParamAcronym)
                fuzzCheck(p->value > 0);
            else
                fuzzCheck(p->type == symbParamNumber && p->value >= 0);
        }
        fuzzCheck(params == i->params.count);
    }
    fuzzCheck(count == rule.instructions.count);

    cursor = text.data();
    const int conditions = parseAttrConditions(&cursor, &rule.conditions, &dictionary);
    fuzzCheck(conditions == 0 || conditions == -1);
    fuzzCheck(cursor >= text.data() && cursor <= end);
    count = 0;
    for (const TAttrValEntry* e = rule.conditions.head; e; e = e->next, ++count)
        fuzzCheck(e->code == -1 || e->code == 24 || e->code == 59);
    fuzzCheck(count == rule.conditions.count);
    return 0;
}
