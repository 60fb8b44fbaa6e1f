// Placeholders of the built-in procedures that are not drawn yet: each draws
// nothing. A family of procedures, once built in its own source, takes its
// placeholders out of this file, so every procedure is defined exactly once.
#include "procedures/Int1Procs.h"

void Int1Proc21(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc22(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc23(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc25(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc26(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc28(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc30(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc31(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc35(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc36(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc40(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc41(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc42(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc43(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc44(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc45(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc46(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc49(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc50(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc51(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc54(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc55(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc56(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc57(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc58(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc59(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc61(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc63(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc66(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc70(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc71(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc72(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc76(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc78(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc79(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc80(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc82(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc83(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc84(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc85(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc87(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc90(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc97(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc98(TMapContext*, GdbObject*, MapObject*) {}
void Int1Proc99(TMapContext*, GdbObject*, MapObject*) {}
