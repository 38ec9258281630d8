// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/calc/SvgSurface.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>

#include "orbix/calc/FontMetrics.h"
#include "orbix/calc/Pages.h"

namespace modCalculation {

namespace {

constexpr int kGridPixelSize = 13;  // 9.75 points
constexpr float kCellPadding = 3;
constexpr float kTwipsPerUnit = 15;
constexpr Rgb kHeaderBack{240, 240, 240};
constexpr Rgb kBodyBack{255, 255, 255};
constexpr Rgb kRule{128, 128, 128};

std::string Hex(Rgb c) { return fmt::format("#{:02x}{:02x}{:02x}", c.r, c.g, c.b); }

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char ch : text) {
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // XML has no place for the other control characters.
                if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t') out += ch;
        }
    }
}

// A text element with its top-left corner at (x, y), its width fixed to the
// measured one.
void AppendText(std::string& out, float x, float y, std::string_view text, Rgb c, int pixelSize,
                std::string_view anchor = {}) {
    const float width = font::TextWidth(text, pixelSize);
    fmt::format_to(std::back_inserter(out), "<text x=\"{}\" y=\"{}\" fill=\"{}\"", x,
                   y + font::Ascent(pixelSize), Hex(c));
    if (pixelSize != SvgSurface::kPixelSize)
        fmt::format_to(std::back_inserter(out), " font-size=\"{}\"", pixelSize);
    if (!anchor.empty()) fmt::format_to(std::back_inserter(out), " text-anchor=\"{}\"", anchor);
    if (width > 0)
        fmt::format_to(std::back_inserter(out), " textLength=\"{}\" lengthAdjust=\"spacing\"",
                       width);
    out += '>';
    AppendEscaped(out, text);
    out += "</text>\n";
}

std::string_view Trimmed(std::string_view s) {
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

void SvgSurface::Clear() {
    points_.clear();
    pointRun_ = false;
    body_ = fmt::format("<rect width=\"640\" height=\"400\" fill=\"{}\"/>\n", Hex(kPageColour));
    gridHidden_ = false;
}

void SvgSurface::EndPoints() {
    if (pointRun_) body_ += "\"/>\n";
    pointRun_ = false;
    points_.clear();
}

void SvgSurface::DrawText(float x, float y, std::string_view text, Rgb c) {
    EndPoints();
    AppendText(body_, x, y, text, c, kPixelSize);
}

void SvgSurface::Line(float x1, float y1, float x2, float y2, Rgb c) {
    EndPoints();
    fmt::format_to(std::back_inserter(body_),
                   "<line x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\" stroke=\"{}\"/>\n", x1, y1, x2,
                   y2, Hex(c));
}

void SvgSurface::Circle(float x, float y, float radius, Rgb c) {
    EndPoints();
    fmt::format_to(std::back_inserter(body_), "<circle cx=\"{}\" cy=\"{}\" r=\"{}\" stroke=\"{}\"",
                   x, y, std::fabs(radius), Hex(c));
    if (FillSolid()) fmt::format_to(std::back_inserter(body_), " fill=\"{}\"", Hex(FillColor()));
    body_ += "/>\n";
}

void SvgSurface::PSet(float x, float y, Rgb c) {
    // One screen pixel: the unit square below and right of the point. A
    // point already showing this colour is left out, and runs of one colour
    // share one path, which keeps the document small.
    const auto px = static_cast<std::int32_t>(std::floor(x));
    const auto py = static_cast<std::int32_t>(std::floor(y));
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(px)) << 32) |
                              static_cast<std::uint32_t>(py);
    const auto [it, added] = points_.try_emplace(key, c);
    if (!added) {
        if (it->second == c) return;
        it->second = c;
    }
    if (!pointRun_ || pointColour_ != c) {
        if (pointRun_) body_ += "\"/>\n";
        fmt::format_to(std::back_inserter(body_), "<path fill=\"{}\" d=\"", Hex(c));
        pointRun_ = true;
        pointColour_ = c;
    }
    fmt::format_to(std::back_inserter(body_), "M{} {}h1v1h-1z", px, py);
}

float SvgSurface::TextWidth(std::string_view text) const {
    return font::TextWidth(text, kPixelSize);
}

float SvgSurface::TextHeight() const { return font::Height(kPixelSize); }

void SvgGrid::Resize(int rows, int cols) {
    cells_.assign(rows, std::vector<std::string>(cols));
    centred_.assign(rows, std::vector<bool>(cols, false));
    colTwips_.assign(cols, 0);
    rowTwips_.assign(rows, 0);
}

