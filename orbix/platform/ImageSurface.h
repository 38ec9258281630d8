// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A widget that shows a persistent drawing: every page primitive is painted
// into an image once, and the widget repaints from the image. Page units map
// to pixels through the user scale set with Scale().

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

#include "orbix/calc/PageSurface.h"

namespace orbix {

class ImageSurface : public QWidget, public modCalculation::PageSurface {
    Q_OBJECT
  public:
    explicit ImageSurface(QWidget* parent = nullptr);

    // Maps the widget's current area to page units: (left, top) at the
    // top-left pixel, (right, bottom) at the bottom-right edge.
    void Scale(double left, double top, double right, double bottom);
    QPointF PageToPixel(QPointF page) const;
    QRect PageToPixel(const QRectF& page) const;

    // Background of the drawing, also what Cls paints.
    void BackColor(const QColor& c);
    QColor BackColor() const { return back_; }

    const QImage& Image() const { return image_; }

    std::function<void()> onHideGrid;
    // After Abandon, DoEvents reports every page as abandoned.
    void Abandon() { abandoned_ = true; }

    void Line(float x1, float y1, float x2, float y2, modCalculation::Rgb c) override;
    void Circle(float x, float y, float radius, modCalculation::Rgb c) override;
    void PSet(float x, float y, modCalculation::Rgb c) override;
    void HideGrid() override;
    bool DoEvents() override;
    float TextWidth(std::string_view text) const override;
    float TextHeight() const override;

    // Schedules the repaint of everything drawn since the last one.
    void Flush();

  protected:
    void Clear() override;
    void DrawText(float x, float y, std::string_view text, modCalculation::Rgb c) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    QPointF Map(float x, float y) const { return {x * sx_ + ox_, y * sy_ + oy_}; }
    void Dirty(const QRect& r);
    void EnsureImage();

    QImage image_;
    QColor back_{Qt::white};
    double sx_ = 1, sy_ = 1, ox_ = 0, oy_ = 0;
    QRect dirty_;
    bool flushPending_ = false;
    bool abandoned_ = false;
};

}  // namespace orbix
