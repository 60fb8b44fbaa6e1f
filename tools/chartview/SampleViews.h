// The fixed views of the sample chart (data/sample/kv71) that the view test
// draws for review and the benchmark times.
#pragma once

#include "ChartRenderer.h"

namespace chartview {

// Bergen harbour at chart level 5 (1:15,000; query 1:20,000, level F),
// centred at 5.30 E, 60.398 N: Vågen and Puddefjorden with their buoys.
ViewSetup harbourView(int width = 1920, int height = 1080);
// The harbour close up at chart level 6 (1:7,500, level G), the same centre.
ViewSetup harbourCloseUpView(int width = 1920, int height = 1080);
// The approaches at chart level 4 (1:30,000; query 1:50,000, level E) over
// Byfjorden (5.27 E, 60.42 N).
ViewSetup approachesView(int width = 1920, int height = 1080);
// The coast at chart level 2 (1:300,000; query 1:200,000, level C), centred
// at 5.0 E, 60.4 N.
ViewSetup coastView(int width = 1920, int height = 1080);
// The densest of the 1920 x 1080 views at 1:50,000 centred on the corners of
// the level E cells (the view of bench/kv71SampleView.cpp), drawn as chart
// level 4 at display scale 1:50,000 (query 1:50,000, level E).
ViewSetup densestLevelEView(ChartEngine& engine);

} // namespace chartview
