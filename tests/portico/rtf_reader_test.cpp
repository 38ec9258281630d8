// SPDX-License-Identifier: BSD-3-Clause
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextFragment>
#include <algorithm>
#include <vector>

#include "portico/RtfReader.h"

namespace {

struct Run {
    QString text;
    QTextCharFormat format;
};

struct Reading {
    RtfReader::Outcome outcome;
    QString text;  // raw: paragraphs joined by U+2029, line breaks kept as U+2028
    std::vector<Run> runs;
    int blocks;
};

Reading Read(const QByteArray& rtf) {
    QTextDocument doc;
    Reading r{RtfReader::Read(rtf, doc), doc.toRawText(), {}, doc.blockCount()};
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            r.runs.push_back({it.fragment().text(), it.fragment().charFormat()});
    return r;
}

// The fragment holding text; fragments of equal format are merged.
const Run* RunWith(const Reading& r, const QString& text) {
    static const Run missing;
    for (const Run& run : r.runs)
        if (run.text.contains(text)) return &run;
    ADD_FAILURE() << "no fragment holds " << text.toStdString();
    return &missing;
}

}  // namespace

TEST(RtfReaderText, HexEscapesDecodeInTheDocumentCodePage) {
    // 日本語 in CP932, then テ with its trail byte written as a literal 'e'.
    const Reading r = Read("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b\\'8c\\'ea\\'83e}");
    EXPECT_EQ(r.outcome, RtfReader::Outcome::Complete);
    EXPECT_EQ(r.text, QStringLiteral("日本語テ"));
}

TEST(RtfReaderText, WithoutACodePageHexEscapesAreWindows1252) {
    EXPECT_EQ(Read("{\\rtf1\\ansi caf\\'e9 \\'80}").text, QStringLiteral("café €"));
    EXPECT_EQ(Read("{\\rtf1 \\'e9}").text, QStringLiteral("é"));
}

TEST(RtfReaderText, UnicodeEscapesSkipTheirFallbackCharacters) {
    // \uc1 (the default) skips one character, \uc2 the two bytes of a
    // double-byte fallback, \uc0 none.
    EXPECT_EQ(Read("{\\rtf1 \\u26085?\\u26412\\'3f}").text, QStringLiteral("日本"));
    EXPECT_EQ(Read("{\\rtf1\\ansicpg932{\\uc2\\u35486\\'8c\\'ea}x}").text, QStringLiteral("語x"));
    EXPECT_EQ(Read("{\\rtf1\\uc0\\u946 b}").text, QStringLiteral("βb"));
    // Negative parameters are the code units above U+7FFF: Ａ is U+FF21.
    EXPECT_EQ(Read("{\\rtf1 \\u-223?}").text, QStringLiteral("Ａ"));
    // A surrogate pair written as two escapes is one character.
    EXPECT_EQ(Read("{\\rtf1 \\u-10179?\\u-8704?}").text, QString::fromUcs4(U"\U0001F600", 1));
    // A control word counts as one fallback character; a group end stops the skipping.
    EXPECT_EQ(Read("{\\rtf1 \\u946\\tab x}").text, QStringLiteral("βx"));
    EXPECT_EQ(Read("{\\rtf1 {\\uc3\\u946 a}bc}").text, QStringLiteral("βbc"));
}

TEST(RtfReaderText, BothEscapeFormsOfJapaneseInOneParagraph) {
    const Reading r =
        Read("{\\rtf1\\ansi\\ansicpg932\\uc1 \\'95\\'aa\\'8e\\'71\\u36556?\\u36947?\\'96\\'40}");
    EXPECT_EQ(r.text, QStringLiteral("分子軌道法"));
}

TEST(RtfReaderText, ParagraphsLineBreaksTabsAndEscapedSymbols) {
    const Reading r = Read("{\\rtf1 one\\par two\\line three\\tab four\\par\n\\{\\}\\\\\\~end}");
    EXPECT_EQ(r.blocks, 3);
    EXPECT_EQ(r.text, QStringLiteral("one\u2029two\u2028three\tfour\u2029{}\\\u00a0end"));
}

