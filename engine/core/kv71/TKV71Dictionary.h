// The dictionary of KV71 charts: a thin object over the process-wide
// dictionary tables (kv71/dictionaryTables.h). The first dictionary loads
// KV71ATTR.DIC, KV71OBJ.DIC and HOSOURCE.DIC from its directory; later ones
// share those tables whatever their own path; the last one to go frees them.
// Create and destroy dictionaries on one thread.
#pragma once

#include "gdb/TGdbDictionary.h"

class TKV71Dictionary : public TGdbDictionary {
  public:
    // The first live dictionary loads the tables from path + "KV71ATTR.DIC",
    // path + "KV71OBJ.DIC" and path + "HOSOURCE.DIC" (path as given, so it
    // ends in a separator); the loaders' errors propagate as the error
    // routine's exception ("ERROR: ..."), and the dictionary then does not
    // exist (nothing is kept loaded by it).
    TKV71Dictionary(const char* name, const char* path);
    ~TKV71Dictionary() override;

    // Number of live KV71 dictionaries.
    static int InstanceCount();

    // Codes are taken unsigned: a negative code is unknown (null).
    int GetObjectNum() const override;
    // The first code whose acronym equals the text exactly (case matters).
    int GetObjectLabel(char* acronym) const override;
    const char* GetObjectCode(int code) const override;
    const char* GetObjectName(int code) const override;
    int GetAttrNum() const override;
    int GetAttrLabel(char* acronym) const override;
    const char* GetAttrCode(int code) const override;
    // Value text 0 of the attribute: its descriptive name.
    const char* GetAttrName(int code) const override;
    // Value text `value`; null beyond the attribute's texts.
    const char* GetAttrValueName(int code, int value) const override;
};

extern "C" {
// The first KV71 dictionary built while this was null; cleared when that
// dictionary is destroyed.
extern TKV71Dictionary* _pSharedKV71Dict;

// A dictionary with an empty name on the directory path (see the
// constructor). Exceptions of the loaders propagate.
TKV71Dictionary* new__TKV71Dictionary(const char* path);
// Destroys the dictionary; null is ignored.
void delete__TKV71Dictionary(TKV71Dictionary* dictionary);
// The operations of the same name; the dictionary must not be null.
int TKV71Dictionary__GetObjectNum(TKV71Dictionary* dictionary);
int TKV71Dictionary__GetObjectLabel(TKV71Dictionary* dictionary, char* acronym);
const char* TKV71Dictionary__GetObjectCode(TKV71Dictionary* dictionary, int code);
const char* TKV71Dictionary__GetObjectName(TKV71Dictionary* dictionary, int code);
int TKV71Dictionary__GetAttrNum(TKV71Dictionary* dictionary);
int TKV71Dictionary__GetAttrLabel(TKV71Dictionary* dictionary, char* acronym);
const char* TKV71Dictionary__GetAttrCode(TKV71Dictionary* dictionary, int code);
const char* TKV71Dictionary__GetAttrName(TKV71Dictionary* dictionary, int code);
const char* TKV71Dictionary__GetAttrValueName(TKV71Dictionary* dictionary, int code, int value);
}
