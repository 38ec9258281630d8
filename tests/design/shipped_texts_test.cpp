// SPDX-License-Identifier: BSD-3-Clause
// The shipped help text, readme page and course documents against the
// program they describe: every molecule-file example loads in the design
// window and is what the program writes back, and every name they quote in
// 「」 is a name the student finds on the screen.

#include <gtest/gtest.h>

#include <QAction>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <string>
#include <vector>

#include "orbix/model/modCommon.h"
#include "portico/RtfReader.h"
#include "tests/design/DesignFixture.h"

namespace {

const QString kProgramDir = QStringLiteral(ORBIX_PROGRAM_DIR);

QString HelpText() {
    std::string text;
    EXPECT_EQ(modCommon::ReadTextFile((kProgramDir + "Orbix.hlp").toStdString(), text), 1);
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString ReadmeHtml() {
    QFile f(kProgramDir + "readme.html");
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << "readme.html";
    return QString::fromUtf8(f.readAll());
}

QString ReadmeText() {
    QTextDocument doc;
    doc.setHtml(ReadmeHtml());
    return doc.toPlainText();
}

QString DocumentText(int n) {
    QFile f(kProgramDir + QStringLiteral("document%1.rtf").arg(n));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << n;
    QTextDocument doc;
    RtfReader::Read(f.readAll(), doc);
    return doc.toPlainText();
}

struct Example {
    QString where;
    QStringList lines;  // "[Atom]=..." and, when there are bonds, "[Bond]=..."
};

QString Trimmed(const QString& line) {
    QString t = line;
    while (!t.isEmpty() && (t.front().isSpace() || t.front() == QChar(0x3000))) t.remove(0, 1);
    return t.trimmed();
}

// The help marks an example with a line that begins "例："; the file's lines
// follow it.
std::vector<Example> HelpExamples(const QString& help) {
    std::vector<Example> found;
    const QStringList lines = help.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (!Trimmed(lines[i]).startsWith(QStringLiteral("例："))) continue;
        Example e{QStringLiteral("Orbix.hlp: ") + Trimmed(lines[i]), {}};
        for (int j = i + 1; j < lines.size() && Trimmed(lines[j]).startsWith('['); ++j)
            e.lines << Trimmed(lines[j]);
        found.push_back(e);
    }
    return found;
}

// The readme marks an example as <pre class="molecule-file">.
std::vector<Example> ReadmeExamples(const QString& html) {
    std::vector<Example> found;
    static const QRegularExpression pre(QStringLiteral("<pre class=\"molecule-file\">(.*?)</pre>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    auto it = pre.globalMatch(html);
    while (it.hasNext()) {
        Example e{QStringLiteral("readme.html"), {}};
        for (const QString& l : it.next().captured(1).split('\n'))
            if (!Trimmed(l).isEmpty()) e.lines << Trimmed(l);
        found.push_back(e);
    }
    return found;
}

class ShippedTexts : public DesignWindowTest {
  protected:
    // Opens the example as a molecule file, then saves it under a new name:
    // it must load without a message and come back as the program writes it.
    void ExpectLoadsAndRoundTrips(const Example& e) {
        SCOPED_TRACE(e.where.toStdString() + "\n" + e.lines.join('\n').toStdString());
        ASSERT_FALSE(e.lines.isEmpty()) << "an example without lines";
        const QString text = e.lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        const QString in = dir.filePath(QStringLiteral("example.mol"));
        const QString out = dir.filePath(QStringLiteral("saved.mol"));
        QFile::remove(out);
        ASSERT_NO_FATAL_FAILURE(WriteFile(in, text.toLatin1()));
        const size_t before = dlg.messages.size();
        dlg.files.push_back(in);
        form->mnuFileOpen_Click();
        ASSERT_EQ(dlg.messages.size(), before)
            << "refused: " << dlg.messages.back().text.toStdString();
        EXPECT_FALSE(form->Drawing().colSites().empty());
        dlg.files.push_back(out);
        form->mnuFileSaveAs_Click();
        QFile saved(out);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromLatin1(saved.readAll()), text);
        // A drawing that loads is also one the calculation accepts.
        form->mnuMoveCalc_Click();
        EXPECT_EQ(dlg.messages.size(), before)
            << "calculation refused: " << dlg.messages.back().text.toStdString();
        EXPECT_TRUE(frmResult::Current());
        frmResult::CloseForExit();
        QApplication::processEvents();
    }
};

// A menu or button caption as a text may quote it: "開く(&O)..." as
// "開く(O)...", "開く(O)" or "開く".
void AddCaption(QSet<QString>& names, QString caption) {
    caption.remove(QLatin1Char('&'));
    if (caption.isEmpty()) return;
    names << caption;
    if (caption.endsWith(QStringLiteral("..."))) caption.chop(3);
    names << caption;
    static const QRegularExpression key(QStringLiteral("\\([A-Z]\\)$"));
    names << caption.remove(key);
}

void AddWindowNames(QSet<QString>& names, const QWidget& window) {
    for (const QAction* a : window.findChildren<QAction*>()) AddCaption(names, a->text());
}

QStringList Quoted(const QString& text) {
    QStringList quotes;
    static const QRegularExpression quote(QStringLiteral("「([^」]*)」"));
    auto it = quote.globalMatch(text);
    while (it.hasNext()) quotes << it.next().captured(1);
    return quotes;
}

}  // namespace

TEST_F(ShippedTexts, MoleculeFileExamplesLoadAndAreWhatTheProgramWrites) {
    const QString help = HelpText();
    const QString html = ReadmeHtml();
    std::vector<Example> examples = HelpExamples(help);
    EXPECT_GE(examples.size(), 1u) << "no example marked in Orbix.hlp";
    const std::vector<Example> readme = ReadmeExamples(html);
    EXPECT_GE(readme.size(), 1u) << "no example marked in readme.html";
    examples.insert(examples.end(), readme.begin(), readme.end());
    for (const Example& e : examples) ExpectLoadsAndRoundTrips(e);

    // Any other "[Atom]=" line describes the format in words, not an example
    // that escaped the marking.
    int marked = 0;
    for (const Example& e : examples) marked += static_cast<int>(e.lines.filter("[Atom]=").size());
    int described = 0, total = 0;
    for (const QString& text : {help, ReadmeText()}) {
        for (const QString& line : text.split('\n')) {
            if (!line.contains(QStringLiteral("[Atom]="))) continue;
            ++total;
            if (line.contains(QStringLiteral("格子点の番号"))) ++described;
        }
    }
    EXPECT_EQ(total, marked + described) << "an [Atom]= line outside the marked examples";
}

TEST_F(ShippedTexts, QuotedNamesAreOnTheScreen) {
    QSet<QString> names;
    AddWindowNames(names, *form);
    for (int i = 1; i <= modOrbix::colAtoms.Count(); ++i)
        names << QString::fromStdString(modOrbix::colAtoms.Item(i)->Caption());

    // The messages the texts quote, as the program shows them: a drawing that
    // is no molecule, and the output dialogs cancelled.
    for (std::int16_t site : {2, 3}) form->imgAtom_MouseDown(site, Qt::LeftButton);
    form->mnuMoveCalc_Click();
    for (const auto& m : dlg.messages) names << m.text;
    form->ConnectAtom(form->Drawing().colSites());
    form->mnuMoveCalc_Click();
    frmResult* result = frmResult::Current();
    ASSERT_TRUE(result);
    AddWindowNames(names, *result);
    for (QTreeWidgetItemIterator it(&result->tvwMenu()); *it; ++it) names << (*it)->text(0);
    dlg.files.push_back(std::nullopt);
    result->mnuOutputFile_Click();
    dlg.printers.push_back(std::nullopt);
    result->mnuOutputPrint_Click();
    for (const auto& m : dlg.messages) names << m.text;

    // Drawn on the orbital pages; and the launcher's buttons, which name the
    // documents.
    for (const char* text : {"ＨＯＭＯです", "ＬＵＭＯです", "ＳＯＭＯです", "計算しています",
                             "XMO法とは", "実践　XMO", "練習問題", "練習問題・解答"})
        names << QString::fromUtf8(text);

    struct Source {
        const char* name;
        QString text;
    };
    const std::vector<Source> sources = {{"Orbix.hlp", HelpText()},
                                         {"readme.html", ReadmeText()},
                                         {"document1.rtf", DocumentText(1)},
                                         {"document2.rtf", DocumentText(2)},
                                         {"document3.rtf", DocumentText(3)}};
    for (const Source& s : sources) {
        const QStringList quotes = Quoted(s.text);
        EXPECT_FALSE(quotes.isEmpty()) << s.name << " quotes no name";
        for (const QString& q : quotes)
            EXPECT_TRUE(names.contains(q)) << s.name << ": 「" << q.toStdString()
                                           << "」 is no name of a menu, button, tree node, "
                                              "element or message";
    }
}
