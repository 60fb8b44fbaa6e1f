// The look-ahead edge test of the chart window's timer: while the view centre
// is kept ahead of own ship, whether own ship has come so close to the centre
// along its course that the chart must be re-centred.
#pragma once

// The distance T (pixels, at least 1) within which own ship may come to the
// view centre: from the client size, the look-ahead factor, the margin
// setting, whether the 3D view runs, and the course (degrees). With s the
// smaller of width and height, T = s x factor x margin x 0.00004, truncated;
// while the view runs and the course lies above 190 and below 300 degrees,
// T = s x margin x 0.0004 (the factor 10 of that case).
//
//   LookAheadThreshold(800, 600, 80, 90, false, 0) == 172
int LookAheadThreshold(int clientWidth, int clientHeight, int lookAheadFactor, int margin,
                       bool viewRunning, double course);

// Whether own ship at (x, y) from the view centre (chart units, x right, y up)
// has reached the edge T: it lies less than T behind the centre along the
// course over ground of the navigation record. Within 10 degrees of north,
// east, south and west only the axis of that direction counts (north: y > -T);
// the bounds themselves (exactly 10 degrees) go to the general rule. A course
// that is not a number answers false.
bool LookAheadEdgeReached(int x, int y, int threshold);
