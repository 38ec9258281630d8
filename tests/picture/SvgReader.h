// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The shapes of an SVG picture in page units, after every group's transform,
// with the colours of the groups around them.

#include <QColor>
#include <QPointF>
#include <QString>
#include <vector>

namespace testing_support {

struct SvgShape {
    enum Kind { kLine, kCircle, kRect, kText };
    Kind kind;
    QPointF a, b;  // line ends; circle centre; rect corners; text anchor
    double radius = 0;
    QColor stroke, fill;
    QString text;
    double fontSize = 0;  // of a text, in page units
};

// Every shape of the file, in document order; an unreadable file gives none.
std::vector<SvgShape> ReadSvg(const QString& path);

}  // namespace testing_support
