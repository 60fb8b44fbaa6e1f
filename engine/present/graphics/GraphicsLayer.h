// Shared state of the graphics layer: the current device context that every
// symbol procedure and renderer draws on, and the chart colour map.
//
// The state is process-wide and unguarded by itself: drawing is serialised by
// the engine's draw lock.
#pragma once

#include "gdi/Colour.h"
#include "gdi/Dc.h"

#include <cstdint>

extern "C" {
// Entry n is the palette index of chart colour number n (0 to 31): the identity,
// except entries 23, 24 and 25, which hold 54, 86 and 118.
extern std::uint32_t _anSp57ColorsMap[32];
}

// The device context every drawing function of the layer draws on; null when
// none is set, and then drawing does nothing.
gdi::Dc* gdCurrentDc();

// Makes dc current (null clears it). Destroying the current context clears it,
// so the layer never keeps a dangling one.
void gdSetCurrentDc(gdi::Dc* dc);

// The colour value of chart colour number n: the palette index that the colour
// map gives. Numbers below 0 or above 31 give colour number 0's value.
gdi::Colour gdColour(int colourNumber);
