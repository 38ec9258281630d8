// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace orbix {

namespace {

double Dpi(bool x) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96;
    const double dpi = x ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96;
}

}  // namespace

double TwipsPerPixelX() { return 1440.0 / Dpi(true); }
double TwipsPerPixelY() { return 1440.0 / Dpi(false); }
int TwipsToPixelsX(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int TwipsToPixelsY(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }

}  // namespace orbix
