// SPDX-License-Identifier: BSD-3-Clause
#include "portico/RtfReader.h"

#include <QColor>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "portico/CodePage.h"
#include "portico/WideWords.h"

namespace {

// Deeper groups share the state of the deepest one kept: bounded memory on
// a file of nothing but "{".
constexpr int kMaxDepth = 256;
constexpr int kDefaultHalfPoints = 24;  // 12 pt, the size of text without \fs
constexpr int kMaxWordLength = 32;
constexpr int kMaxParamDigits = 10;
constexpr size_t kMaxTabStops = 64;
constexpr double kTwipsPerPixel = 15.0;  // document pixels at 96 DPI
constexpr size_t kCachedCharFormats = 8;

enum class Dest { Text, Skip, ColorTable };

struct CharState {
    bool operator==(const CharState&) const = default;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int vertical = 0;  // 0 normal, 1 superscript, 2 subscript
    int halfPoints = kDefaultHalfPoints;
    int colour = 0;     // index into the colour table; 0 is the automatic colour
    int highlight = 0;  // the same for the background
};

struct ParaState {
    bool operator==(const ParaState&) const = default;
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0;  // twips
    std::vector<int> tabs;                                      // tab stops, twips
};

struct Group {
    CharState ch;
    ParaState para;
    Dest dest = Dest::Text;
    int uc = 1;  // fallback characters after each \uN
};

// Destinations whose text is not document text, skipped even without \*.
constexpr std::array<std::string_view, 44> kSkippedDestinations = {
    "fonttbl",    "stylesheet",
    "info",       "pict",
    "header",     "headerl",
    "headerr",    "headerf",
    "footer",     "footerl",
    "footerr",    "footerf",
    "footnote",   "annotation",
    "atnid",      "atnauthor",
    "themedata",  "colorschememapping",
    "listtable",  "listoverridetable",
    "rsidtbl",    "generator",
    "xmlnstbl",   "latentstyles",
    "datastore",  "filetbl",
    "revtbl",     "object",
    "fldinst",    "bkmkstart",
    "bkmkend",    "userprops",
    "docvar",     "pnseclvl",
    "nonshppict", "author",
    "operator",   "title",
    "subject",    "keywords",
    "comment",    "doccomm",
    "xe",         "tc"};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

double Pixels(int twips) { return std::clamp(twips / kTwipsPerPixel, -2000.0, 2000.0); }

// A high surrogate not followed by a low one, or a low one alone, would make
// an invalid string: each becomes U+FFFD.
QString RepairSurrogates(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

// The widest line of a paragraph whose margins and first-line indent may be
// negative and so widen it beyond the viewer.
double WidestLine(double viewer, const QTextBlockFormat& f) {
    return viewer + std::max(0.0, -f.leftMargin()) + std::max(0.0, -f.rightMargin()) +
           std::max(0.0, -f.textIndent());
}

class Parser {
  public:
    Parser(const QByteArray& data, QTextDocument& doc, double widestLine)
        : data_(data),
          doc_(doc),
          cursor_(&doc),
          widestLine_(widestLine),
          codePage_(std::make_unique<CodePage>(1252)) {}

    RtfReader::Outcome Run() {
        // One edit block: the document lays a paragraph out once at the end
        // rather than after every run, which made a long paragraph quadratic.
        cursor_.beginEditBlock();
        struct EndEdit {
            QTextCursor& c;
            ~EndEdit() { c.endEditBlock(); }
        } endEdit{cursor_};
        while (pos_ < data_.size()) {
            const char c = data_[pos_++];
            switch (c) {
                case '{':
                    OpenGroup();
                    break;
                case '}':
                    if (CloseGroup()) {
                        InsertParagraph();
                        return RtfReader::Outcome::Complete;
                    }
                    break;
                case '\\':
                    ControlSequence();
                    break;
                case '\r':
                case '\n':
                    break;
                default:
                    Literal(c);
                    break;
            }
        }
        Flush();
        InsertParagraph();
        return RtfReader::Outcome::Truncated;
    }

  private:
    Group& Top() { return stack_.back(); }

    void OpenGroup() {
        Flush();
        skipFallback_ = 0;
        if (stack_.empty()) {
            stack_.emplace_back();
        } else if (static_cast<int>(stack_.size()) < kMaxDepth) {
            stack_.push_back(Top());
        } else {
            ++excessDepth_;
        }
    }

    // True when the outermost group has closed: the end of the document.
    bool CloseGroup() {
        Flush();
        skipFallback_ = 0;
        if (excessDepth_ > 0) {
            --excessDepth_;
            return false;
        }
        if (Top().dest == Dest::ColorTable) EndColour(true);
        stack_.pop_back();
        return stack_.empty();
    }

    void Literal(char c) {
        const Dest dest = Top().dest;
        if (dest == Dest::ColorTable) {
            if (c == ';') EndColour(false);
            return;
        }
        if (dest != Dest::Text) return;
        if (c == '\t') {
            AppendChar(u'\t');
            return;
        }
        if (static_cast<unsigned char>(c) < 0x20) return;
        AppendByte(c);
    }

    void ControlSequence() {
        if (pos_ >= data_.size()) return;
        const char c = data_[pos_];
        if (IsLetter(c)) {
            ControlWord();
            return;
        }
        ++pos_;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                if (Top().dest == Dest::Text) AppendByte(c);
                break;
            case '\'':
                HexEscape();
                break;
            case '*':
                Flush();
                Top().dest = Dest::Skip;
                break;
            case '~':
                Symbol(u'\u00a0');
                break;
            case '_':
                Symbol(u'\u2011');
                break;
            case '\r':
            case '\n':
                if (Top().dest == Dest::Text) Paragraph();
                break;
            default:
                break;  // \- \| \: and unknown symbols carry no text
        }
    }

    void HexEscape() {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < data_.size()) {
            const int h = HexValue(data_[pos_]);
            if (h < 0) break;
            value = value * 16 + h;
            ++pos_;
            ++digits;
        }
        if (digits < 2 || Top().dest != Dest::Text) return;  // a cut-off escape is dropped
        AppendByte(static_cast<char>(value));
    }

