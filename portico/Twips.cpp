// SPDX-License-Identifier: BSD-3-Clause
#include "portico/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace Twips {

int ToPixels(int twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

QRect ToPixels(int left, int top, int width, int height) {
    return {ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height)};
}

}  // namespace Twips
