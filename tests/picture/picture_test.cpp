// SPDX-License-Identifier: BSD-3-Clause
// Pictures of the pages: what the SVG, PDF and PNG files hold, compared with
// what the same page routine records.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "orbix/calc/EigenTable.h"
#include "orbix/calc/Pages.h"
#include "orbix/calc/RecordingSurface.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/modOrbix.h"
#include "orbix/picture/PagePicture.h"
#include "tests/picture/SvgReader.h"
#include "tests/support/OtherUser.h"
#include "tests/support/TestMolecules.h"

namespace {

using namespace modCalculation;
using testing_support::ReadSvg;
using testing_support::SvgShape;

QColor Q(Rgb c) { return QColor(c.r, c.g, c.b); }

std::string Name(const QColor& c) { return c.isValid() ? c.name().toStdString() : "none"; }

class PagePictures : public ::testing::Test {
  protected:
    // Calculates a shipped template; `mol` names it in failure messages.
    void Calc(const std::string& name) {
        mol = name;
        if (modOrbix::colAtoms.Count() == 0) testing_support::UseShippedAtoms();
        modOrbix::CurrentMolecule = std::make_shared<Molecule>();
        const auto out = CalcSession::CalculateFile(testing_support::TemplatePath(name));
        ASSERT_EQ(out.code, 0) << name << ": " << out.message;
    }

    QString Save(int scene, std::int16_t k, PagePicture::Format format) {
        const QString path = dir.filePath(QStringLiteral("page.") + PagePicture::Extension(format));
        QString error;
        EXPECT_TRUE(PagePicture::Save(path, format, scene, k, error))
            << mol << " scene " << scene << ": " << error.toStdString();
        return path;
    }

    static std::vector<SvgShape> Of(const std::vector<SvgShape>& all, SvgShape::Kind kind) {
        std::vector<SvgShape> out;
        for (const auto& s : all)
            if (s.kind == kind) out.push_back(s);
        return out;
    }

