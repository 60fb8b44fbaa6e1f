// The presentation library of a chart dictionary: its object and attribute
// look-up tables (presentation/lookupTables.h) and its table of conditional
// symbology procedures, indexed by object code.
//
// The procedure table is the built-in one (procedures/CondSymbProcs.h) for
// the presentation name "INT1Pres" (exactly so), else the table a plug-in
// library exports: the file directory + name is loaded as a shared library,
// and its data exports "nCondSymbProcs" (unsigned 32-bit: the number of
// entries) and "pCondSymbProcs" (the array of CondSymbProc entries itself)
// give the table. A plug-in that cannot be loaded, or exports no count, a
// count of 0 or no table, leaves the library without procedures (count 0):
// nothing is drawn.
//
// The library is attached to its dictionary with
// TGdbDictionary::SetPresentation; the chart objects read the look-up
// records through it, TMapContext::Draw the procedures.
//
// Example:
//   TKV71Dictionary dictionary("KV71Dictionary", dir);
//   TPresLib presentation(&dictionary, "INT1Pres", dir);
//   dictionary.SetPresentation(&presentation); // before any query is made
#pragma once

#include "gdb/GdbLookupTables.h"
#include "presentation/lookupTables.h"
#include "procedures/CondSymbProcs.h"

#include <memory>

class TGdbDictionary;

class TPresLib : public GdbLookupTables {
  public:
    // Loads directory + "OBJLUT.DIC" sized by the dictionary's object count
    // (throws the int 10 when that fails) and directory + "ATTRLUT.DIC" sized
    // by its attribute count (throws the int 11), then chooses the procedure
    // table by name (null: none, count 0). Throws the text "Fonts are not
    // found" when the graphics layer found no symbol fonts, after all that.
    // The directory is normalised (runtime/paths.h folderPath; null or empty:
    // the current directory). What was built is freed on every throw.
    TPresLib(TGdbDictionary* dictionary, const char* name, const char* directory);
    // Loads the look-up tables and checks the fonts as above, without a name,
    // and takes the caller's procedure table of count entries (still owned by
    // the caller).
    TPresLib(TGdbDictionary* dictionary, unsigned count, CondSymbProc* table,
             const char* directory);
    ~TPresLib() override;
    TPresLib(const TPresLib&) = delete;
    TPresLib& operator=(const TPresLib&) = delete;

    // Stores procedure for code and answers the entry it replaced (null when
    // it was empty); a code that is not below the count (taken as unsigned, so
    // negative codes too) changes nothing and answers null. With the built-in
    // table this changes the one process-wide table, with a plug-in its
    // exported array.
    CondSymbProc setSymbProcedure(int code, CondSymbProc procedure);

    // The records of codes 0 to the dictionary's count; null beyond.
    const GdbObjectLookup* objectLookup(unsigned code) const override;
    const GdbAttrLookup* attrLookup(unsigned code) const override;

    // A loaded plug-in library, closed when it goes.
    struct Module {
        void* handle = nullptr;
        Module() = default;
        explicit Module(void* h) : handle(h) {}
        ~Module();
        Module(const Module&) = delete;
        Module& operator=(const Module&) = delete;
        Module(Module&& other) noexcept : handle(other.handle) { other.handle = nullptr; }
        Module& operator=(Module&& other) noexcept;
    };

    // The presentation name (null for the second constructor).
    std::unique_ptr<char[]> name;
    // The normalised directory, ending in '/' (or ':'), or empty.
    std::unique_ptr<char[]> directory;
    // -1; read by nothing.
    std::int32_t reserved;
    // objectCount + 1 object records, indexed by object code.
    std::unique_ptr<GdbObjectLookup[]> objects;
    // attrCount + 1 attribute entries, indexed by attribute code.
    std::unique_ptr<TAttributeLUTEntry[]> attributes;
    // The plug-in library, when one is loaded.
    Module module;
    // Entries of the procedure table and the table (not owned).
    unsigned procCount;
    CondSymbProc* procs;
    // The dictionary that sized the tables (not owned).
    TGdbDictionary* dictionary;

  private:
    void loadTables();
    void loadPlugin(const char* file);

    unsigned objectCount_ = 0;
    unsigned attrCount_ = 0;
};
