// SPDX-License-Identifier: BSD-3-Clause
// The shipped course documents: they read as complete rich text, the
// exercises and the answers pose the same problems, and every number the
// answers quote is the one the calculation gives.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "portico/RtfReader.h"

namespace {

const QString kProgramDir = QStringLiteral(ORBIX_PROGRAM_DIR);

QString DocumentText(int n, RtfReader::Outcome* outcome = nullptr) {
    QFile file(kProgramDir + QStringLiteral("document%1.rtf").arg(n));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << file.fileName().toStdString();
        return {};
    }
    QTextDocument doc;
    const RtfReader::Outcome o = RtfReader::Read(file.readAll(), doc);
    if (outcome) *outcome = o;
    return doc.toPlainText();
}

struct Exercise {
    int number;
    QString title;
    QString tpl;
    QString text;
};

std::vector<Exercise> Exercises(const QString& text) {
    static const QRegularExpression heading(QStringLiteral("^問題(\\d+)　(.+)$"),
                                            QRegularExpression::MultilineOption);
    static const QRegularExpression tpl(QStringLiteral("テンプレート：(\\S+\\.tpl)"));
    std::vector<Exercise> found;
    auto it = heading.globalMatch(text);
    std::vector<QRegularExpressionMatch> heads;
    while (it.hasNext()) heads.push_back(it.next());
    for (size_t i = 0; i < heads.size(); ++i) {
        const qsizetype end = i + 1 < heads.size() ? heads[i + 1].capturedStart() : text.size();
        Exercise e{heads[i].captured(1).toInt(),
                   heads[i].captured(2).trimmed(),
                   {},
                   text.mid(heads[i].capturedStart(), end - heads[i].capturedStart())};
        e.tpl = tpl.match(e.text).captured(1);
        found.push_back(e);
    }
    return found;
}

// The calculation of one template, from the headless calculator.
QJsonObject Calculate(const QString& tpl) {
    QProcess calc;
    calc.start(kProgramDir + QStringLiteral("orbix-calc"),
               {QStringLiteral("--json"), kProgramDir + QStringLiteral("template/") + tpl});
    if (!calc.waitForFinished(30000) || calc.exitCode() != 0) {
        ADD_FAILURE() << "orbix-calc failed on " << tpl.toStdString() << ": "
                      << calc.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(calc.readAllStandardOutput().split('\n').front()).object();
}

double Value(const QString& quoted) {
    QString t = quoted;
    t.replace(QChar(0x2212), QLatin1Char('-'));
    return t.toDouble();
}

// A quoted number agrees when it is the value rounded to the decimals shown.
void ExpectQuoted(const QString& quoted, double value, const std::string& what) {
    const qsizetype dot = quoted.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : static_cast<int>(quoted.size() - dot - 1);
    EXPECT_LE(std::fabs(Value(quoted) - value), 0.5 * std::pow(10.0, -decimals) + 1e-9)
        << what << ": quoted " << quoted.toStdString() << ", computed " << value;
}

class AnswerChecker {
  public:
    AnswerChecker(const Exercise& e, const QJsonObject& r)
        : e_(e), r_(r), covered_(e.text.size(), false) {
        n_ = r["n"].toInt();
    }

    double At(const char* key, int i) const { return r_[key].toArray()[i].toDouble(); }
    double At(const char* key, int i, int j) const {
        return r_[key].toArray()[i].toArray()[j].toDouble();
    }
    bool Bonded(int i, int j) const { return i != j && At("Hmat0", i, j) != 0.0; }

    // Every match of pattern, handed to check; returns the number of matches.
    // With onlyFresh, matches that start inside text an earlier check read
    // are passed over.
    template <typename Check>
    int Each(const QString& pattern, Check check, bool onlyFresh = false) {
        int count = 0;
        auto it = QRegularExpression(pattern).globalMatch(e_.text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (onlyFresh && covered_[static_cast<size_t>(m.capturedStart())]) continue;
            for (qsizetype i = m.capturedStart(); i < m.capturedEnd(); ++i)
                covered_[static_cast<size_t>(i)] = true;
            check(m);
            ++count;
        }
        return count;
    }

    bool Index(int i) const {
        if (i >= 0 && i < n_) return true;
        ADD_FAILURE() << "index " << i + 1 << " outside the molecule";
        return false;
    }

    // Decimal numbers that no checked pattern quoted.
    QStringList Unchecked() const {
        QStringList left;
        auto it = QRegularExpression(QStringLiteral("\\d+\\.\\d+")).globalMatch(e_.text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (!covered_[static_cast<size_t>(m.capturedStart())]) left << m.captured();
        }
        return left;
    }

    int n_ = 0;

  private:
    const Exercise& e_;
    const QJsonObject& r_;
    std::vector<bool> covered_;
};

const QString kNum = QStringLiteral("([\u2212-]?\\d+\\.\\d+)");

// The β coefficient of the total π energy with the given number of electrons
// in the orbitals of x (most bonding first), two to an orbital. How electrons
// share a degenerate level does not change the sum.
double EnergyWith(int electrons, const QJsonArray& x) {
    double sum = 0.0;
    for (int k = 0; electrons > 0 && k < x.size(); ++k, electrons -= 2)
        sum += std::min(electrons, 2) * x[k].toDouble();
    return sum;
}

}  // namespace

