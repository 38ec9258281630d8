// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Tiles made by the real plugin, loaded from the build's program folder as
// the program loads it.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPainter>
#include <memory>

#include "tessera/TileLoader.h"

namespace tessera_test {

inline tessera::TileFactory* Factory() {
    static tessera::TileLibrary lib = tessera::LoadTileLibrary(QStringLiteral(ORBIX_PROGRAM_DIR));
    return lib.factory;
}

// A filled disc on a white square, as the program's tile pictures are.
inline QImage Disc(QColor color, int size = 48) {
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    return img;
}

class TileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Factory(), nullptr) << "plugin not loaded from " ORBIX_PROGRAM_DIR;
        canvas = std::make_unique<QWidget>();
        canvas->resize(300, 120);
        tile = Factory()->CreateTile(tessera::kTileKey, canvas.get());
        ASSERT_NE(tile, nullptr);
    }

    QLabel* Label() const {
        return tile->Widget()->findChild<QLabel*>(QStringLiteral("lblCaption"));
    }
    QColor CaptionColor() const { return Label()->palette().color(QPalette::WindowText); }

    std::unique_ptr<QWidget> canvas;
    tessera::picTile* tile = nullptr;  // owned by canvas
};

}  // namespace tessera_test