TEST(RtfReaderText, LineEndsInTheFileAreNoText) {
    EXPECT_EQ(Read("{\\rtf1 a\r\nb\nc}").text, QStringLiteral("abc"));
}

TEST(RtfReaderDestinations, FontTableInfoAndStarredGroupsAreSkipped) {
    const Reading r = Read(
        "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 Gothic;}}"
        "{\\*\\generator Writer 1.0;}{\\info{\\title Secret}{\\author Someone}}"
        "{\\*\\unknownthing hidden {nested hidden}}\\f0 shown"
        "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}\\madeupword12 text}");
    EXPECT_EQ(r.outcome, RtfReader::Outcome::Complete);
    EXPECT_EQ(r.text, QStringLiteral("shownlinktext"));
}

TEST(RtfReaderDestinations, BinaryDataIsSkippedByItsLength) {
    EXPECT_EQ(Read("{\\rtf1 a{\\*\\blob\\bin4 }{\\}}b}").text, QStringLiteral("ab"));
    EXPECT_EQ(Read("{\\rtf1 a\\bin3 x}yb}").text, QStringLiteral("ab"));
}

TEST(RtfReaderFormat, NestedGroupsRestoreTheFormatOfTheirParent) {
    const Reading r = Read("{\\rtf1 a{\\b b{\\i c{\\ul d}}e}f\\b g\\b0 h}");
    const auto weight = [&](const char* t) {
        return RunWith(r, QString::fromLatin1(t))->format.fontWeight();
    };
    EXPECT_EQ(weight("a"), QFont::Normal);
    EXPECT_EQ(weight("b"), QFont::Bold);
    EXPECT_TRUE(RunWith(r, "c")->format.fontItalic());
    EXPECT_EQ(weight("c"), QFont::Bold);
    EXPECT_TRUE(RunWith(r, "d")->format.fontUnderline());
    EXPECT_TRUE(RunWith(r, "d")->format.fontItalic());
    EXPECT_FALSE(RunWith(r, "e")->format.fontItalic());
    EXPECT_EQ(weight("e"), QFont::Bold);
    EXPECT_EQ(weight("f"), QFont::Normal);
    EXPECT_EQ(weight("g"), QFont::Bold);
    EXPECT_EQ(weight("h"), QFont::Normal);
}

TEST(RtfReaderFormat, FontSizesAreHalfPoints) {
    const Reading r = Read("{\\rtf1 a{\\fs40 b{\\fs21 c}}\\fs0 d\\fs36 e\\plain f}");
    EXPECT_DOUBLE_EQ(RunWith(r, "a")->format.fontPointSize(), 12.0);
    EXPECT_DOUBLE_EQ(RunWith(r, "b")->format.fontPointSize(), 20.0);
    EXPECT_DOUBLE_EQ(RunWith(r, "c")->format.fontPointSize(), 10.5);
    EXPECT_DOUBLE_EQ(RunWith(r, "d")->format.fontPointSize(), 12.0);
    EXPECT_DOUBLE_EQ(RunWith(r, "e")->format.fontPointSize(), 18.0);
    EXPECT_DOUBLE_EQ(RunWith(r, "f")->format.fontPointSize(), 12.0);
}