TEST(CourseDocuments, ShippedDocumentsAreCompleteRichText) {
    const char* titles[] = {"XMO法とは", "分子軌道法 練習問題", "分子軌道法 練習問題・解答"};
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        RtfReader::Outcome outcome{};
        const QString text = DocumentText(n, &outcome);
        EXPECT_EQ(outcome, RtfReader::Outcome::Complete);
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(titles[n - 1])))
            << text.left(40).toStdString();
        EXPECT_FALSE(text.contains(QChar(QChar::ReplacementCharacter)));
        EXPECT_FALSE(text.contains(QLatin1Char('?'))) << "a fallback character was shown";
    }
}

TEST(CourseDocuments, ExercisesAndAnswersPoseTheSameProblems) {
    const std::vector<Exercise> problems = Exercises(DocumentText(2));
    const std::vector<Exercise> answers = Exercises(DocumentText(3));
    ASSERT_GE(problems.size(), 8u);
    ASSERT_EQ(problems.size(), answers.size());
    for (size_t i = 0; i < problems.size(); ++i) {
        SCOPED_TRACE(problems[i].title.toStdString());
        EXPECT_EQ(problems[i].number, static_cast<int>(i + 1));
        EXPECT_EQ(problems[i].title, answers[i].title);
        EXPECT_EQ(problems[i].tpl, answers[i].tpl);
        EXPECT_TRUE(QFileInfo::exists(kProgramDir + QStringLiteral("template/") + problems[i].tpl));
        EXPECT_FALSE(problems[i].text.contains(QStringLiteral("解答")));
        EXPECT_TRUE(answers[i].text.contains(QStringLiteral("解答")));
    }
}