    void ControlWord() {
        const qsizetype start = pos_;
        while (pos_ < data_.size() && IsLetter(data_[pos_])) ++pos_;
        const std::string_view word(
            data_.constData() + start,
            static_cast<size_t>(std::min<qsizetype>(pos_ - start, kMaxWordLength)));
        bool hasParam = false;
        bool negative = false;
        std::int64_t param = 0;
        if (pos_ + 1 < data_.size() && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        int digits = 0;
        while (pos_ < data_.size() && IsDigit(data_[pos_])) {
            if (digits++ < kMaxParamDigits) param = param * 10 + (data_[pos_] - '0');
            hasParam = true;
            ++pos_;
        }
        if (pos_ < data_.size() && data_[pos_] == ' ') ++pos_;
        param = std::clamp<std::int64_t>(negative ? -param : param, -2000000000, 2000000000);
        Word(word, hasParam, static_cast<int>(param));
    }

    void Word(std::string_view w, bool hasParam, int n) {
        if (w == "bin") {
            // Binary data: its bytes are no control words and no text.
            Flush();
            pos_ += std::min<qsizetype>(std::max(n, 0), data_.size() - pos_);
            return;
        }
        Group& g = Top();
        if (g.dest == Dest::Skip) return;
        if (g.dest == Dest::ColorTable) {
            const int v = std::clamp(n, 0, 255);
            if (w == "red") {
                red_ = v;
                colourSet_ = true;
            } else if (w == "green") {
                green_ = v;
                colourSet_ = true;
            } else if (w == "blue") {
                blue_ = v;
                colourSet_ = true;
            }
            return;
        }
        if (TextWord(w, hasParam, n)) return;
        if (skipFallback_ > 0) {
            --skipFallback_;
            return;
        }
        Flush();
        const bool on = !hasParam || n != 0;
        CharState& ch = g.ch;
        ParaState& para = g.para;
        if (w == "par" || w == "page" || w == "sect" || w == "row")
            Paragraph();
        else if (w == "b")
            ch.bold = on;
        else if (w == "i")
            ch.italic = on;
        else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" ||
                 w == "ulth")
            ch.underline = on;
        else if (w == "ulnone")
            ch.underline = false;
        else if (w == "strike" || w == "striked")
            ch.strike = on;
        else if (w == "super")
            ch.vertical = 1;
        else if (w == "sub")
            ch.vertical = 2;
        else if (w == "nosupersub")
            ch.vertical = 0;
        else if (w == "fs")
            ch.halfPoints = hasParam && n > 0 ? n : kDefaultHalfPoints;
        else if (w == "cf")
            ch.colour = n;
        else if (w == "highlight" || w == "cb")
            ch.highlight = n;
        else if (w == "plain")
            ch = CharState{};
        else if (w == "pard")
            para = ParaState{};
        else if (w == "ql")
            para.align = Qt::AlignLeft;
        else if (w == "qc")
            para.align = Qt::AlignHCenter;
        else if (w == "qr")
            para.align = Qt::AlignRight;
        else if (w == "qj")
            para.align = Qt::AlignJustify;
        else if (w == "li")
            para.left = n;
        else if (w == "ri")
            para.right = n;
        else if (w == "fi")
            para.first = n;
        else if (w == "sb")
            para.before = n;
        else if (w == "sa")
            para.after = n;
        else if (w == "tx" && para.tabs.size() < kMaxTabStops)
            para.tabs.push_back(n);
        else if (w == "uc")
            g.uc = std::clamp(n, 0, 16);
        else if (w == "ansi")
            SetCodePage(1252);
        else if (w == "mac")
            SetCodePage(10000);
        else if (w == "pc")
            SetCodePage(437);
        else if (w == "pca")
            SetCodePage(850);
        else if (w == "ansicpg")
            SetCodePage(n);
        else if (w == "colortbl") {
            g.dest = Dest::ColorTable;
            colours_.clear();
            ForgetCharFormats();
            colourSet_ = false;
        } else if (std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), w) !=
                   kSkippedDestinations.end()) {
            g.dest = Dest::Skip;
        }
    }

    // Words that stand for characters; true when w was one of them.
    bool TextWord(std::string_view w, bool hasParam, int n) {
        if (w == "u") {
            if (!hasParam) return true;
            if (skipFallback_ > 0) {
                --skipFallback_;
                return true;
            }
            // The parameter is a signed 16-bit number: negative values are the
            // code units from U+8000 up.
            const int unit = n < 0 ? n + 65536 : n;
            DecodeBytes();
            if (unit >= 0 && unit <= 0xFFFF)
                pending_ += QChar(static_cast<char16_t>(unit));
            else if (unit <= 0x10FFFF) {
                const char32_t point = static_cast<char32_t>(unit);
                pending_ += QString::fromUcs4(&point, 1);
            } else
                pending_ += QChar(QChar::ReplacementCharacter);
            skipFallback_ = Top().uc;
            return true;
        }
        char16_t c = 0;
        if (w == "line")
            c = u'\u2028';
        else if (w == "tab" || w == "cell")
            c = u'\t';
        else if (w == "emdash")
            c = u'\u2014';
        else if (w == "endash")
            c = u'\u2013';
        else if (w == "bullet")
            c = u'\u2022';
        else if (w == "lquote")
            c = u'\u2018';
        else if (w == "rquote")
            c = u'\u2019';
        else if (w == "ldblquote")
            c = u'\u201c';
        else if (w == "rdblquote")
            c = u'\u201d';
        else if (w == "emspace")
            c = u'\u2003';
        else if (w == "enspace")
            c = u'\u2002';
        else if (w == "qmspace")
            c = u'\u2005';
        else
            return false;
        Symbol(c);
        return true;
    }

    void Symbol(char16_t c) {
        if (Top().dest == Dest::Text) AppendChar(c);
    }

    void AppendByte(char c) {
        if (skipFallback_ > 0) {
            --skipFallback_;
            return;
        }
        bytes_ += c;
    }

    void AppendChar(char16_t c) {
        if (skipFallback_ > 0) {
            --skipFallback_;
            return;
        }
        DecodeBytes();
        pending_ += QChar(c);
    }

    void SetCodePage(int number) {
        if (number != codePage_->Number()) codePage_ = std::make_unique<CodePage>(number);
    }

    // Bytes are gathered until something else comes, so that the two bytes of
    // a double-byte character decode together whether they came as \'hh
    // escapes or as literal characters.
    void DecodeBytes() {
        if (bytes_.isEmpty()) return;
        pending_ += codePage_->Decode(bytes_);
        bytes_.clear();
    }

    // Text waits in the paragraph's runs until the paragraph ends, when
    // its words can be looked at whole.
    void Flush() {
        DecodeBytes();
        if (pending_.isEmpty()) return;
        SetBlockFormat();
        const QTextCharFormat& format = CharFormat();
        if (!runs_.empty() && lastRunFormat_ == &format)
            runs_.back().text += RepairSurrogates(pending_);
        else
            runs_.push_back({RepairSurrogates(pending_), format});
        lastRunFormat_ = &format;
        pending_.clear();
    }

    void InsertParagraph() {
        const QTextBlockFormat block = cursor_.blockFormat();
        // Justified lines spread their clusters apart; a break between
        // them would move the spreading to it.
        if (block.alignment() != Qt::AlignJustify)
            WideWords::Open(runs_, doc_.defaultFont(), WidestLine(widestLine_, block));
        for (const WideWords::Run& run : runs_) cursor_.insertText(run.text, run.format);
        runs_.clear();
    }

    void Paragraph() {
        Flush();
        SetBlockFormat();
        InsertParagraph();
        cursor_.insertBlock(BlockFormat(), CharFormat());
        blockFormatState_ = stack_.back().para;
    }

    // The paragraph's format, set only when it changes.
    void SetBlockFormat() {
        const ParaState& para = stack_.back().para;
        if (blockFormatSet_ && para == blockFormatState_) return;
        const QTextBlockFormat format = BlockFormat();
        if (format != cursor_.blockFormat()) cursor_.setBlockFormat(format);
        blockFormatState_ = para;
        blockFormatSet_ = true;
    }

    void EndColour(bool atGroupEnd) {
        ForgetCharFormats();
        // The entry before a ';' without components is the automatic colour;
        // a group end without ';' closes a last entry only if it had one.
        if (colourSet_)
            colours_.emplace_back(red_, green_, blue_);
        else if (!atGroupEnd)
            colours_.emplace_back();
        red_ = green_ = blue_ = 0;
        colourSet_ = false;
    }

    QColor Colour(int index) const {
        if (index <= 0 || index >= static_cast<int>(colours_.size())) return {};
        return colours_[static_cast<size_t>(index)];
    }

    // The format of the current state, from the few built last: text that
    // alternates between formats builds each once.
    const QTextCharFormat& CharFormat() {
        const CharState& ch = stack_.back().ch;
        for (const auto& [state, format] : charFormats_)
            if (state == ch) return format;
        if (charFormats_.size() == kCachedCharFormats) {
            if (lastRunFormat_ == &charFormats_.front().second) lastRunFormat_ = nullptr;
            charFormats_.pop_front();
        }
        charFormats_.emplace_back(ch, BuildCharFormat(ch));
        return charFormats_.back().second;
    }

    // The colour table changes what the states mean.
    void ForgetCharFormats() {
        charFormats_.clear();
        lastRunFormat_ = nullptr;
    }

    QTextCharFormat BuildCharFormat(const CharState& ch) const {
        QTextCharFormat f;
        f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(ch.italic);
        f.setFontUnderline(ch.underline);
        f.setFontStrikeOut(ch.strike);
        f.setFontPointSize(std::clamp(ch.halfPoints, 2, 3276) / 2.0);
        if (ch.vertical == 1) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        if (ch.vertical == 2) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        if (const QColor c = Colour(ch.colour); c.isValid()) f.setForeground(c);
        if (const QColor c = Colour(ch.highlight); c.isValid()) f.setBackground(c);
        return f;
    }

    QTextBlockFormat BlockFormat() const {
        const ParaState& p = stack_.back().para;
        QTextBlockFormat f;
        f.setAlignment(p.align);
        f.setLeftMargin(Pixels(p.left));
        f.setRightMargin(Pixels(p.right));
        f.setTextIndent(Pixels(p.first));
        f.setTopMargin(Pixels(std::max(p.before, 0)));
        f.setBottomMargin(Pixels(std::max(p.after, 0)));
        if (!p.tabs.empty()) {
            QList<QTextOption::Tab> tabs;
            for (const int t : p.tabs)
                tabs.append(QTextOption::Tab(Pixels(std::max(t, 0)), QTextOption::LeftTab));
            f.setTabPositions(tabs);
        }
        return f;
    }

    const QByteArray& data_;
    QTextDocument& doc_;
    qsizetype pos_ = 0;
    QTextCursor cursor_;
    const double widestLine_;
    std::vector<WideWords::Run> runs_;
    std::deque<std::pair<CharState, QTextCharFormat>> charFormats_;
    const QTextCharFormat* lastRunFormat_ = nullptr;  // the format of runs_.back()
    ParaState blockFormatState_;                      // of the current block
    bool blockFormatSet_ = false;
    std::vector<Group> stack_;
    int excessDepth_ = 0;
    std::unique_ptr<CodePage> codePage_;
    QByteArray bytes_;
    QString pending_;
    int skipFallback_ = 0;
    std::vector<QColor> colours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourSet_ = false;
};

