// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/design/DesignCanvas.h"

#include <QMouseEvent>
#include <QPainter>

DesignCanvas::DesignCanvas(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMouseTracking(false);
}

void DesignCanvas::SetLattice(QVector<QLine> lines) {
    lattice_ = std::move(lines);
    update();
}

void DesignCanvas::AddLine(int index, QLineF line, const QString& tag) {
    lines_.insert(index, {line, tag});
    update();
}

void DesignCanvas::RemoveLine(int index) {
    lines_.remove(index);
    update();
}

void DesignCanvas::ClearLines() {
    lines_.clear();
    update();
}

void DesignCanvas::SetBand(QRectF band) {
    band_ = band.normalized();
    bandShown_ = true;
    update();
}

void DesignCanvas::ClearBand() {
    bandShown_ = false;
    update();
}

void DesignCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawLines(lattice_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 0), 7, Qt::SolidLine, Qt::RoundCap));
    for (const auto& l : lines_) p.drawLine(l.first);
    if (bandShown_) {
        // Inverting the pixels keeps the band visible on white and on tiles.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(band_);
    }
}

void DesignCanvas::mousePressEvent(QMouseEvent* e) {
    if (onPress) onPress(e->button(), e->modifiers(), e->position());
}

void DesignCanvas::mouseMoveEvent(QMouseEvent* e) {
    if (onMove) onMove(e->button(), e->modifiers(), e->position());
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (onRelease) onRelease(e->button(), e->modifiers(), e->position());
}