TEST(CourseDocuments, AnswersQuoteTheNumbersOrbixComputes) {
    const std::vector<Exercise> exercises = Exercises(DocumentText(3));
    ASSERT_GE(exercises.size(), 8u);
    for (const Exercise& e : exercises) {
        SCOPED_TRACE(e.title.toStdString() + " (" + e.tpl.toStdString() + ")");
        const QJsonObject r = Calculate(e.tpl);
        ASSERT_EQ(r["code"].toInt(-1), 0);
        AnswerChecker c(e, r);
        const int n = c.n_;
        const int electrons = r["E_num"].toInt();
        const int homo = r["Homo_num"].toInt();
        int bonds = 0;
        bool hetero = false;
        for (int i = 0; i < n; ++i) {
            hetero = hetero || c.At("Hmat0", i, i) != 0.0;
            for (int j = i + 1; j < n; ++j) bonds += c.Bonded(i, j);
        }

        EXPECT_EQ(
            c.Each(QStringLiteral("π電子数 N = (\\d+)，(HOMO|SOMO) は φ(\\d+)，LUMO は φ(\\d+)"),
                   [&](const QRegularExpressionMatch& m) {
                       EXPECT_EQ(m.captured(1).toInt(), electrons);
                       EXPECT_EQ(m.captured(2),
                                 electrons % 2 ? QStringLiteral("SOMO") : QStringLiteral("HOMO"));
                       EXPECT_EQ(m.captured(3).toInt(), homo);
                       EXPECT_EQ(m.captured(4).toInt(), homo + 1);
                   }),
            1);
        EXPECT_EQ(c.Each(QStringLiteral("x(\\d+) = ") + kNum,
                         [&](const QRegularExpressionMatch& m) {
                             const int k = m.captured(1).toInt() - 1;
                             if (c.Index(k))
                                 ExpectQuoted(m.captured(2), c.At("EigVal", k),
                                              "x" + m.captured(1).toStdString());
                         }),
                  n);
        EXPECT_EQ(c.Each(QStringLiteral("E = (\\d+)α \\+ ") + kNum + QStringLiteral("β"),
                         [&](const QRegularExpressionMatch& m) {
                             EXPECT_EQ(m.captured(1).toInt(), electrons);
                             ExpectQuoted(m.captured(2), r["Energy"].toDouble(), "E");
                         }),
                  1);
        EXPECT_EQ(c.Each(QStringLiteral("q(\\d+) = ") + kNum,
                         [&](const QRegularExpressionMatch& m) {
                             const int i = m.captured(1).toInt() - 1;
                             if (c.Index(i))
                                 ExpectQuoted(m.captured(2), c.At("P", i, i),
                                              "q" + m.captured(1).toStdString());
                         }),
                  n);
        EXPECT_EQ(c.Each(QStringLiteral("p\\((\\d+),(\\d+)\\) = ") + kNum +
                             QStringLiteral("（画面 ") + kNum + QStringLiteral("）"),
                         [&](const QRegularExpressionMatch& m) {
                             const int i = m.captured(1).toInt() - 1, j = m.captured(2).toInt() - 1;
                             if (!c.Index(i) || !c.Index(j)) return;
                             EXPECT_TRUE(c.Bonded(i, j)) << m.captured().toStdString();
                             ExpectQuoted(m.captured(3), c.At("P", i, j),
                                          m.captured().toStdString());
                             ExpectQuoted(m.captured(4), 1.0 + c.At("P", i, j),
                                          m.captured().toStdString());
                         }),
                  bonds);
        EXPECT_EQ(c.Each(QStringLiteral("h(\\d+) = ") + kNum,
                         [&](const QRegularExpressionMatch& m) {
                             const int i = m.captured(1).toInt() - 1;
                             if (c.Index(i))
                                 ExpectQuoted(m.captured(2), c.At("Hmat0", i, i),
                                              m.captured().toStdString());
                         }),
                  hetero ? n : 0);
        EXPECT_EQ(c.Each(QStringLiteral("k\\((\\d+),(\\d+)\\) = ") + kNum,
                         [&](const QRegularExpressionMatch& m) {
                             const int i = m.captured(1).toInt() - 1, j = m.captured(2).toInt() - 1;
                             if (!c.Index(i) || !c.Index(j)) return;
                             EXPECT_TRUE(c.Bonded(i, j)) << m.captured().toStdString();
                             ExpectQuoted(m.captured(3), c.At("Hmat0", i, j),
                                          m.captured().toStdString());
                         }),
                  hetero ? bonds : 0);
        c.Each(QStringLiteral("非局在化エネルギー：") + kNum + QStringLiteral("β − ") + kNum +
                   QStringLiteral("β = ") + kNum +
                   QStringLiteral("β（局在構造：孤立した二重結合 (\\d+) 本(?:と、孤立した 2p "
                                  "軌道の電子 (\\d+) 個)?）"),
               [&](const QRegularExpressionMatch& m) {
                   const std::string line = m.captured().toStdString();
                   ExpectQuoted(m.captured(1), r["Energy"].toDouble(),
                                "total energy of the delocalisation");
                   // The localised reference: 2β for every isolated double bond, and
                   // α (nothing of β) for each electron left in an isolated 2p orbital;
                   // together they hold every π electron of the molecule.
                   const int doubleBonds = m.captured(4).toInt();
                   const int leftOver = m.captured(5).toInt();
                   ExpectQuoted(m.captured(2), 2.0 * doubleBonds, line);
                   EXPECT_EQ(2 * doubleBonds + leftOver, electrons) << line;
                   EXPECT_LE(doubleBonds, bonds) << line;
                   ExpectQuoted(m.captured(3), r["Energy"].toDouble() - 2.0 * doubleBonds, line);
               });
        c.Each(QStringLiteral("ΔE = ") + kNum + QStringLiteral("\\|β\\|"),
               [&](const QRegularExpressionMatch& m) {
                   ExpectQuoted(m.captured(1), c.At("EigVal", homo - 1) - c.At("EigVal", homo),
                                "HOMO-LUMO gap");
               });
        c.Each(QStringLiteral("φ(\\d+) = ([^\\n]+)"), [&](const QRegularExpressionMatch& m) {
            const int k = m.captured(1).toInt() - 1;
            if (!c.Index(k)) return;
            static const QRegularExpression term(
                QStringLiteral("([+\u2212-])?\\s*(\\d+\\.\\d+)χ(\\d+)"));
            auto it = term.globalMatch(m.captured(2));
            int terms = 0;
            while (it.hasNext()) {
                const QRegularExpressionMatch t = it.next();
                const int atom = t.captured(3).toInt() - 1;
                if (!c.Index(atom)) continue;
                const QString quoted =
                    (t.captured(1) == QStringLiteral("+") ? QString() : t.captured(1)) +
                    t.captured(2);
                ExpectQuoted(quoted, c.At("Cvec", atom, k), m.captured().toStdString());
                ++terms;
            }
            EXPECT_EQ(terms, n) << m.captured().toStdString();
        });
        // Energies quoted in the explanations, for this or another number of
        // electrons (the ions of a radical).
        c.Each(
            QStringLiteral("(\\d+)α \\+ ") + kNum + QStringLiteral("β"),
            [&](const QRegularExpressionMatch& m) {
                const int count = m.captured(1).toInt();
                EXPECT_LE(count, 2 * n) << m.captured().toStdString();
                ExpectQuoted(m.captured(2), EnergyWith(count, r["EigVal"].toArray()),
                             m.captured().toStdString());
            },
            true);
        EXPECT_TRUE(c.Unchecked().isEmpty())
            << "numbers no check reads: " << c.Unchecked().join(" ").toStdString();
    }
}