std::string SvgGrid::Elements() const {
    if (Rows() == 0 || Cols() == 0) return {};
    // The grid's own defaults: columns of 100 pixels, widened to their widest
    // text; rows of one line and a little room.
    std::vector<float> widths, heights;
    for (int c = 0; c < Cols(); ++c) {
        float w = colTwips_[c] ? colTwips_[c] / kTwipsPerUnit : 100;
        for (const auto& row : cells_)
            w = std::max(w, font::TextWidth(Trimmed(row[c]), kGridPixelSize) + 2 * kCellPadding);
        widths.push_back(w);
    }
    for (int r = 0; r < Rows(); ++r)
        heights.push_back(rowTwips_[r] ? rowTwips_[r] / kTwipsPerUnit
                                       : font::Height(kGridPixelSize) + 4);
    const float width = std::accumulate(widths.begin(), widths.end(), 0.0f);
    const float height = std::accumulate(heights.begin(), heights.end(), 0.0f);
    const float scale = std::min({1.0f, 600 / width, 280 / height});
    std::string out = fmt::format("<g transform=\"translate(20 70) scale({})\">\n", scale);
    float y = 0;
    for (int r = 0; r < Rows(); ++r) {
        float x = 0;
        for (int c = 0; c < Cols(); ++c) {
            const bool header = r == 0 || c == 0;
            fmt::format_to(std::back_inserter(out),
                           "<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"{}\"/>\n", x,
                           y, widths[c], heights[r], Hex(header ? kHeaderBack : kBodyBack));
            const std::string_view text = Trimmed(cells_[r][c]);
            const float top = y + (heights[r] - font::Height(kGridPixelSize)) / 2;
            const Rgb colour = header ? colour::kBlack : body_;
            if (header || centred_[r][c])
                AppendText(out, x + widths[c] / 2, top, text, colour, kGridPixelSize, "middle");
            else
                AppendText(out, x + widths[c] - kCellPadding, top, text, colour, kGridPixelSize,
                           "end");
            x += widths[c];
        }
        y += heights[r];
    }
    std::string d;
    float x = 0;
    for (int c = 0; c <= Cols(); ++c) {
        fmt::format_to(std::back_inserter(d), "M{} 0V{}", x, height);
        if (c < Cols()) x += widths[c];
    }
    y = 0;
    for (int r = 0; r <= Rows(); ++r) {
        fmt::format_to(std::back_inserter(d), "M0 {}H{}", y, width);
        if (r < Rows()) y += heights[r];
    }
    fmt::format_to(std::back_inserter(out),
                   "<path fill=\"none\" stroke=\"{}\" stroke-width=\"0.5\" d=\"{}\"/>\n</g>\n",
                   Hex(kRule), d);
    return out;
}

namespace SvgPages {

const std::vector<Page>& Pages() {
    static const std::vector<Page> pages{
        {2, "eigen-table", "固有値および固有ベクトル"},
        {4, "densities", "π電子密度"},
        {5, "bond-orders", "結合次数"},
        {6, "levels", "軌道エネルギー準位"},
        {8, "coulomb", "クローン積分"},
        {9, "resonance", "共鳴積分"},
        {11, "planar", "分子軌道の表示 平面"},
        {12, "3d", "分子軌道の表示 立体"},
    };
    return pages;
}

const Page* Find(int scene) {
    for (const Page& p : Pages())
        if (p.scene == scene) return &p;
    return nullptr;
}

bool IsOrbitalScene(int scene) { return scene == 11 || scene == 12; }

std::string FileStem(int scene, int orbital) {
    const Page* page = Find(scene);
    if (!page) return {};
    std::string stem = fmt::format("{:02}-{}", scene, page->stem);
    if (IsOrbitalScene(scene)) stem += fmt::format("-{:02}", orbital);
    return stem;
}

std::string Document(int scene, std::int16_t k, bool withTable) {
    SvgSurface s;
    SvgGrid grid;
    s.Cls();
    ShowScenePage(s, grid, scene, k);
    const Page* page = Find(scene);
    std::string title = page ? page->title : "";
    if (IsOrbitalScene(scene)) title += fmt::format(" {}", k + 1);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"400\" "
        "viewBox=\"0 0 640 400\" font-family=\"IPAPGothic, 'IPA Pゴシック', sans-serif\" "
        "font-size=\"16\" stroke-width=\"1\" fill=\"none\" xml:space=\"preserve\">\n<title>";
    AppendEscaped(out, title);
    out +=
        "</title>\n<clipPath id=\"page\"><rect width=\"640\" height=\"400\"/></clipPath>\n"
        "<g clip-path=\"url(#page)\">\n";
    s.EndPoints();
    out += s.Body();
    if (withTable && grid.Shown() && !s.GridHidden()) out += grid.Elements();
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace SvgPages

}  // namespace modCalculation
