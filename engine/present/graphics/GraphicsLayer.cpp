#include "graphics/GraphicsLayer.h"

extern "C" {
std::uint32_t _anSp57ColorsMap[32] = {0,  1,  2,  3,   4,  5,  6,  7,  8,  9,  10,
                                      11, 12, 13, 14,  15, 16, 17, 18, 19, 20, 21,
                                      22, 54, 86, 118, 26, 27, 28, 29, 30, 31};
}

namespace {

gdi::Dc* currentDc = nullptr;
const int kCurrentDcKey = 0; // identifies the layer's destroy listener

} // namespace

gdi::Dc* gdCurrentDc() {
    return currentDc;
}

void gdSetCurrentDc(gdi::Dc* dc) {
    if (dc == currentDc) return;
    if (currentDc) currentDc->removeDestroyListener(&kCurrentDcKey);
    currentDc = dc;
    if (currentDc)
        currentDc->addDestroyListener(&kCurrentDcKey, [](gdi::Dc* gone) {
            if (currentDc == gone) currentDc = nullptr;
        });
}

gdi::Colour gdColour(int colourNumber) {
    if (colourNumber < 0 || colourNumber > 31) colourNumber = 0;
    return gdi::paletteIndex(std::uint16_t(_anSp57ColorsMap[colourNumber] & 0xFFFFu));
}
