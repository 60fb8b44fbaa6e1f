// The dictionary interface of a chart database: names and codes of object
// classes and attributes. The base class answers "nothing known" everywhere
// (counts 0, codes -1, texts null), so a partial dictionary still works.
//
// Every dictionary registers itself in a process-wide registry of 16 slots
// (the lowest free slot); a dictionary created while all 16 are taken works
// normally with slot -1 and is not listed. The registry is not locked:
// create and destroy dictionaries on one thread.
#pragma once

#include "gdb/GdbLookupTables.h"

class TGdbDictionary {
  public:
    static constexpr int registrySize = 16;
    // The registry: occupied slots point at their dictionary, free ones are
    // null; nGdbDict is the number of occupied slots.
    static TGdbDictionary* apGdbDict[registrySize];
    static int nGdbDict;

    // name and path are copied (null stays null); the path is normalised as a
    // folder path (newPath: '\' becomes '/', a '/' appended).
    TGdbDictionary(const char* name, const char* path);
    virtual ~TGdbDictionary();
    TGdbDictionary(const TGdbDictionary&) = delete;
    TGdbDictionary& operator=(const TGdbDictionary&) = delete;

    // Attaches the presentation's look-up tables (null detaches them). The
    // dictionary does not own them.
    void SetPresentation(GdbLookupTables* presentation) { presentation_ = presentation; }
    GdbLookupTables* GetPresentation() const { return presentation_; }

    const char* GetName() const { return name_; }
    const char* GetPath() const { return path_; }
    // Registry slot 0..15, or -1 when the registry was full.
    int GetSlot() const { return slot_; }

    // Number of object class codes (highest code + 1). Base: 0.
    virtual int GetObjectNum() const;
    // Code of the object class with this acronym, or -1. Base: -1.
    virtual int GetObjectLabel(char* acronym) const;
    // Acronym of an object class code, or null. Base: null.
    virtual const char* GetObjectCode(int code) const;
    // Name of an object class code, or null. Base: null.
    virtual const char* GetObjectName(int code) const;
    // Number of attribute codes. Base: 0.
    virtual int GetAttrNum() const;
    // Code of the attribute with this acronym, or -1. Base: -1.
    virtual int GetAttrLabel(char* acronym) const;
    // Acronym of an attribute code, or null. Base: null.
    virtual const char* GetAttrCode(int code) const;
    // Descriptive name of an attribute code, or null. Base: null.
    virtual const char* GetAttrName(int code) const;
    // Name of value `value` of an enumerated attribute, or null. Base: null.
    virtual const char* GetAttrValueName(int code, int value) const;

  private:
    GdbLookupTables* presentation_ = nullptr;
    char* name_ = nullptr;
    char* path_ = nullptr;
    int slot_ = -1;
};
