// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/ImageSurface.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>

namespace orbix {

namespace {

QColor ToQColor(modCalculation::Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

ImageSurface::ImageSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    EnsureImage();
}

void ImageSurface::EnsureImage() {
    const QSize want = size().expandedTo(QSize(1, 1));
    if (image_.size() == want) return;
    if (image_.width() >= want.width() && image_.height() >= want.height()) return;
    QImage grown(want.expandedTo(image_.size()), QImage::Format_RGB32);
    grown.fill(back_);
    if (!image_.isNull()) {
        QPainter p(&grown);
        p.drawImage(0, 0, image_);
    }
    // Text in points must come out at the screen's size.
    grown.setDotsPerMeterX(static_cast<int>(std::lround(logicalDpiX() / 0.0254)));
    grown.setDotsPerMeterY(static_cast<int>(std::lround(logicalDpiY() / 0.0254)));
    image_ = std::move(grown);
}

void ImageSurface::resizeEvent(QResizeEvent*) { EnsureImage(); }

void ImageSurface::Scale(double left, double top, double right, double bottom) {
    EnsureImage();
    sx_ = width() / (right - left);
    sy_ = height() / (bottom - top);
    ox_ = -left * sx_;
    oy_ = -top * sy_;
}

QPointF ImageSurface::PageToPixel(QPointF page) const {
    return Map(static_cast<float>(page.x()), static_cast<float>(page.y()));
}

QRect ImageSurface::PageToPixel(const QRectF& page) const {
    const QPointF a = PageToPixel(page.topLeft());
    const QPointF b = PageToPixel(page.bottomRight());
    return QRectF(a, b).toAlignedRect();
}

void ImageSurface::BackColor(const QColor& c) {
    back_ = c;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, c);
    setPalette(pal);
}

void ImageSurface::Dirty(const QRect& r) {
    dirty_ = dirty_.united(r);
    if (!flushPending_) {
        // Repaint once the current handler returns, if no DoEvents comes first.
        flushPending_ = true;
        QTimer::singleShot(0, this, [this] { Flush(); });
    }
}

void ImageSurface::Flush() {
    flushPending_ = false;
    if (dirty_.isEmpty()) return;
    update(dirty_);
    dirty_ = QRect();
}

void ImageSurface::Clear() {
    EnsureImage();
    image_.fill(back_);
    dirty_ = QRect();
    update();
}

void ImageSurface::DrawText(float x, float y, std::string_view text, modCalculation::Rgb c) {
    EnsureImage();
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QPainter p(&image_);
    p.setFont(font());
    p.setPen(ToQColor(c));
    const QFontMetricsF fm(font(), &image_);
    const QPointF at = Map(x, y);
    p.drawText(QPointF(at.x(), at.y() + fm.ascent()), s);
    Dirty(QRectF(at, QSizeF(fm.horizontalAdvance(s), fm.height()))
              .toAlignedRect()
              .adjusted(-2, -2, 2, 2));
}

void ImageSurface::Line(float x1, float y1, float x2, float y2, modCalculation::Rgb c) {
    EnsureImage();
    QPainter p(&image_);
    p.setPen(QPen(ToQColor(c), 0));
    const QPointF a = Map(x1, y1), b = Map(x2, y2);
    p.drawLine(a, b);
    Dirty(QRectF(a, b).normalized().toAlignedRect().adjusted(-2, -2, 2, 2));
}

void ImageSurface::Circle(float x, float y, float radius, modCalculation::Rgb c) {
    EnsureImage();
    QPainter p(&image_);
    p.setPen(QPen(ToQColor(c), 0));
    if (FillSolid())
        p.setBrush(ToQColor(FillColor()));
    else
        p.setBrush(Qt::NoBrush);
    const QPointF centre = Map(x, y);
    const double r = radius * sx_;  // circles stay round, measured in x units
    p.drawEllipse(centre, r, r);
    Dirty(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r)
              .toAlignedRect()
              .adjusted(-2, -2, 2, 2));
}

void ImageSurface::PSet(float x, float y, modCalculation::Rgb c) {
    const QPointF at = Map(x, y);
    const int px = static_cast<int>(std::floor(at.x())), py = static_cast<int>(std::floor(at.y()));
    if (px < 0 || py < 0 || px >= image_.width() || py >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(py))[px] = qRgb(c.r, c.g, c.b);
    Dirty(QRect(px, py, 1, 1));
}

void ImageSurface::HideGrid() {
    if (onHideGrid) onHideGrid();
}

bool ImageSurface::DoEvents() {
    const auto page = Generation();
    Flush();
    QCoreApplication::processEvents();
    return !abandoned_ && Generation() == page;
}

float ImageSurface::TextWidth(std::string_view text) const {
    const QFontMetricsF fm(font(), &image_);
    return static_cast<float>(
        fm.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) /
        sx_);
}

float ImageSurface::TextHeight() const {
    const QFontMetricsF fm(font(), &image_);
    return static_cast<float>(fm.height() / sy_);
}

void ImageSurface::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect r = e->rect();
    p.drawImage(r, image_, r);
    // Reached with the keyboard, the surface shows that it has the focus;
    // the frame is not part of the drawing.
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

}  // namespace orbix
