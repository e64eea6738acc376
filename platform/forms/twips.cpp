#include "forms/twips.h"
#include <cmath>

namespace forms {

int px(double twips) { return int(std::lround(twips / TwipsPerPixel)); }
double twips(int pixels) { return double(pixels) * TwipsPerPixel; }

QRect TwipsRect::toPixels() const
{
    // Convert the edges, not the size, so neighbouring controls that share an edge in
    // twips also share it in pixels.
    const int x = px(left), y = px(top);
    return QRect(x, y, px(left + width) - x, px(top + height) - y);
}

} // namespace forms
