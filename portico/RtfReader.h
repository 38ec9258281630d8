// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <QByteArray>

class QTextDocument;

// Reads the rich text (RTF) of the course documents into a QTextDocument:
// groups, paragraphs and line breaks, tabs, bold, italic, underline, strike,
// super- and subscript, font sizes, the colour table with text and highlight
// colours, paragraph alignment, indents and tab stops, \'hh escapes in the document's
// code page (\ansicpg) and \uN escapes with their fallback characters.
// The font table and unknown destinations (\*) are skipped.
namespace RtfReader {

enum class Outcome {
    Complete,   // read to the end of the outermost group
    Truncated,  // the data ended inside a group: what was read is kept
    PlainText,  // not rich text: shown as plain text (UTF-8 when valid, else CP932)
};

// The widest text area a viewer gives a document, in pixels, unless it says
// otherwise.
constexpr double kWidestLine = 4096;

// Replaces the contents of doc with the text of data. Never throws; reads
// any byte sequence in time linear in its length. Words wider than widestLine
// get invisible break opportunities that keep the document's layout linear
// without moving a line break in any viewer up to that width (WideWords.h).
Outcome Read(const QByteArray& data, QTextDocument& doc, double widestLine = kWidestLine);

}  // namespace RtfReader
