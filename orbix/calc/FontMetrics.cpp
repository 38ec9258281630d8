// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/calc/FontMetrics.h"

#include <algorithm>
#include <cstdint>

namespace modCalculation::font {

int Advance(char32_t ch) {
    const AdvanceRun* end = kRuns + kRunCount;
    const AdvanceRun* run = std::upper_bound(
        kRuns, end, ch, [](char32_t c, const AdvanceRun& r) { return c < r.first; });
    if (run == kRuns || ch > run[-1].last) return kMissingAdvance;
    return run[-1].advance;
}

namespace {

// The next character of UTF-8 text; an ill-formed byte counts as U+FFFD.
char32_t Next(std::string_view& s) {
    const auto b = static_cast<unsigned char>(s[0]);
    const int length = b < 0x80 ? 1 : b >= 0xf0 ? 4 : b >= 0xe0 ? 3 : b >= 0xc0 ? 2 : 0;
    if (length == 0 || static_cast<int>(s.size()) < length) {
        s.remove_prefix(1);
        return 0xfffd;
    }
    char32_t ch = length == 1 ? b : b & (0x7f >> length);
    for (int i = 1; i < length; ++i) ch = ch << 6 | (static_cast<unsigned char>(s[i]) & 0x3f);
    s.remove_prefix(static_cast<size_t>(length));
    return ch;
}

}  // namespace

float TextWidth(std::string_view utf8, int pixelSize) {
    std::int64_t total = 0;  // 64ths of a pixel
    while (!utf8.empty()) total += std::int64_t{Advance(Next(utf8))} * pixelSize * 64 / kUnitsPerEm;
    return static_cast<float>(total) / 64;
}

namespace {

// units at pixelSize, rounded up to 64ths of a pixel.
int Ceil64(int units, int pixelSize) {
    return static_cast<int>((std::int64_t{units} * pixelSize * 64 + kUnitsPerEm - 1) / kUnitsPerEm);
}

}  // namespace

float Ascent(int pixelSize) { return static_cast<float>(Ceil64(kAscender, pixelSize)) / 64; }

float Height(int pixelSize) {
    return static_cast<float>(Ceil64(kAscender, pixelSize) + Ceil64(kDescender, pixelSize)) / 64;
}

}  // namespace modCalculation::font
