// Anchor points of a structure (a buoy, beacon or other mark) for the members
// an aggregate draws with it: its topmark, its lights and other marks attach
// at offsets from the structure's point. Int1ProcAggregate sets them in
// StructureAnchors (procedures/CondSymbProcs.h) before it draws the members.
#pragma once

class GdbObject;

// Sets the four StructureAnchors by the structure's object code and, for
// buoys and beacons, its shape (pixels, y up): the first to the top of the
// structure (where a topmark goes), the second to (0, 0), the third to
// (w, 0) and the fourth to (-w, 0):
//   structure                               first (x, y)   w
//   code 200 or 203                         (0, 8)         5
//   code 201                                (0, 5)         4
//   code 158                                (0, 18)        4
//   codes 88, 89                            (0, 16)        11
//   codes 5 to 9, beacon shape (103) 1      (0, 12)        3
//     shape 2 / 3 / 4                       (0, 13) 3 / (0, 19) 5 / (0, 13) 8
//     shape 0 or other                      (0, 8)         5
//   codes 15 to 20, buoy shape (105) 1      (2, 13)        0
//     shape 2 / 3 / 4                       (3, 13) 9 / (0, 13) 9 / (2, 16) 8
//     shape 5 / 6 / 7 / 8                   (2, 17) 6 / (0, 13) 9 / (0, 12) 11 / (2, 15) 8
// A buoy without a shape attribute counts as shape 4 (codes 15, 17, 18, 19)
// or 3 (code 20); code 16 keeps 0. Buoy shape 0 or above 8, other codes and a
// null structure set all four to (0, 0). Answers the structure's object code
// (0 for null).
int ComputeStructureAnchors(GdbObject* structure);
