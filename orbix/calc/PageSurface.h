// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The drawing surface the result pages draw on, in page units (x to the
// right, y downwards; the page is about 640 × 400 units).
//
// Text is written at the current position (the top-left corner of the text)
// in the current colour; writing moves the position past the text, and a
// line end moves it to the start of the next text line. A circle's radius is
// in x units. Implementations: an image behind the result window and a
// recorder for tests.

#include <cstdint>
#include <string>
#include <string_view>

namespace modCalculation {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

namespace colour {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kMagenta{255, 0, 255};
// The standard 16-colour palette entries the pages use.
inline constexpr Rgb kNavy{0, 0, 128};     // 1
inline constexpr Rgb kGreen{0, 128, 0};    // 2
inline constexpr Rgb kTeal{0, 128, 128};   // 3
inline constexpr Rgb kMaroon{128, 0, 0};   // 4
inline constexpr Rgb kOlive{128, 128, 0};  // 6
}  // namespace colour

class PageSurface {
  public:
    virtual ~PageSurface() = default;

    // Clears the drawing; the position returns to (0, 0).
    void Cls();
    // Writes text at the current position; with lineEnd the position moves
    // to x = 0 of the next line, otherwise to the end of the text.
    void Print(std::string_view text, bool lineEnd);

    float CurrentX() const { return x_; }
    float CurrentY() const { return y_; }
    void CurrentX(float x) { x_ = x; }
    void CurrentY(float y) { y_ = y; }
    void MoveTo(float x, float y) {
        x_ = x;
        y_ = y;
    }
    Rgb ForeColor() const { return fore_; }
    void ForeColor(Rgb c) { fore_ = c; }

    // Solid filling paints the inside of circles in FillColor.
    bool FillSolid() const { return fillSolid_; }
    void FillSolid(bool solid) { fillSolid_ = solid; }
    Rgb FillColor() const { return fillColor_; }
    void FillColor(Rgb c) { fillColor_ = c; }

    virtual void Line(float x1, float y1, float x2, float y2, Rgb c) = 0;
    // Outline in c; inside in FillColor when FillSolid.
    virtual void Circle(float x, float y, float radius, Rgb c) = 0;
    virtual void PSet(float x, float y, Rgb c) = 0;

    // Hides the window's grid (the eigen table), which lies over the page.
    virtual void HideGrid() = 0;

    // Lets pending window events run. False when the page being drawn has
    // been replaced or abandoned meanwhile (another page cleared the surface,
    // or the window closed), so the caller should stop drawing.
    virtual bool DoEvents() = 0;

    // Text extent in page units, in the surface's font.
    virtual float TextWidth(std::string_view text) const = 0;
    virtual float TextHeight() const = 0;

    // Incremented by every Cls.
    std::uint32_t Generation() const { return generation_; }

  protected:
    virtual void Clear() = 0;
    virtual void DrawText(float x, float y, std::string_view text, Rgb c) = 0;

  private:
    float x_ = 0, y_ = 0;
    Rgb fore_ = colour::kBlack;
    bool fillSolid_ = false;
    Rgb fillColor_ = colour::kBlack;
    std::uint32_t generation_ = 0;
};

// The grid the eigen table is shown in: row 0 and column 0 are its header
// cells; the text colour applies to every body cell at once.
class EigenGrid {
  public:
    virtual ~EigenGrid() = default;
    virtual void ForeColor(Rgb c) = 0;
    virtual void Border(bool on) = 0;
    virtual void Resize(int rows, int cols) = 0;
    virtual void ColWidth(int col, int twips) = 0;
    virtual void RowHeight(int row, int twips) = 0;
    virtual void Text(int row, int col, const std::string& text) = 0;
    virtual void Centre(int row, int col) = 0;
    virtual void Show() = 0;

    virtual int Rows() const = 0;
    virtual int Cols() const = 0;
    virtual std::string Text(int row, int col) const = 0;
};

}  // namespace modCalculation
