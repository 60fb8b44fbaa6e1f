// The look-ahead edge test of the chart window's timer: while the view centre
// is kept ahead of own ship, whether own ship has come so close to the centre
// along its course that the chart must be re-centred.
#pragma once

// The distance T (pixels, at least 1) within which own ship may come to the
// view centre: from the client size, the look-ahead factor, the margin
// setting, whether the 3D view runs, and the course (degrees).
int LookAheadThreshold(int clientWidth, int clientHeight, int lookAheadFactor, int margin,
                       bool viewRunning, double course);

// Whether own ship at (x, y) from the view centre (chart units, x right, y up)
// has reached the edge T.
bool LookAheadEdgeReached(int x, int y, int threshold);
