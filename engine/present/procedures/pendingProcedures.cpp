// Placeholders of the built-in procedures that are not drawn yet: each draws
// nothing. A family of procedures, once built in its own source, takes its
// placeholders out of this file, so every procedure is defined exactly once.
#include "procedures/Int1Procs.h"