TEST(RtfReaderFormat, ColourTableIndexesFromTheAutomaticColour) {
    const Reading r = Read(
        "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\cf1 r{\\cf2 b}\\cf0 a\\cf7 x\\cf2\\highlight1 h}");
    EXPECT_EQ(RunWith(r, "r")->format.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(RunWith(r, "b")->format.foreground().color(), QColor(0, 0, 255));
    EXPECT_FALSE(RunWith(r, "a")->format.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(RunWith(r, "x")->format.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(RunWith(r, "h")->format.foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(RunWith(r, "h")->format.background().color(), QColor(255, 0, 0));
}

TEST(RtfReaderFormat, ColourTableWithoutAutomaticEntryOrLastSemicolon) {
    const Reading r =
        Read("{\\rtf1{\\colortbl\\red0\\green128\\blue0;\\red9\\green9\\blue9}\\cf1 n}");
    EXPECT_EQ(RunWith(r, "n")->format.foreground().color(), QColor(9, 9, 9));
}

TEST(RtfReaderFormat, ParagraphAlignmentAndIndentApplyToTheirParagraph) {
    QTextDocument doc;
    RtfReader::Read("{\\rtf1\\qc centred\\par\\pard\\li300 indented\\par\\pard plain}", doc);
    ASSERT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(doc.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(doc.findBlockByNumber(1).blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(doc.findBlockByNumber(1).blockFormat().leftMargin(), 20.0);
    EXPECT_DOUBLE_EQ(doc.findBlockByNumber(2).blockFormat().leftMargin(), 0.0);
}

TEST(RtfReaderFormat, TabStopsBelongToTheParagraphThatSetsThem) {
    QTextDocument doc;
    RtfReader::Read("{\\rtf1\\tx1500\\tx3000 a\\tab b\\par\\pard c}", doc);
    const QList<QTextOption::Tab> tabs = doc.findBlockByNumber(0).blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_DOUBLE_EQ(tabs[0].position, 100.0);
    EXPECT_DOUBLE_EQ(tabs[1].position, 200.0);
    EXPECT_TRUE(doc.findBlockByNumber(1).blockFormat().tabPositions().isEmpty());
}

TEST(RtfReaderMalformed, TruncatedFilesKeepWhatWasRead) {
    Reading r = Read("{\\rtf1\\ansicpg932 \\'93\\'fa\\'96\\'7b{\\b bold");
    EXPECT_EQ(r.outcome, RtfReader::Outcome::Truncated);
    EXPECT_EQ(r.text, QStringLiteral("日本bold"));
    // Cut inside a double-byte character or inside an escape.
    EXPECT_EQ(Read("{\\rtf1\\ansicpg932 \\'93\\'fa\\'96").text, QStringLiteral("日\uFFFD"));
    EXPECT_EQ(Read("{\\rtf1 ab\\'9").text, QStringLiteral("ab"));
    EXPECT_EQ(Read("{\\rtf1 a\\'9xb}").text, QStringLiteral("axb"));
    EXPECT_EQ(Read("{\\rtf1 ab\\").text, QStringLiteral("ab"));
    EXPECT_EQ(Read("{\\rtf1 ab\\u").text, QStringLiteral("ab"));
    EXPECT_EQ(Read("{\\rtf1 ab\\bin999999999").text, QStringLiteral("ab"));
}

TEST(RtfReaderMalformed, InvalidBytesAndSurrogatesBecomeReplacementCharacters) {
    // 0xFF is no CP932 lead byte; a lone surrogate is no character.
    EXPECT_EQ(Read("{\\rtf1\\ansicpg932 a\\'ffb}").text, QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(Read("{\\rtf1 \\u-10179 x}").text, QStringLiteral("\uFFFD"));
    EXPECT_EQ(Read("{\\rtf1 \\u-8704?y}").text, QStringLiteral("\uFFFDy"));
}

TEST(RtfReaderMalformed, TextAfterTheOutermostGroupAndExtraBracesAreIgnored) {
    const Reading r = Read("{\\rtf1 in}}} out {\\b more}");
    EXPECT_EQ(r.outcome, RtfReader::Outcome::Complete);
    EXPECT_EQ(r.text, QStringLiteral("in"));
}

TEST(RtfReaderMalformed, HugeParametersAndDeepNestingEndQuickly) {
    QByteArray deep = "{\\rtf1 a";
    deep += QByteArray(200000, '{');
    deep += "\\b x";
    deep += QByteArray(200000, '}');
    deep += "\\fs99999999999999999999 \\cf-2147483648 \\uc99999999 \\u99999999999 y}";
    QElapsedTimer timer;
    timer.start();
    const Reading r = Read(deep);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_TRUE(r.text.startsWith(QStringLiteral("ax")));
}

TEST(RtfReaderPlainText, NonRichTextIsShownAsItIs) {
    Reading r = Read("plain 分子\nline");
    EXPECT_EQ(r.outcome, RtfReader::Outcome::PlainText);
    EXPECT_EQ(r.text, QStringLiteral("plain 分子\u2029line"));
    // Not UTF-8: the system's code page, CP932.
    r = Read("\x95\xaa\x8e\x71");
    EXPECT_EQ(r.text, QStringLiteral("分子"));
    EXPECT_EQ(Read("").text, QString());
}

TEST(RtfReaderPlainText, ReadingReplacesWhatTheDocumentHeld) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old"));
    RtfReader::Read("{\\rtf1 new}", doc);
    EXPECT_EQ(doc.toRawText(), QStringLiteral("new"));
}

namespace {

// A word of 1,600 characters alternating between formats, amid ordinary
// words. Its size stays one: Qt makes every line of such a word as tall as
// the tallest cluster anywhere after it, and puts the whole rest of it on one
// line once an italic cluster overhangs; the opportunities mend both, so
// those looks cannot stay the same.
QByteArray WideWordDocument(const char* paragraph) {
    QByteArray rtf = "{\\rtf1\\ansi{\\colortbl;\\red200\\green0\\blue0;}";
    rtf += paragraph;
    rtf += " lead words ";
    for (int i = 0; i < 800; ++i) rtf += i % 7 == 0 ? "{\\cf1\\ul W}k" : "\\b a\\b0 b";
    rtf += " and the words after it\\par}";
    return rtf;
}

QImage Rendered(const QByteArray& rtf, double widestLine, int width) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("IPAPGothic"), 12));
    RtfReader::Read(rtf, doc, widestLine);
    doc.setTextWidth(width);
    QImage image(width, static_cast<int>(doc.size().height()) + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    doc.drawContents(&painter);
    return image;
}

// The longest stretch of a document's text without a place the layout may
// break a line at.
qsizetype LongestUnbreakable(const QTextDocument& doc) {
    qsizetype longest = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
        qsizetype from = 0;
        for (qsizetype at = 0; at <= text.size(); ++at) {
            lines.setPosition(at);
            if (at == text.size() || text.at(at).isSpace() || lines.isAtBoundary()) {
                longest = std::max(longest, at - from);
                from = at < text.size() && text.at(at).isSpace() ? at + 1 : at;
            }
        }
    }
    return longest;
}

}  // namespace

// Break opportunities in a word wider than any line keep its layout linear;
// every line must still break where it did, in every alignment and in a
// paragraph whose negative indent widens its first line.
TEST(RtfReaderWideWords, LinesBreakWhereTheyDidWithoutTheOpportunities) {
    constexpr double kWidest = 320;
    for (const char* paragraph : {"\\ql", "\\qr", "\\qc", "\\li600\\fi-600"}) {
        const QByteArray rtf = WideWordDocument(paragraph);
        QTextDocument opened;
        RtfReader::Read(rtf, opened, kWidest);
        ASSERT_TRUE(opened.toPlainText().contains(QChar(0x000C))) << paragraph;
        for (const int width : {90, 233, 320}) {
            EXPECT_EQ(Rendered(rtf, kWidest, width), Rendered(rtf, 1e9, width))
                << paragraph << " at " << width << " px";
        }
    }
    // Justified lines spread the clusters of such a word: it stays whole.
    QTextDocument justified;
    RtfReader::Read(WideWordDocument("\\qj"), justified, kWidest);
    EXPECT_FALSE(justified.toPlainText().contains(QChar(0x000C)));
}

TEST(RtfReaderWideWords, NoLongStretchWithoutABreakOpportunityRemains) {
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 40000; ++i) rtf += "\\b a\\b0 b";
    rtf += "}";
    QTextDocument doc;
    RtfReader::Read(rtf, doc);
    EXPECT_LT(LongestUnbreakable(doc), 2000);
    // The same for plain text, and for a word that is no wider than a
    // line: it is left whole.
    RtfReader::Read(QByteArray(100000, 'x'), doc);
    EXPECT_LT(LongestUnbreakable(doc), 2000);
    RtfReader::Read(QByteArray(400, 'x'), doc);
    EXPECT_EQ(LongestUnbreakable(doc), 400);
}
