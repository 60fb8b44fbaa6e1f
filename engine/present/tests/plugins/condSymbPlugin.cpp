// A conditional-symbology plug-in for the presentation tests, built in three
// forms: PLUGIN_COUNT entries, with a table of 40 counting procedures when
// PLUGIN_TABLE is 1 and without one when it is 0.
#include "presentation/CondSymbPlugin.h"

extern "C" {
// Calls of the plug-in's procedures.
int pluginCalls = 0;
}

extern "C" {
std::uint32_t nCondSymbProcs = PLUGIN_COUNT;
}

#if PLUGIN_TABLE
namespace {

void countCall(TMapContext*, GdbObject*, MapObject*) {
    ++pluginCalls;
}

} // namespace

extern "C" {
CondSymbProc pCondSymbProcs[40] = {
    countCall, countCall, countCall, countCall, countCall, countCall, countCall, countCall,
    countCall, countCall, countCall, countCall, countCall, countCall, countCall, countCall,
    countCall, countCall, countCall, countCall, countCall, countCall, countCall, countCall,
    countCall, countCall, countCall, countCall, countCall, countCall, countCall, countCall,
    countCall, countCall, countCall, countCall, countCall, countCall, countCall, countCall,
};
}
#endif
