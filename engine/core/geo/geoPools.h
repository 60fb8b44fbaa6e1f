// The node supply of covers and polygons, from their pools.
#pragma once

// A node for a cover from the node pool (null when none is left), and its
// return.
void* geoRectNodeAlloc();
void geoRectNodeFree(void* node);
// The return of a polygon's point node to its pool.
void geoPointNodeFree(void* node);
