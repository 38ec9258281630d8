// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/calc/RecordingSurface.h"

namespace modCalculation {

void RecordingSurface::Clear() {
    Primitive p;
    p.kind = Primitive::kClear;
    recorded_.push_back(p);
}

void RecordingSurface::DrawText(float x, float y, std::string_view text, Rgb c) {
    Primitive p;
    p.kind = Primitive::kText;
    p.x = x;
    p.y = y;
    p.colour = c;
    p.text = std::string(text);
    recorded_.push_back(std::move(p));
}

void RecordingSurface::Line(float x1, float y1, float x2, float y2, Rgb c) {
    Primitive p;
    p.kind = Primitive::kLine;
    p.x = x1;
    p.y = y1;
    p.x2 = x2;
    p.y2 = y2;
    p.colour = c;
    recorded_.push_back(p);
}

void RecordingSurface::Circle(float x, float y, float radius, Rgb c) {
    Primitive p;
    p.kind = Primitive::kCircle;
    p.x = x;
    p.y = y;
    p.radius = radius;
    p.colour = c;
    p.filled = FillSolid();
    p.fill = FillColor();
    recorded_.push_back(p);
}

void RecordingSurface::PSet(float x, float y, Rgb c) {
    Primitive p;
    p.kind = Primitive::kPoint;
    p.x = x;
    p.y = y;
    p.colour = c;
    recorded_.push_back(p);
}

void RecordingSurface::HideGrid() {
    Primitive p;
    p.kind = Primitive::kHideGrid;
    recorded_.push_back(p);
}

bool RecordingSurface::DoEvents() {
    Primitive p;
    p.kind = Primitive::kEvents;
    recorded_.push_back(p);
    const auto before = Generation();
    if (OnEvents) OnEvents();
    return Generation() == before;
}

float RecordingSurface::TextWidth(std::string_view text) const {
    float w = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        bool narrow = b < 0x80;
        if (len == 3 && i + 2 < text.size()) {
            // U+FF61 ... U+FF9F: halfwidth katakana
            const unsigned cp = ((b & 0x0F) << 12) |
                                ((static_cast<unsigned char>(text[i + 1]) & 0x3F) << 6) |
                                (static_cast<unsigned char>(text[i + 2]) & 0x3F);
            narrow = cp >= 0xFF61 && cp <= 0xFF9F;
        }
        w += narrow ? kNarrow : kWide;
        i += len;
    }
    return w;
}

std::vector<Primitive> RecordingSurface::Page(Primitive::Kind kind) const {
    std::size_t start = 0;
    for (std::size_t i = recorded_.size(); i-- > 0;) {
        if (recorded_[i].kind == Primitive::kClear) {
            start = i + 1;
            break;
        }
    }
    std::vector<Primitive> out;
    for (std::size_t i = start; i < recorded_.size(); ++i)
        if (kind == Primitive::kClear || recorded_[i].kind == kind) out.push_back(recorded_[i]);
    return out;
}

std::vector<Primitive> RecordingSurface::TextsEqual(const std::string& text) const {
    std::vector<Primitive> out;
    for (const auto& p : Page(Primitive::kText))
        if (p.text == text) out.push_back(p);
    return out;
}

void RecordingGrid::Resize(int rows, int cols) {
    cells.assign(rows, std::vector<std::string>(cols));
    centred.assign(rows, std::vector<bool>(cols, false));
    colWidth.assign(cols, 0);
    rowHeight.assign(rows, 0);
}

void RecordingGrid::ColWidth(int col, int twips) { colWidth.at(col) = twips; }
void RecordingGrid::RowHeight(int row, int twips) { rowHeight.at(row) = twips; }
void RecordingGrid::Text(int row, int col, const std::string& text) {
    cells.at(row).at(col) = text;
}
void RecordingGrid::Centre(int row, int col) { centred.at(row).at(col) = true; }
std::string RecordingGrid::Text(int row, int col) const { return cells.at(row).at(col); }

}  // namespace modCalculation
