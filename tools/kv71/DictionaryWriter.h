// Writers of the three KV71 dictionary text files and the value-description
// file of the attributes.
//
// Lines are '|'-separated fields of Windows-1252 text; a line starting with
// '*' is a comment. KV71OBJ.DIC: acronym|code|primitives|priority|class
// name|attribute acronyms...; KV71ATTR.DIC: acronym|code|format|min|max;
// HOSOURCE.DIC: first field|code|SORIND code|authority. The value-description
// file holds blocks "[ACRONM]", "N=count", "v=text".
#pragma once

#include "tools/kv71/ByteBuffer.h"

#include <string>
#include <utility>
#include <vector>

namespace kv71write {

struct TextOptions {
    bool crlf = false;        // end lines with CR LF instead of LF
    bool finalNewline = true; // end the last line with a line end
};

// A dictionary text built line by line; any line may be malformed on purpose.
class DicText {
  public:
    DicText& comment(const std::string& text) { return line("*" + text); }
    DicText& blank() { return line(""); }
    DicText& line(const std::string& raw);
    DicText& fields(const std::vector<std::string>& values); // joined with '|'
    DicText& lines(const std::vector<std::string>& raws);
    std::string text(const TextOptions& options = {}) const;

  private:
    std::vector<std::string> lines_;
};

struct ObjectClassDef {
    std::string acronym; // six characters for a line the loader uses
    int code = 0;
    std::string primitives; // letters of P, L, A, S, C
    int priority = 0;
    std::string name;
    std::vector<std::string> attributes; // attribute acronyms
};

struct AttributeDef {
    std::string acronym;
    int code = 0;
    std::string format; // "aBYTE", "aWORD10", "aLONG", "aFLOAT", "aSTRING", "aCMPLX", "aLIST"
    std::string minimum, maximum; // both empty: no fields written
    std::string name;             // descriptive name, value 0 of its description block
    std::vector<std::pair<int, std::string>> values; // enumerated value texts
};

struct HosDef {
    std::string first;
    int code = 0;
    std::string sorind;
    std::string authority;
};

std::string objectLine(const ObjectClassDef& def);
std::string attributeLine(const AttributeDef& def);
std::string hosLine(const HosDef& def);
// "[ACRONM]", "N=count" (1 + the largest value number), "0=name", "v=text"
// lines; empty when the attribute has neither name nor values.
std::vector<std::string> valueDescriptionBlock(const AttributeDef& def);

struct DictionarySet {
    std::vector<ObjectClassDef> objects;
    std::vector<AttributeDef> attributes;
    std::vector<HosDef> sources;
    TextOptions options;
};

// File names written by writeDictionaries.
inline const char* const objectDicName = "KV71OBJ.DIC";
inline const char* const attributeDicName = "KV71ATTR.DIC";
inline const char* const valueDescriptionName = "KV71ATTR.DES";
inline const char* const hosDicName = "HOSOURCE.DIC";

// Writes the four files into dir, each starting with a comment line.
bool writeDictionaries(const std::string& dir, const DictionarySet& set);

} // namespace kv71write
