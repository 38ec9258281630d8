// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/picture/PagePicture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "orbix/calc/Pages.h"
#include "orbix/platform/FileNames.h"
#include "orbix/platform/FileOutput.h"
#include "orbix/platform/PainterSurface.h"

namespace PagePicture {

namespace {

struct Page {
    int scene;
    const char* stem;
    const char* title;  // the scene's text in the tree
};

const Page kPages[] = {
    {2, "eigen-table", "固有値および固有ベクトル"},
    {4, "densities", "π電子密度"},
    {5, "bond-orders", "結合次数"},
    {6, "levels", "軌道エネルギー準位"},
    {8, "coulomb", "クローン積分"},
    {9, "resonance", "共鳴積分"},
    {11, "planar", "分子軌道の表示 平面"},
    {12, "3d", "分子軌道の表示 立体"},
};

const Page* Find(int scene) {
    for (const Page& p : kPages)
        if (p.scene == scene) return &p;
    return nullptr;
}

// The place the result window gives its grid, in page units.
const QRectF kGridArea(20, 70, 600, 280);
const QRectF kPage(0, 0, orbix::kPageWidth, orbix::kPageHeight);

QString Title(int scene, std::int16_t k) {
    const Page* page = Find(scene);
    QString title = page ? QString::fromUtf8(page->title) : QString();
    if (IsOrbitalScene(scene)) title += QStringLiteral(" %1").arg(k + 1);
    return title;
}

// A surface that draws nothing: the page routine run on it only fills the
// grid. It ends the 3-D page after its first ring.
class GridOnly : public modCalculation::PageSurface {
  public:
    void Line(float, float, float, float, modCalculation::Rgb) override {}
    void Circle(float, float, float, modCalculation::Rgb) override {}
    void PSet(float, float, modCalculation::Rgb) override {}
    void HideGrid() override { gridHidden_ = true; }
    bool DoEvents() override { return false; }
    float TextWidth(std::string_view text) const override {
        return static_cast<float>(
            QFontMetricsF(font_).horizontalAdvance(QString::fromUtf8(text.data(), text.size())));
    }
    float TextHeight() const override { return static_cast<float>(QFontMetricsF(font_).height()); }
    bool GridHidden() const { return gridHidden_; }

  protected:
    void Clear() override { gridHidden_ = false; }
    void DrawText(float, float, std::string_view, modCalculation::Rgb) override {}

  private:
    QFont font_ = orbix::PageFont(12);
    bool gridHidden_ = false;
};

void Draw(QPainter& p, int scene, std::int16_t k, const QSizeF& size) {
    using namespace modCalculation;
    const QRectF page(QPointF(), size);
    p.save();
    p.setClipRect(page);
    p.fillRect(page, kPageColour);  // Cls fills only the 640 × 400 of the window
    orbix::PainterSurface s(p, kPageColour);
    orbix::PainterGrid grid;
    s.Cls();
    ShowScenePage(s, grid, scene, k);
    if (grid.Shown() && !s.GridHidden()) grid.Draw(p, kGridArea.topLeft());
    p.restore();
}

bool Paint(QPaintDevice& device, int scene, std::int16_t k, const QSizeF& size, double scale) {
    QPainter p;
    if (!p.begin(&device)) return false;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    Draw(p, scene, k, size);
    return p.end();
}

}  // namespace

Format FormatOf(const QString& path) { return FormatNamed(QFileInfo(path).suffix()); }

Format FormatNamed(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("png")) return Format::kPng;
    if (n == QLatin1String("svg")) return Format::kSvg;
    if (n == QLatin1String("pdf")) return Format::kPdf;
    return Format::kUnknown;
}

QString Extension(Format format) {
    switch (format) {
        case Format::kPng:
            return QStringLiteral("png");
        case Format::kSvg:
            return QStringLiteral("svg");
        case Format::kPdf:
            return QStringLiteral("pdf");
        case Format::kUnknown:
            break;
    }
    return {};
}

const std::vector<int>& PageScenes() {
    static const std::vector<int> scenes = [] {
        std::vector<int> v;
        for (const Page& p : kPages) v.push_back(p.scene);
        return v;
    }();
    return scenes;
}

bool HasPage(int scene) { return Find(scene) != nullptr; }

bool IsOrbitalScene(int scene) { return scene == 11 || scene == 12; }

QString FileStem(int scene, int orbital) {
    const Page* page = Find(scene);
    if (!page) return {};
    QString stem = QStringLiteral("%1-%2").arg(scene, 2, 10, QLatin1Char('0')).arg(page->stem);
    if (IsOrbitalScene(scene)) stem += QStringLiteral("-%1").arg(orbital, 2, 10, QLatin1Char('0'));
    return stem;
}

QSizeF PageSize(int scene, std::int16_t k) {
    GridOnly s;
    orbix::PainterGrid grid;
    s.Cls();
    modCalculation::ShowScenePage(s, grid, scene, k);
    QSizeF size = kPage.size();
    if (grid.Shown() && !s.GridHidden()) {
        const QSizeF table = grid.TableSize();
        size += QSizeF(std::ceil(std::max(0.0, table.width() - kGridArea.width())),
                       std::ceil(std::max(0.0, table.height() - kGridArea.height())));
    }
    return size;
}

void DrawScene(QPainter& p, int scene, std::int16_t k) { Draw(p, scene, k, PageSize(scene, k)); }

bool Save(const QString& path, Format format, int scene, std::int16_t k, QString& error) {
    // The picture is made in memory, and the file replaced only once all of
    // it is on the device.
    const QSizeF page = PageSize(scene, k);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    switch (format) {
        case Format::kPng: {
            QImage image(static_cast<int>(2 * page.width()), static_cast<int>(2 * page.height()),
                         QImage::Format_RGB32);
            image.fill(kPageColour);
            // Twice a 96-dpi screen.
            const int dpm = static_cast<int>(std::lround(2 * 96 / 0.0254));
            image.setDotsPerMeterX(dpm);
            image.setDotsPerMeterY(dpm);
            drawn = Paint(image, scene, k, page, 2) && image.save(&buffer, "PNG");
            break;
        }
        case Format::kSvg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(page.toSize());
            svg.setViewBox(QRectF(QPointF(), page));
            svg.setResolution(96);
            svg.setTitle(Title(scene, k));
            drawn = Paint(svg, scene, k, page, 1);
            break;
        }
        case Format::kPdf: {
            QPdfWriter pdf(&buffer);
            pdf.setResolution(96);
            // A pixel of a 96-dpi screen is 3/4 of a point.
            pdf.setPageLayout(QPageLayout(
                QPageSize(page * 0.75, QPageSize::Point, QString(), QPageSize::ExactMatch),
                QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            pdf.setTitle(Title(scene, k));
            pdf.setCreator(QStringLiteral("Orbix"));
            drawn = Paint(pdf, scene, k, page, 1);
            break;
        }
        case Format::kUnknown:
            break;
    }
    if (!drawn) {
        error = QStringLiteral("画像を描けませんでした");
        return false;
    }
    if (const int failed = orbix::ReplaceFile(orbix::FileNameBytes(path), buffer.data())) {
        error = orbix::ErrorText(failed);
        return false;
    }
    return true;
}

}  // namespace PagePicture
