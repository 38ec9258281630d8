// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The pictures of the palette (36 x 22) and of the tiles (48 x 48): a filled
// disc on a plain background. Pictures 1-9 are the element pictures; tile
// picture 10 (navy) is the selected look of every tile.

#include <QColor>
#include <QImage>
#include <cstdint>

namespace AtomPictures {

// Picture number 1-9 of element n: n mod 9, or 9 when that is 0.
std::int16_t PaletteImage(std::int16_t n);

QImage PalettePicture(int number);  // 1-9
QImage TilePicture(int number);     // 1-10
QColor DiscColour(int number);      // 1-10

// The caption colour over disc `number`: black or white, whichever contrasts
// more with the disc.
QColor CaptionColour(int number);
double Contrast(const QColor& a, const QColor& b);

}  // namespace AtomPictures
