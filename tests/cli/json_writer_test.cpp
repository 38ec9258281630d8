// SPDX-License-Identifier: BSD-3-Clause
// The streaming JSON line beside Qt's JSON writer, which orbix-calc used
// before: the same number texts, escapes and key order; and lines of names
// that need escapes, parsed back.

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "OrbixCalc.h"
#include "orbix/cli/CalcJson.h"
#include "tests/support/TestMolecules.h"

namespace {

std::string Ours(double v) {
    char text[32];
    return std::string(text, static_cast<size_t>(CalcJson::NumberText(v, text)));
}

std::string Qts(double v) {
    const QByteArray a = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2).toStdString();  // inside "[...]"
}

double FromBits(std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

TEST(JsonNumbers, SameTextAsQtsWriter) {
    std::vector<double> values{0.0,
                               -0.0,
                               1.0,
                               -3.0,
                               100.0,
                               320.0,
                               0.5,
                               0.1,
                               1e-4,
                               1.23e-4,
                               0.001,
                               1e5,
                               1.5e6,
                               1.23e8,
                               12345678.9,
                               1e15,
                               9007199254740992.0,
                               9.0071e15,
                               9.0072e15,
                               -9.0072e15,
                               1e16,
                               1e21,
                               1e22,
                               1e100,
                               1e-100,
                               1.7976931348623157e308,
                               5e-324,
                               2.2250738585072014e-308,
                               0.7071067811865475,
                               -0.9999999999999998,
                               146.06741333007812,
                               1.2e-17,
                               std::nan(""),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity()};
    std::mt19937_64 rng(7);
    for (int i = 0; i < 200000; ++i) {
        const double d = FromBits(rng());
        if (std::isfinite(d)) values.push_back(d);
    }
    // Every decimal exponent a result can have, few significant digits and many.
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int e = -30; e <= 30; ++e) {
        for (int i = 0; i < 300; ++i) {
            const double scale = std::pow(10.0, e);
            values.push_back(unit(rng) * scale);
            values.push_back(std::round(unit(rng) * 1000) * scale);
        }
    }
    for (long long i = -1000; i <= 1000; ++i) values.push_back(static_cast<double>(i) / 8);
    int shown = 0;
    for (double v : values) {
        const std::string ours = Ours(v), qts = Qts(v);
        if (ours != qts && shown++ < 10)
            ADD_FAILURE() << "value " << std::hexfloat << v << std::defaultfloat << ": ours "
                          << ours << ", Qt's " << qts;
    }
    EXPECT_EQ(shown, 0) << "numbers written differently";
}

// A refused file: the arrays empty, the message and the name escaped.
QByteArray RefusalLine(const QString& file, const std::string& message) {
    CalcSession::Outcome outcome;
    outcome.code = CalcSession::kUnreadable;
    outcome.message = message;
    std::string line;
    CalcJson::AppendLine(line, file.toStdString(), outcome);
    return QByteArray::fromStdString(line);
}