    std::string mol;
    QTemporaryDir dir;
};

TEST_F(PagePictures, BenzeneLevelDiagramInSvgHasTheLevelsAndElectronsAtPageCoordinates) {
    Calc("benzene");
    const auto shapes = ReadSvg(Save(6, 0, PagePicture::Format::kSvg));
    ASSERT_FALSE(shapes.empty()) << "benzene: the SVG could not be read";

    std::set<double> levels;
    for (const auto& l : Of(shapes, SvgShape::kLine))
        if (l.stroke == Q(colour::kBlue) && l.a.y() == l.b.y()) levels.insert(l.a.y());
    EXPECT_EQ(levels, (std::set<double>{183, 216, 282, 315}))
        << "benzene: heights of the blue level lines";

    std::multiset<double> electrons;
    for (const auto& c : Of(shapes, SvgShape::kCircle)) electrons.insert(c.a.y());
    EXPECT_EQ(electrons, (std::multiset<double>{282, 282, 282, 282, 315, 315}))
        << "benzene: two electrons on the lowest level and four on the pair above it";

    // Every line and circle the routine draws is in the picture, in its colour.
    RecordingSurface rec;
    ShowEnergyDiagram(rec);
    using Seg = std::tuple<long, long, long, long, std::string>;
    auto key = [](double x1, double y1, double x2, double y2, const QColor& c) {
        return Seg{std::lround(x1 * 100), std::lround(y1 * 100), std::lround(x2 * 100),
                   std::lround(y2 * 100), Name(c)};
    };
    std::multiset<Seg> want, got;
    for (const auto& p : rec.Page(Primitive::kLine))
        want.insert(key(p.x, p.y, p.x2, p.y2, Q(p.colour)));
    for (const auto& l : Of(shapes, SvgShape::kLine))
        got.insert(key(l.a.x(), l.a.y(), l.b.x(), l.b.y(), l.stroke));
    EXPECT_EQ(got, want) << "benzene: lines of the level diagram";
    std::multiset<Seg> wantC, gotC;
    for (const auto& p : rec.Page(Primitive::kCircle))
        wantC.insert(key(p.x, p.y, p.radius, 0, Q(p.colour)));
    for (const auto& c : Of(shapes, SvgShape::kCircle))
        gotC.insert(key(c.a.x(), c.a.y(), c.radius, 0, c.stroke));
    EXPECT_EQ(gotC, wantC) << "benzene: electron circles";
}

TEST_F(PagePictures, ThreeDimensionalPageInSvgHoldsEveryLobePointInItsFinalColour) {
    for (const char* name : {"allyl", "benzene"}) {
        Calc(name);
        const int n = modOrbix::CurrentMolecule->Count();
        for (std::int16_t k : {std::int16_t{0}, static_cast<std::int16_t>(n / 2)}) {
            RecordingSurface rec;
            ShowOrbital3D(rec, k);
            std::map<std::pair<long, long>, std::string> want, got;
            for (const auto& p : rec.Page(Primitive::kPoint))
                want[{std::lround(std::floor(p.x)), std::lround(std::floor(p.y))}] =
                    Name(Q(p.colour));
            ASSERT_GT(want.size(), 50u) << name << " orbital " << k + 1;

            for (const auto& r :
                 Of(ReadSvg(Save(12, k, PagePicture::Format::kSvg)), SvgShape::kRect))
                if (r.b.x() - r.a.x() == 1 && r.b.y() - r.a.y() == 1)
                    got[{std::lround(r.a.x()), std::lround(r.a.y())}] = Name(r.fill);
            EXPECT_EQ(got, want) << name << " orbital " << k + 1 << ": " << got.size()
                                 << " points in the picture, " << want.size() << " set";
        }
    }
}

TEST_F(PagePictures, EigenTableInPdfHoldsEveryCellText) {
    for (const char* name : {"benzene", "allyl"}) {
        Calc(name);
        const QString pdf = Save(2, 0, PagePicture::Format::kPdf);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        if (!text.waitForStarted()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        ASSERT_TRUE(text.waitForFinished(30000));
        const QStringList tokens =
            QString::fromUtf8(text.readAllStandardOutput()).split(QRegularExpression("\\s+"));
        std::map<QString, int> have;
        for (const QString& t : tokens) ++have[t];
        std::map<QString, int> cells;
        for (const auto& row : EigenTableCells())
            for (const auto& cell : row) ++cells[QString::fromStdString(cell).trimmed()];
        for (const auto& [cell, count] : cells)
            EXPECT_GE(have[cell], count)
                << name << ": cell \"" << cell.toStdString() << "\" in the PDF's text";
        EXPECT_GE(have[QStringLiteral("全エネルギー")], 1) << name;
    }
}

TEST_F(PagePictures, PngHasTwiceThePagesPixelsAndShowsThePage) {
    Calc("benzene");
    const QImage png(Save(6, 0, PagePicture::Format::kPng));
    ASSERT_EQ(png.size(), QSize(1280, 800)) << "benzene level diagram";
    EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 192, 1);
    EXPECT_EQ(png.pixelColor(1200, 700), PagePicture::kPageColour) << "background";
    // The lowest level's line at y = 315, between its electrons.
    EXPECT_EQ(png.pixelColor(2 * 130, 2 * 315), QColor(Qt::blue)) << "benzene: level line";
}

TEST_F(PagePictures, LargeEigenTableKeepsTheGridsTextSizeAndGrowsThePage) {
    Calc("ethylene");
    EXPECT_EQ(PagePicture::PageSize(2, 0), QSizeF(640, 400)) << "a table that fits its place";

    // The whole lattice: 36 orbitals, a table of 38 rows and 37 columns.
    std::string atoms, bonds;
    for (int s = 1; s <= 36; ++s) atoms += (s > 1 ? "," : "") + std::to_string(s) + "-1";
    const auto bond = [&bonds](int a, int b) {
        bonds += (bonds.empty() ? "" : ",") + std::to_string(a) + "-" + std::to_string(b);
    };
    for (int s = 2; s <= 36; s += 2) {
        if ((s - 1) % 9 != 0) bond(s - 1, s);
        if (s < 36 && s % 9 != 0) bond(s, s + 1);
        if (s <= 26) bond(s, s + 9);
    }
    mol = "lattice";
    ASSERT_EQ(testing_support::Calculate(atoms, bonds).code, 0);
    const QSizeF page = PagePicture::PageSize(2, 0);
    EXPECT_GT(page.width(), 640);
    EXPECT_GT(page.height(), 400);
    EXPECT_EQ(QImage(Save(2, 0, PagePicture::Format::kPng)).size(), (2 * page).toSize());

    const auto shapes = ReadSvg(Save(2, 0, PagePicture::Format::kSvg));
    // A text of mixed scripts may be written in pieces: join each line's.
    std::map<long, std::map<double, QString>> lines;
    for (const auto& t : Of(shapes, SvgShape::kText)) {
        lines[std::lround(t.a.y())][t.a.x()] += t.text;
        if (t.a.y() < 60) continue;  // the title lines above the table
        EXPECT_NEAR(t.fontSize, 13, 1e-9)
            << "lattice: cell \"" << t.text.toStdString() << "\" not in the grid's own text size";
        EXPECT_TRUE(QRectF(QPointF(), page).contains(t.a))
            << "lattice: cell \"" << t.text.toStdString() << "\" at " << t.a.x() << ", " << t.a.y()
            << " outside the page";
    }
    std::vector<QString> rows;
    for (const auto& [y, pieces] : lines) {
        QString line;
        for (const auto& [x, piece] : pieces) line += piece;
        rows.push_back(line);
    }
    const auto cells = EigenTableCells();
    ASSERT_EQ(cells.size(), 38u);
    for (const auto& row : cells) {
        // Every cell of a table row on one line of the picture, in order.
        QString want;
        for (const auto& cell : row) want += QString::fromStdString(cell).trimmed();
        EXPECT_NE(std::find(rows.begin(), rows.end(), want), rows.end())
            << "lattice: row \"" << want.toStdString() << "\" not in the picture";
    }
}

TEST_F(PagePictures, UnwritablePlaceFailsWithAReasonAndLeavesTheOldFile) {
    ORBIX_RUN_AS_OTHER_USER();
    Calc("ethylene");
    QString error;
    EXPECT_FALSE(PagePicture::Save(dir.filePath("no/such/folder/p.svg"), PagePicture::Format::kSvg,
                                   6, 0, error));
    EXPECT_FALSE(error.isEmpty());

    // A file that cannot be replaced keeps its content.
    const QString kept = dir.filePath("kept.png");
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool wrote = PagePicture::Save(kept, PagePicture::Format::kPng, 6, 0, error);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(wrote) << "the folder stays writable";
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

}  // namespace
