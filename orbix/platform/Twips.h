// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Twips: 1440 to the inch. Pixels per twip come from the screen's logical
// DPI (15 twips per pixel at 96 DPI).

namespace orbix {

double TwipsPerPixelX();
double TwipsPerPixelY();
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

}  // namespace orbix
