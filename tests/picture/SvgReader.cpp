// SPDX-License-Identifier: BSD-3-Clause
#include "tests/picture/SvgReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTransform>
#include <QXmlStreamReader>

namespace testing_support {

namespace {

struct State {
    QTransform transform;
    QColor stroke, fill;
};

QTransform Matrix(const QString& text) {
    static const QRegularExpression re(QStringLiteral("matrix\\(([^)]*)\\)"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return {};
    const QStringList v = m.captured(1).split(QLatin1Char(','));
    if (v.size() != 6) return {};
    return QTransform(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble(),
                      v[4].toDouble(), v[5].toDouble());
}

QColor Paint(const QXmlStreamAttributes& a, const char* name, const QColor& inherited) {
    const QString v = a.value(QLatin1String(name)).toString();
    if (v.isEmpty()) return inherited;
    if (v == QLatin1String("none")) return {};
    return QColor(v);
}

double Num(const QXmlStreamAttributes& a, const char* name) {
    return a.value(QLatin1String(name)).toDouble();
}

}  // namespace

std::vector<SvgShape> ReadSvg(const QString& path) {
    std::vector<SvgShape> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return out;
    QXmlStreamReader xml(&file);
    std::vector<State> stack{State{}};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            stack.pop_back();
            continue;
        }
        if (!xml.isStartElement()) continue;
        const auto a = xml.attributes();
        State s = stack.back();
        if (a.hasAttribute(QLatin1String("transform")))
            s.transform = Matrix(a.value(QLatin1String("transform")).toString()) * s.transform;
        s.stroke = Paint(a, "stroke", s.stroke);
        s.fill = Paint(a, "fill", s.fill);
        stack.push_back(s);
        const QString name = xml.name().toString();
        SvgShape shape{};
        shape.stroke = s.stroke;
        shape.fill = s.fill;
        if (name == QLatin1String("polyline")) {
            const QStringList pts = a.value(QLatin1String("points"))
                                        .toString()
                                        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (int i = 0; i + 1 < pts.size(); ++i) {
                const QStringList p = pts[i].split(QLatin1Char(','));
                const QStringList q = pts[i + 1].split(QLatin1Char(','));
                shape.kind = SvgShape::kLine;
                shape.a = s.transform.map(QPointF(p[0].toDouble(), p[1].toDouble()));
                shape.b = s.transform.map(QPointF(q[0].toDouble(), q[1].toDouble()));
                out.push_back(shape);
            }
        } else if (name == QLatin1String("circle")) {
            shape.kind = SvgShape::kCircle;
            shape.a = s.transform.map(QPointF(Num(a, "cx"), Num(a, "cy")));
            shape.radius = Num(a, "r") * s.transform.m11();
            out.push_back(shape);
        } else if (name == QLatin1String("rect")) {
            shape.kind = SvgShape::kRect;
            shape.a = s.transform.map(QPointF(Num(a, "x"), Num(a, "y")));
            shape.b = s.transform.map(
                QPointF(Num(a, "x") + Num(a, "width"), Num(a, "y") + Num(a, "height")));
            out.push_back(shape);
        } else if (name == QLatin1String("text")) {
            shape.kind = SvgShape::kText;
            shape.a = s.transform.map(QPointF(Num(a, "x"), Num(a, "y")));
            shape.fontSize = Num(a, "font-size") * s.transform.m22();
            shape.text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            stack.pop_back();  // readElementText consumed the end element
            out.push_back(shape);
        }
    }
    return out;
}

}  // namespace testing_support
