#pragma once
// Layouts in this suite are given in twips. At 100 % scale one logical pixel is 15 twips;
// Qt's device-pixel ratio takes care of larger screen scales, so converting to logical
// pixels keeps every layout exact.
#include <QRect>

namespace forms {

constexpr int TwipsPerPixel = 15;

int px(double twips);                 // twips to logical pixels, rounded
double twips(int pixels);             // logical pixels to twips

// A rectangle given as left, top, width, height in twips.
struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    QRect toPixels() const;
};

} // namespace forms
