// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <QFont>
#include <QString>
#include <QTextCharFormat>
#include <vector>

// Qt's line breaker looks for the end of a word before it breaks the word, on
// every line the word fills: a paragraph-long word takes time quadratic in its
// length to lay out. A word wider than any line always starts a line and is
// broken after its last character cluster that fits, so past the part of it
// that no line can hold, a zero-width breakable white space (U+000C) after each
// cluster ends that search early and leaves every line break where it was.
// Two looks of Qt's own change with it, both from that search: each line of
// such a word was as tall as the tallest cluster anywhere after it, and an
// overhanging italic cluster left the whole rest of the word on one line.
namespace WideWords {

struct Run {
    QString text;
    QTextCharFormat format;
};

// Adds the break opportunities to the runs of one paragraph. base is the font
// the formats are resolved against, widestLine the widest line in pixels that
// the paragraph can be laid out in. Clusters of scripts whose shaping reaches
// across clusters (joining, conjuncts) are left together.
void Open(std::vector<Run>& runs, const QFont& base, double widestLine);

}  // namespace WideWords
