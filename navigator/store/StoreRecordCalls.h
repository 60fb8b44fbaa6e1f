// The record calls through which the chart window's placing and editing and
// the information dialogs read and write the user-object store. Each is the
// record layer's call of the same name (isam/isam.h) unless a test puts its
// own in, to watch the calls or to refuse one; a test gives the defaults back
// with `StoreRecordCalls() = TStoreRecordCalls{}`.
//
//   TStoreRecordCalls& calls = StoreRecordCalls();
//   if (int e = calls.RWTREC(kPointFileNumber, bytes.data())) { ... }
//
// DbaseWin's own operations (WritePointRecord, NextFreeObjectId, ...) call the
// record layer directly.
#pragma once

#include "isam/isam.h"

#include <cstddef>
#include <functional>

struct TStoreRecordCalls {
    std::function<int(int file, const void* record)> ADDREC = isam::ADDREC;
    std::function<int(int file, const void* record)> RWTREC = isam::RWTREC;
    std::function<int(int file)> DELREC = isam::DELREC;
    std::function<int(int key, const void* target, void* record)> EQLREC = isam::EQLREC;
    std::function<int(int key, const void* target, void* record)> LTEREC = isam::LTEREC;
    std::function<int(int key, void* record)> NXTREC = isam::NXTREC;
    std::function<int(int key, void* record)> PRVREC = isam::PRVREC;
    std::function<int(int file, const void* record, std::size_t length)> ADDVREC = isam::ADDVREC;
    std::function<int(int file, const void* record, std::size_t length)> RWTVREC = isam::RWTVREC;
    std::function<int(int file, void* buffer, std::size_t size)> REDVREC = isam::REDVREC;
    std::function<std::size_t(int file)> GETVLEN = isam::GETVLEN;
};

// The program's calls (GUI thread only).
inline TStoreRecordCalls& StoreRecordCalls() {
    static TStoreRecordCalls calls;
    return calls;
}
