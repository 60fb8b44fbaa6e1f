// What a conditional-symbology plug-in library defines, for TPresLib to find
// by name: the number of entries of its procedure table and the table itself,
// indexed by object code (null entries draw nothing). Each procedure keeps the
// contract of procedures/CondSymbProcs.h.
//
//   extern "C" {
//   std::uint32_t nCondSymbProcs = 40;
//   CondSymbProc pCondSymbProcs[40] = {...};
//   }
#pragma once

#include "procedures/CondSymbProcs.h"

#include <cstdint>

extern "C" {
extern std::uint32_t nCondSymbProcs;
extern CondSymbProc pCondSymbProcs[];
}
