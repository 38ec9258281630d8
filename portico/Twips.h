// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Window measures are given in twips, 1440 to the inch; pixels follow the
// screen's logical DPI (15 twips to the pixel at 96 DPI).
namespace Twips {

int ToPixels(int twips);
QRect ToPixels(int left, int top, int width, int height);

}  // namespace Twips
