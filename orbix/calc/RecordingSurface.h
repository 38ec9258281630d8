// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A PageSurface that keeps every primitive drawn on it, for tests and
// benchmarks, and an EigenGrid that keeps its cells.
//
// Text metrics are fixed: a character below U+0080 or a halfwidth katakana is
// kNarrow units wide, any other kWide; a line is kLineHeight units high.

#include <functional>
#include <string>
#include <vector>

#include "orbix/calc/PageSurface.h"

namespace modCalculation {

struct Primitive {
    enum Kind { kClear, kText, kLine, kCircle, kPoint, kHideGrid, kEvents };
    Kind kind = kClear;
    float x = 0, y = 0;    // text position, line start, circle centre, point
    float x2 = 0, y2 = 0;  // line end
    float radius = 0;
    Rgb colour;
    bool filled = false;  // circle
    Rgb fill;
    std::string text;
};

class RecordingSurface : public PageSurface {
  public:
    static constexpr float kNarrow = 8;
    static constexpr float kWide = 16;
    static constexpr float kLineHeight = 16;

    void Line(float x1, float y1, float x2, float y2, Rgb c) override;
    void Circle(float x, float y, float radius, Rgb c) override;
    void PSet(float x, float y, Rgb c) override;
    void HideGrid() override;
    bool DoEvents() override;
    float TextWidth(std::string_view text) const override;
    float TextHeight() const override { return kLineHeight; }

    const std::vector<Primitive>& Recorded() const { return recorded_; }
    // The primitives since the last Cls, of one kind (all kinds for kClear).
    std::vector<Primitive> Page(Primitive::Kind kind = Primitive::kClear) const;
    // Text primitives of the current page whose text equals `text`.
    std::vector<Primitive> TextsEqual(const std::string& text) const;
    void Forget() { recorded_.clear(); }

    // Called from DoEvents, to let a test act in the middle of a drawing;
    // DoEvents returns what PageSurface would: false once the page has been
    // cleared again meanwhile.
    std::function<void()> OnEvents;

  protected:
    void Clear() override;
    void DrawText(float x, float y, std::string_view text, Rgb c) override;

  private:
    std::vector<Primitive> recorded_;
};

class RecordingGrid : public EigenGrid {
  public:
    void ForeColor(Rgb c) override { colours.push_back(c); }
    void Border(bool on) override { border = on; }
    void Resize(int rows, int cols) override;
    void ColWidth(int col, int twips) override;
    void RowHeight(int row, int twips) override;
    void Text(int row, int col, const std::string& text) override;
    void Centre(int row, int col) override;
    void Show() override { visible = true; }

    int Rows() const override { return static_cast<int>(cells.size()); }
    int Cols() const override { return cells.empty() ? 0 : static_cast<int>(cells[0].size()); }
    std::string Text(int row, int col) const override;

    std::vector<Rgb> colours;  // every ForeColor in order; the last one holds
    bool border = true;
    bool visible = false;
    std::vector<std::vector<std::string>> cells;
    std::vector<std::vector<bool>> centred;
    std::vector<int> colWidth, rowHeight;  // twips, 0 = default
};

}  // namespace modCalculation
