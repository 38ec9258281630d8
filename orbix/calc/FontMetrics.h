// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The horizontal metrics of the page font (IPA P Gothic), taken from the font
// file at build time: the SVG pages place texts the way the desktop's pages
// do on any machine, whatever font it has.

#include <string_view>

namespace modCalculation::font {

struct AdvanceRun {
    char32_t first, last;
    int advance;  // font units
};

extern const int kUnitsPerEm, kAscender, kDescender, kMissingAdvance, kRunCount;
extern const AdvanceRun kRuns[];

// Advance of one character in font units (the missing glyph's when the font
// has none).
int Advance(char32_t ch);

// Text metrics at a pixel size, each glyph's advance in whole 64ths of a
// pixel as the desktop's text engine keeps them.
float TextWidth(std::string_view utf8, int pixelSize);
float Ascent(int pixelSize);
float Height(int pixelSize);

}  // namespace modCalculation::font
