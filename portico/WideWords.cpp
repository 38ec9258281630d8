// SPDX-License-Identifier: BSD-3-Clause
#include "portico/WideWords.h"

#include <QFontMetricsF>
#include <QStringView>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <deque>
#include <unordered_map>
#include <utility>

namespace {

// Words up to this many code units are never measured: even when they fill
// several lines, finding their end costs little.
constexpr qsizetype kShortWord = 64;
// Measured widths are pieces laid out apart; the layout may pack them tighter.
constexpr double kWidthMargin = 1.25;
constexpr int kClustersMeasuredAtOnce = 16;
constexpr char16_t kBreak = u'\u000c';

// What the layout stops at besides line break opportunities.
bool IsBreakableSpace(QChar c) { return c.isSpace() && c.decompositionTag() != QChar::NoBreak; }

// Scripts whose clusters are shaped apart, so that a character between two
// of them changes nothing that is drawn.
bool ShapedApart(const QString& text, qsizetype at) {
    char32_t c = text.at(at).unicode();
    if (QChar::isHighSurrogate(c) && at + 1 < text.size())
        c = QChar::surrogateToUcs4(text.at(at).unicode(), text.at(at + 1).unicode());
    switch (QChar::script(c)) {
        case QChar::Script_Common:
        case QChar::Script_Latin:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic:
        case QChar::Script_Armenian:
        case QChar::Script_Hebrew:
        case QChar::Script_Georgian:
        case QChar::Script_Hangul:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Bopomofo:
        case QChar::Script_Han:
            return true;
        default:
            return false;
    }
}

class Paragraph {
  public:
    Paragraph(std::vector<WideWords::Run>& runs, const QFont& base, double widestLine)
        : runs_(runs), base_(base), headWidth_(widestLine * kWidthMargin) {
        for (const WideWords::Run& run : runs_) {
            runStarts_.push_back(text_.size());
            text_ += run.text;
        }
        runStarts_.push_back(text_.size());
    }

    void Open() {
        if (text_.size() <= kShortWord) return;
        QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text_);
        qsizetype from = 0;
        while (from < text_.size()) {
            qsizetype to = lines.toNextBoundary();
            if (to < 0) to = text_.size();
            // Between two opportunities: white space, then a word.
            qsizetype p = from;
            while (p < to) {
                while (p < to && IsBreakableSpace(text_.at(p))) ++p;
                qsizetype q = p;
                while (q < to && !IsBreakableSpace(text_.at(q))) ++q;
                if (q - p > kShortWord) Word(p, q);
                p = q;
            }
            from = to;
        }
        if (!breaks_.empty()) Rebuild();
    }

  private:
    // Opens [start, end) past the part of it wider than headWidth_.
    void Word(qsizetype start, qsizetype end) {
        // One finder for the paragraph: making one reads the whole text.
        if (!clusters_.isValid())
            clusters_ = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, text_);
        QTextBoundaryFinder& clusters = clusters_;
        clusters.setPosition(start);
        size_t run = RunAt(start);
        double width = 0;
        bool open = false;
        int counted = 0;
        qsizetype measuredTo = start, previous = -1;
        for (qsizetype at = start; at < end;) {
            if (open && ShapedApart(text_, previous) && ShapedApart(text_, at))
                breaks_.push_back(at);
            qsizetype next = clusters.toNextBoundary();
            if (next < 0 || next > end) next = end;
            if (!open) {
                while (runStarts_[run + 1] <= at) ++run;
                if (++counted == kClustersMeasuredAtOnce || next == end ||
                    next >= runStarts_[run + 1]) {
                    width += Width(measuredTo, next);
                    measuredTo = next;
                    counted = 0;
                    open = width > headWidth_;
                }
            }
            previous = at;
            at = next;
        }
    }

    // The sum of the advances of the characters, each laid out alone.
    double Width(qsizetype from, qsizetype to) {
        double width = 0;
        for (size_t run = RunAt(from); from < to; ++run) {
            const qsizetype pieceEnd = std::min(to, runStarts_[run + 1]);
            Font& font = FontOf(runs_[run].format);
            while (from < pieceEnd) {
                const char16_t unit = text_.at(from).unicode();
                const bool pair = QChar::isHighSurrogate(unit) && from + 1 < pieceEnd;
                const char32_t c =
                    pair ? QChar::surrogateToUcs4(unit, text_.at(from + 1).unicode()) : unit;
                auto it = font.advances.find(c);
                if (it == font.advances.end())
                    it = font.advances
                             .emplace(c,
                                      font.metrics.horizontalAdvance(text_.mid(from, pair ? 2 : 1)))
                             .first;
                width += it->second;
                from += pair ? 2 : 1;
            }
        }
        return width;
    }

    struct Font {
        QTextCharFormat format;
        QFontMetricsF metrics;
        std::unordered_map<char32_t, double> advances;
    };

    Font& FontOf(const QTextCharFormat& format) {
        for (Font& font : fonts_)
            if (font.format == format) return font;
        fonts_.push_back({format, QFontMetricsF(format.font().resolve(base_)), {}});
        return fonts_.back();
    }

    size_t RunAt(qsizetype at) const {
        const auto it = std::upper_bound(runStarts_.begin(), runStarts_.end(), at);
        return static_cast<size_t>(it - runStarts_.begin()) - 1;
    }

    // A break after position p - 1 goes to the run that holds it.
    void Rebuild() {
        auto next = breaks_.begin();
        for (size_t run = 0; run < runs_.size(); ++run) {
            const qsizetype start = runStarts_[run], end = runStarts_[run + 1];
            if (next == breaks_.end() || *next > end) continue;
            QString text;
            text.reserve(2 * (end - start));
            qsizetype from = start;
            for (; next != breaks_.end() && *next <= end; ++next) {
                text += QStringView(text_).sliced(from, *next - from);
                text += QChar(kBreak);
                from = *next;
            }
            text += QStringView(text_).sliced(from, end - from);
            runs_[run].text = std::move(text);
        }
    }

    std::vector<WideWords::Run>& runs_;
    const QFont& base_;
    const double headWidth_;
    QString text_;
    std::vector<qsizetype> runStarts_;
    std::vector<qsizetype> breaks_;
    QTextBoundaryFinder clusters_;
    std::deque<Font> fonts_;
};

}  // namespace

namespace WideWords {

void Open(std::vector<Run>& runs, const QFont& base, double widestLine) {
    Paragraph(runs, base, widestLine).Open();
}

}  // namespace WideWords
