#include "gdi/lineDda.h"

namespace gdi {

void lineDda(int x1, int y1, int x2, int y2, const std::function<void(int, int)>& pixel) {
    forEachLinePixel(x1, y1, x2, y2, pixel);
}

} // namespace gdi