// Plain text, with the wide words of each of its paragraphs opened; the
// paragraphs end where QTextCursor::insertText ends them.
QString OpenPlainText(const QString& text, const QFont& font, double widestLine) {
    QString out;
    out.reserve(text.size());
    std::vector<WideWords::Run> runs(1);
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size()) {
            const char16_t c = text.at(i).unicode();
            if (c != u'\n' && c != u'\r' && c != QChar::ParagraphSeparator && c != u'\ufdd0' &&
                c != u'\ufdd1')
                continue;
        }
        runs[0].text = text.mid(from, i - from);
        WideWords::Open(runs, font, widestLine);
        out += runs[0].text;
        if (i < text.size()) out += text.at(i);
        from = i + 1;
    }
    return out;
}

bool StartsAsRichText(const QByteArray& data, qsizetype& start) {
    start = 0;
    while (start < data.size() && (data[start] == ' ' || data[start] == '\t' ||
                                   data[start] == '\r' || data[start] == '\n'))
        ++start;
    return data.mid(start, 5) == "{\\rtf";
}

}  // namespace

namespace RtfReader {

Outcome Read(const QByteArray& data, QTextDocument& doc, double widestLine) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    Outcome outcome;
    qsizetype start = 0;
    if (StartsAsRichText(data, start)) {
        const QByteArray body = data.mid(start);
        outcome = Parser(body, doc, widestLine).Run();
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8(data);
        if (utf8.hasError()) text = CodePage(932).Decode(data);
        if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
        doc.setPlainText(OpenPlainText(text, doc.defaultFont(), widestLine));
        outcome = Outcome::PlainText;
    }
    doc.setUndoRedoEnabled(undo);
    return outcome;
}

}  // namespace RtfReader
