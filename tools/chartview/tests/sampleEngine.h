// The test binary's one chart engine on the sample chart (data/sample/kv71
// with data/dict): a process has one chart database, so every test shares
// it. Made on first use, released by the binary's main before its Qt
// application goes.
#pragma once

#include "ChartRenderer.h"

namespace chartviewtest {

chartview::ChartEngine& sampleEngine();
void releaseSampleEngine();

} // namespace chartviewtest
