// The KV71 dictionary tables: object classes (KV71OBJ.DIC), attributes
// (KV71ATTR.DIC with its value-description file) and hydrographic sources
// (HOSOURCE.DIC), loaded once per process into flat tables indexed by code.
//
// The files are Windows-1252 text, read line by line whatever their length;
// a line ends in LF or CR LF (a last line may have no line end); empty lines
// and lines starting with '*' are skipped; fields are separated by '|' and
// empty fields are not counted (so "A||B" has two fields and a trailing '|'
// adds none). Numbers are decimal, read the same in every locale: an integer
// field is read like atoi (leading blanks, a sign, the digits that follow;
// no digits read as 0), a minimum or maximum like atof.
//
// Codes of object classes and attributes are stored in one byte in the cells,
// so a line with a code outside 0..255 is skipped; source codes outside
// 0..65535 likewise. A line with no code field is skipped the same way. Each
// file that had lines skipped traces one message that says how many and
// names the first. Where two lines give the same code the later wins.
//
// Each table is built aside and replaces the previous table of its kind only
// when its whole load succeeded: a failed load throws and leaves the tables
// as they were. Not thread-safe: load and free on one thread before readers
// start.
#pragma once

#include <cstdint>

// One object class, indexed by its code. Unused codes are all zero.
struct KV71ObjectClass {
    char acronym[7];             // six characters and a zero
    std::uint8_t primitives;     // 1 point (P), 2 line (L), 4 area (A), 8 sounding (S), 16 C
    std::uint8_t attributeCount; // entries in attributes
    std::uint8_t priority;       // display priority 0..255
    char* name;                  // class name
    std::uint8_t* attributes;    // codes of the attributes allowed for the class
};

// Format numbers of KV71AttributeClass::format: the index of the format word
// in KV71ATTR.DIC.
enum KV71AttributeFormat : std::uint8_t {
    aNotUsed = 0,
    aBYTE = 1,
    aWORD10 = 2,
    aLONG = 3,
    aFLOAT = 4,
    aSTRING = 5,
    aCMPLX = 6,
    aLIST = 7,
};

// One attribute, indexed by its code. Unused codes are all zero.
struct KV71AttributeClass {
    char acronym[7];
    std::uint8_t format;      // KV71AttributeFormat
    float minimum, maximum;   // read for formats 1-4 and 7, else 0
    std::uint32_t valueCount; // slots in values; 0 when the attribute has none
    // values[0] the attribute's descriptive name, values[v] the name of
    // enumerated value v; null where the value-description file gave none.
    char** values;
};

// One hydrographic source, indexed by its code. Unused codes are all null.
struct KV71HosEntry {
    char* first;     // first field of the line
    char* sorind;    // SORIND code text
    char* authority; // authority name
};

extern "C" {

// Number of entries of the attribute table (1 + the largest code), 0 when
// none is loaded.
unsigned GetAttNum();
// Attribute entry i, or null when i >= GetAttNum().
KV71AttributeClass* GetAttDescr(unsigned i);
// Number of entries of the object-class table, 0 when none is loaded.
unsigned GetObjNum();
// Object-class entry i, or null when i >= GetObjNum().
KV71ObjectClass* GetObjDescr(unsigned i);
// Number of entries of the hydrographic-source table, 0 when none is loaded.
unsigned GetHosNum();
// Source entry i, or null when i >= GetHosNum().
KV71HosEntry* GetHosDescr(unsigned i);

// Loads the attribute file (and its value-description file: the same path
// with the extension replaced by "des", found whatever its case; a missing
// one leaves every value text null), then the object file (whose attribute
// acronyms are looked up in the attribute table just loaded), then the
// source file. Answers 1 when the source file was loaded, 0 when it could not
// be opened (its table is then left empty). The first two files are required:
// errors in them throw the error routine's text ("ERROR: ..."); see the
// loaders for the messages.
int InitKV71Dictionary(char* attributeFile, char* objectFile, char* sourceFile);

// Frees the three tables; every count becomes 0.
void DoneKV71Dictionary();

// The hydrographic-source table (null when empty) and its number of entries.
extern KV71HosEntry* _HosTable;
extern unsigned _nHosNum;
}

// The loaders on their own, as InitKV71Dictionary runs them.
// Throws "Cannot open attribute dictionary file !!!", "LoadAttTable: Memory
// allocation problem!" or "LoadAttTable : Attribute(ACRONM): <problem>".
void LoadAttTable(const char* path);
// Throws "Cannot open object dictionary file !!!", "LoadObjTable : Memory
// allocation problem!", "LoadObjTable : Object(ACRONM): <problem>" or, when
// the file defines no object class at all, "LoadObjTable : No object class in
// the file".
void LoadObjTable(const char* path);
// 1 loaded, 0 the file cannot be opened (table emptied). Throws "LoadHosTable
// : Object(FIRST): SORIND Code Missing " and the like for incomplete lines.
int LoadHosTable(const char* path);
