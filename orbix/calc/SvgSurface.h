// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A PageSurface that writes SVG text, and the pages of a calculation as SVG
// documents. Texts are measured with the page font's own advances (16 pixels,
// 12 points on a 96-dpi screen) and each carries its measured width, so a
// viewer without that font still keeps every text where the desktop puts it.
// The eigen table is drawn as a ruled table where the window shows its grid.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "orbix/calc/PageSurface.h"

namespace modCalculation {

class SvgSurface : public PageSurface {
  public:
    static constexpr int kPixelSize = 16;
    static constexpr Rgb kPageColour{223, 228, 211};

    void Line(float x1, float y1, float x2, float y2, Rgb c) override;
    void Circle(float x, float y, float radius, Rgb c) override;
    void PSet(float x, float y, Rgb c) override;
    void HideGrid() override { gridHidden_ = true; }
    bool DoEvents() override { return true; }
    float TextWidth(std::string_view text) const override;
    float TextHeight() const override;

    bool GridHidden() const { return gridHidden_; }
    // The elements drawn since the last Cls, complete once EndPoints has
    // closed a run of points.
    const std::string& Body() const { return body_; }
    void EndPoints();

  protected:
    void Clear() override;
    void DrawText(float x, float y, std::string_view text, Rgb c) override;

  private:
    std::string body_;
    bool gridHidden_ = false;
    std::unordered_map<std::uint64_t, Rgb> points_;  // set since the last other element
    bool pointRun_ = false;
    Rgb pointColour_;
};

class SvgGrid : public EigenGrid {
  public:
    void ForeColor(Rgb c) override { body_ = c; }
    void Border(bool) override {}
    void Resize(int rows, int cols) override;
    void ColWidth(int col, int twips) override { colTwips_.at(col) = twips; }
    void RowHeight(int row, int twips) override { rowTwips_.at(row) = twips; }
    void Text(int row, int col, const std::string& text) override { cells_.at(row).at(col) = text; }
    void Centre(int row, int col) override { centred_.at(row).at(col) = true; }
    void Show() override { shown_ = true; }
    int Rows() const override { return static_cast<int>(cells_.size()); }
    int Cols() const override { return cells_.empty() ? 0 : static_cast<int>(cells_[0].size()); }
    std::string Text(int row, int col) const override { return cells_.at(row).at(col); }

    bool Shown() const { return shown_; }
    void Hide() { shown_ = false; }
    Rgb BodyColour() const { return body_; }
    // The table as SVG elements, from (20, 70) and scaled down as a whole
    // when it is larger than 600 × 280, so that no cell is lost.
    std::string Elements() const;

  private:
    std::vector<std::vector<std::string>> cells_;
    std::vector<std::vector<bool>> centred_;
    std::vector<int> colTwips_, rowTwips_;  // 0 = the grid's default
    Rgb body_ = colour::kBlack;
    bool shown_ = false;
};

namespace SvgPages {

struct Page {
    int scene;
    const char* stem;   // of its file name
    const char* title;  // the scene's text in the tree
};

// The scenes that have a page, in the tree's order.
const std::vector<Page>& Pages();
const Page* Find(int scene);
bool IsOrbitalScene(int scene);
// "06-levels", "11-planar-03" (orbital from 1).
std::string FileStem(int scene, int orbital);

// The page of scene (orbital k, zero-based) for the calculation just run, as
// a whole SVG document; without the eigen table when a page shows it apart.
std::string Document(int scene, std::int16_t k, bool withTable = true);

}  // namespace SvgPages

}  // namespace modCalculation
