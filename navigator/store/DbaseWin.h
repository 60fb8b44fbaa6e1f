// The user-object store: the ID, POINT and INFO files of the user's tracks,
// routes, lines, symbols, zones and areas, opened, repaired or created when
// the store is made, and the operations the chart window's passes share.
//
// DbaseWin is a window that is never shown; the chart window makes it at its
// set-up, owns it and deletes it. Its constructor starts the record layer and
// takes each file, in the order ID, POINT, INFO, down the ladder:
//  1. open it; for ID the file mode must be the single-user 0x42, else the
//     box "Use single user database and DLL!" and the program ends ("Exit");
//  2. failing that, delete its index file, show "Open X" and rebuild it from
//     its data file, then open it again ("ReOpen X", fatal);
//  3. if the rebuild fails, show "Rebuild X" and create the file ("Create X",
//     fatal); a new ID file gets the settings block ("Add Resource").
// Creating never replaces a data file that exists: a damaged file, or one
// of another program, ends the program through "Exit" and stays on disk as it
// was, for the user to restore.
//
// Each box reads "db-error: N" with the record layer's error number, the step
// as its caption. After "Exit" the store is failed until it is deleted: its
// files are closed, and every operation answers "not found" or failure
// without touching any file. The destructor closes the three files, which
// then are exactly their six files on disk.
//
// Every call of the record layer is durable when it returns. GUI thread only.
//
//   auto* store = new DbaseWin(this);               // the bases of DBROOT
//   store->CurrentPointRecord = PointRecord{.id = 7, .number = 1, .latitude = 36000000};
//   if (store->WritePointRecord() != 0) { ... }
//   store->DeleteObject(kKindRoute, 7);
#pragma once

#include "store/storeFiles.h"
#include "store/storeRecords.h"
#include "ui/Window.h"

#include <array>
#include <cstdint>
#include <functional>

// The record layer's file calls the store makes; tests put failing ones in.
struct DbaseFileCalls {
    std::function<int(const isam::FileDescription&)> open = isam::OPNIFIL;
    std::function<int(const isam::FileDescription&)> rebuild = isam::RBLIFIL;
    std::function<int(const isam::FileDescription&)> close = isam::CLIFIL;
    std::function<long(int file, int mode)> fileProperty = isam::GETFIL;
};

class DbaseWin : public ui::TWindow {
  public:
    using FileCalls = DbaseFileCalls;

    // The store on the three file bases the start-up built from DBROOT.
    explicit DbaseWin(ui::TWindow* parent);
    // The store on the given bases.
    DbaseWin(ui::TWindow* parent, StoreFileBases bases, FileCalls calls = {});
    ~DbaseWin() override;

    // The smallest free object id among 1, 3, 4, 5, ... (2 is never given),
    // each looked up by key 3. 0 when none can be given: a failed store, a
    // read error, or every id taken.
    std::int32_t NextFreeObjectId();

    // Writes CurrentPointRecord under key 5 of its id and point number (the
    // current object id and point number): added when that point is not
    // stored, else rewritten. The final u16 is written 0. Answers 0, or the
    // record layer's error number (isam::kCannotOpen when failed).
    int WritePointRecord();

    // Deletes the object of this kind and id: its POINT records, its INFO
    // texts, then its ID record. Deleting the ID record last means a delete
    // cut short leaves an object with too few points, which the drawing
    // pass's upkeep repairs, never points without an object that a new
    // object would inherit with the same id. Answers 0; isam::kNotFound when
    // no object has this kind and id (nothing changes); or the error number of
    // a failed call, after which the rest is left.
    int DeleteObject(int kind, std::int32_t id);

    // Compacts the three files, each in turn: closed ("Close X" and "Exit"
    // when that fails), rebuilt and reopened as the ladder does. Every record
    // stays.
    void Compact();

    // The box "db-error: N" with the record layer's last error number, the
    // step as its caption; task-modal, with the exclamation icon.
    static void ShowDbError(const char* step);

    // True after "Exit": nothing is open and every operation fails.
    bool Failed() const { return failed_; }
    const StoreFileBases& Bases() const { return bases_; }

    // The records the chart window fills before it writes, and into which
    // its passes read.
    IdRecord CurrentIdRecord;
    PointRecord CurrentPointRecord;

  private:
    // Takes a file down the ladder; false when the program ends.
    bool OpenStoreFile(StoreFile file);
    // Reopens a closed file after a rebuild, or creates it (steps 2 and 3 of
    // the ladder without the first open).
    bool RebuildStoreFile(StoreFile file);
    // "Exit": the program is told to end and the store closes what it holds.
    void Fail();
    void CloseAll();

    StoreFileBases bases_;
    FileCalls calls_;
    std::array<bool, 3> open_{};
    bool failed_ = false;
};
