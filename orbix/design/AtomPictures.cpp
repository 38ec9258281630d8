// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/design/AtomPictures.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace AtomPictures {
namespace {

const QColor kDisc[] = {
    QColor(0, 255, 255), QColor(0, 255, 0), QColor(0, 128, 128), QColor(0, 128, 0),
    QColor(128, 128, 0), QColor(128, 0, 0), QColor(255, 0, 0),   QColor(128, 0, 128),
    QColor(255, 0, 255), QColor(0, 0, 128),
};

QImage Disc(QSize size, const QColor& background, const QColor& disc, const QRectF& where) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(where);
    return img;
}

}  // namespace

std::int16_t PaletteImage(std::int16_t n) {
    const int r = n % 9;
    return static_cast<std::int16_t>(r == 0 ? 9 : r);
}

QImage PalettePicture(int number) {
    return Disc(QSize(36, 22), QColor(192, 192, 192), kDisc[(number - 1) % 10],
                QRectF(8, 1, 20, 20));
}

double Contrast(const QColor& a, const QColor& b) {
    // WCAG contrast ratio of the two colours' relative luminances.
    auto luminance = [](const QColor& c) {
        auto linear = [](int v) {
            const double x = v / 255.0;
            return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor DiscColour(int number) { return kDisc[(number - 1) % 10]; }

QColor CaptionColour(int number) {
    const QColor disc = DiscColour(number);
    return Contrast(Qt::black, disc) >= Contrast(Qt::white, disc) ? QColor(Qt::black)
                                                                  : QColor(Qt::white);
}

QImage TilePicture(int number) {
    return Disc(QSize(48, 48), Qt::white, kDisc[(number - 1) % 10], QRectF(1, 1, 46, 46));
}

}  // namespace AtomPictures
