// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The canvas picDesign: white, with the dotted lattice (drawn once and kept),
// the bond lines, and the rubber band as a transient overlay. Tiles and the
// invisible site markers are child widgets over it.

#include <QLine>
#include <QMap>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <functional>

class DesignCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit DesignCanvas(QWidget* parent = nullptr);

    // The lattice lines, drawn dotted beneath everything else.
    void SetLattice(QVector<QLine> lines);
    // lineBond(index): yellow, 7 pixels wide, with its tag.
    void AddLine(int index, QLineF line, const QString& tag);
    void RemoveLine(int index);
    void ClearLines();
    int HighestLineIndex() const { return lines_.isEmpty() ? 0 : lines_.lastKey(); }
    const QMap<int, QPair<QLineF, QString>>& Lines() const { return lines_; }

    // The rubber band between two corners; an empty band shows nothing.
    void SetBand(QRectF band);
    void ClearBand();

    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, QPointF)> onPress, onMove, onRelease;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    QVector<QLine> lattice_;
    QMap<int, QPair<QLineF, QString>> lines_;
    QRectF band_;
    bool bandShown_ = false;
};
