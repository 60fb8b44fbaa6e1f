// Where the exchange library keeps its record and status words: one POSIX
// shared-memory segment per user and runtime folder, mode 0600.
//
// The name carries the user id and a hash of the user's runtime folder
// (os::runtimeFolder), so programs started in one session find each other and
// a test run with a runtime folder of its own touches nobody else's segment.
// The segment is made by the first process that needs it and stays until it is
// unlinked (the tests do; a session's segment is a few hundred bytes).
#pragma once

#include <string>

namespace d5arer {

// "/solvanor-exchange1-<uid>-<FNV-1a 64 of the runtime folder, 16 hex digits>";
// the 1 is the version of the segment's layout, to be raised when it changes.
std::string exchangeSegmentName();

} // namespace d5arer