QByteArray QtRefusalLine(const QString& file, const QString& message) {
    QJsonObject o;
    for (const char* key :
         {"AtomPos", "Cvec", "EigVal", "Hmat0", "LevelDeg", "LevelE", "Occ", "P", "grid"})
        o[key] = QJsonArray();
    for (const char* key : {"E_num", "Homo_num", "LevelCount", "n"}) o[key] = 0;
    o["Energy"] = 0.0;
    o["maxOff"] = 0.0;
    o["code"] = CalcSession::kUnreadable;
    o["csv"] = "";
    o["file"] = file;
    o["message"] = message;
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

TEST(JsonLine, RefusalMatchesQtsWriter) {
    const QString file = QString::fromUtf8("ベンゼン \"環\" \\ /tab\there\r\n.mol");
    const std::string message = "ファイル：" + file.toStdString() + "　のオープンに失敗しました。";
    EXPECT_EQ(RefusalLine(file, message).toStdString(),
              QtRefusalLine(file, QString::fromStdString(message)).toStdString());
}

TEST(JsonLine, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    // A Shift_JIS name in a message, a lone continuation byte, a truncated
    // sequence at the end: each read as Qt reads them.
    for (const std::string& bad : {std::string("\x83\x78\x83\x93\x83\x5b\x83\x93.mol"),
                                   std::string("a\x80z"), std::string("end\xe3\x81")}) {
        const std::string message = "ファイル：" + bad + "　のオープンに失敗しました。";
        const QByteArray ours = RefusalLine("x.mol", message);
        EXPECT_EQ(ours.toStdString(),
                  QtRefusalLine("x.mol", QString::fromStdString(message)).toStdString())
            << "message bytes " << QByteArray::fromStdString(bad).toHex().toStdString();
        EXPECT_TRUE(QByteArrayView(ours).isValidUtf8());
    }
}

TEST(JsonLine, IllFormedUtf8IsReplacedAsQtReplacesIt) {
    // Overlong forms, surrogates, beyond U+10FFFF, truncated and stray bytes,
    // mixed at random from the bytes where the rules change.
    const unsigned char pool[] = {'a',  0x7f, 0x80, 0x8f, 0x90, 0x9f, 0xa0, 0xbf,
                                  0xc0, 0xc1, 0xc2, 0xdf, 0xe0, 0xe1, 0xed, 0xee,
                                  0xef, 0xf0, 0xf1, 0xf4, 0xf5, 0xf8, 0xfe, 0xff};
    std::mt19937 random(21);
    int shown = 0;
    for (int i = 0; i < 20000 && shown < 5; ++i) {
        std::string bytes(random() % 7, ' ');
        for (char& ch : bytes) ch = static_cast<char>(pool[random() % sizeof pool]);
        const std::string ours = CalcJson::ValidUtf8(bytes);
        const std::string qts = QString::fromUtf8(bytes).toUtf8().toStdString();
        if (ours != qts)
            ADD_FAILURE() << "bytes " << QByteArray::fromStdString(bytes).toHex(' ').toStdString()
                          << ": ours " << QByteArray::fromStdString(ours).toHex(' ').toStdString()
                          << ", Qt's " << QByteArray::fromStdString(qts).toHex(' ').toStdString()
                          << (++shown, "");
    }
}

TEST(JsonLine, OtherControlCharactersReadBackTheSame) {
    // Escaped as \u00XX; only the case of the hex digits may differ from Qt's.
    const QString file = QString("a") + QChar(1) + QChar(0x1f) + QChar(0x7f) + "b.mol";
    const QJsonObject o = QJsonDocument::fromJson(RefusalLine(file, "m")).object();
    EXPECT_EQ(o["file"].toString(), file);
    EXPECT_EQ(o["code"].toInt(), CalcSession::kUnreadable);
}

}  // namespace

namespace {

// A result is written later, on another thread, once the next file has been
// calculated: it must not depend on the calculation's arrays any more.
TEST(JsonLine, ResultIsWrittenTheSameAfterTheNextCalculation) {
    testing_support::UseShippedAtoms();
    const CalcSession::Outcome benzene =
        testing_support::Calculate(testing_support::kBenzeneAtoms, testing_support::kBenzeneBonds);
    ASSERT_EQ(benzene.code, CalcSession::kAccepted);
    std::string now;
    CalcJson::AppendLine(now, "benzene.mol", benzene);
    const CalcJson::Result kept = CalcJson::TakeResult("benzene.mol", benzene);

    // Allyl radical with a nitrogen: other size, levels and occupation.
    ASSERT_EQ(testing_support::Calculate("2-1,3-1,4-2", "2-3,3-4").code, CalcSession::kAccepted);
    std::string later;
    CalcJson::AppendLine(later, kept);
    EXPECT_EQ(later, now);
    EXPECT_NE(now.find("\"n\":6}"), std::string::npos);
}

TEST(JsonLine, NamesWithQuotesBackslashesAndControlsReadBack) {
    // Through orbix-calc itself: a molecule that calculates and one that is
    // missing, whose message repeats the name; each line parsed back.
    QTemporaryDir dir;
    const QString name = QString::fromUtf8("a \"b\" c\\d\te\x01f\nベンゼン");
    const QString found = dir.filePath(name + ".mol"), missing = dir.filePath(name + "-none.mol");
    {
        QFile f(found);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n");
    }
    const Outcome r = Calc({"--json", found, missing});
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 3) << "two lines and the end: " << r.out.toStdString();
    const struct {
        QString file, message;
        int code;
    } want[] = {
        {found, "", CalcSession::kAccepted},
        {missing, "ファイル：" + missing + "　のオープンに失敗しました。",
         CalcSession::kUnreadable},
    };
    for (int i = 0; i < 2; ++i) {
        rapidjson::Document d;
        d.Parse(lines[i].constData(), static_cast<size_t>(lines[i].size()));
        ASSERT_FALSE(d.HasParseError()) << "line " << i << " at " << d.GetErrorOffset();
        const auto text = [&d](const char* key) {
            return QString::fromUtf8(d[key].GetString(), d[key].GetStringLength());
        };
        EXPECT_EQ(text("file"), want[i].file) << i;
        EXPECT_EQ(text("message"), want[i].message) << i;
        EXPECT_EQ(d["code"].GetInt(), want[i].code) << i;
    }
}

}  // namespace
