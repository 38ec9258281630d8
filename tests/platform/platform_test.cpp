// SPDX-License-Identifier: BSD-3-Clause
// The platform stand-ins: pauses, the image-backed page, filters, twips.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QTimer>

#include "orbix/platform/Dialogs.h"
#include "orbix/platform/ImageSurface.h"
#include "orbix/platform/ScriptedDialogs.h"
#include "orbix/platform/Twips.h"
#include "orbix/platform/WaitSeconds.h"

namespace {

using namespace modCalculation;

TEST(WaitSeconds, LastsItsTimeAndKeepsEventsRunning) {
    modCommon::testing::MillisecondsPerSecond = 40;
    int ticks = 0;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] { ++ticks; });
    t.start(5);
    QElapsedTimer clock;
    clock.start();
    modCommon::WaitSeconds(2);
    const qint64 took = clock.elapsed();
    modCommon::testing::MillisecondsPerSecond = 1000;
    EXPECT_GE(took, 80);
    EXPECT_LT(took, 1000);
    EXPECT_GE(ticks, 3) << "events did not run during the pause";
    clock.restart();
    modCommon::WaitSeconds(0);
    EXPECT_LT(clock.elapsed(), 50);
}

TEST(ImageSurface, UserScaleMapsPageUnitsToPixels) {
    orbix::ImageSurface s;
    s.resize(840, 450);
    s.Scale(-200, -50, 640, 400);  // 1 pixel per unit
    EXPECT_EQ(s.PageToPixel(QPointF(0, 0)), QPointF(200, 50));
    EXPECT_EQ(s.PageToPixel(QPointF(640, 400)), QPointF(840, 450));
    s.BackColor(QColor(223, 228, 211));
    s.Cls();
    EXPECT_EQ(s.Image().pixelColor(10, 10), QColor(223, 228, 211));
    s.PSet(10, 20, colour::kRed);
    EXPECT_EQ(s.Image().pixelColor(210, 70), QColor(255, 0, 0));
    s.Line(0, 100, 100, 100, colour::kBlue);
    EXPECT_EQ(s.Image().pixelColor(250, 150), QColor(0, 0, 255));
    s.FillSolid(true);
    s.FillColor(colour::kTeal);
    s.Circle(300, 200, 20, colour::kTeal);
    EXPECT_EQ(s.Image().pixelColor(500, 250), QColor(0, 128, 128));
    // The drawing persists until the next Cls.
    s.Cls();
    EXPECT_EQ(s.Image().pixelColor(210, 70), QColor(223, 228, 211));
}

TEST(ImageSurface, TextAdvancesThePositionAndHidesTheGrid) {
    orbix::ImageSurface s;
    s.resize(640, 400);
    s.Scale(0, 0, 640, 400);
    s.MoveTo(100, 10);
    s.Print("全エネルギー", false);
    EXPECT_GT(s.CurrentX(), 100 + 6 * 8);
    EXPECT_EQ(s.CurrentY(), 10);
    s.Print("", true);
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_FLOAT_EQ(s.CurrentY(), 10 + s.TextHeight());
    int hidden = 0;
    s.onHideGrid = [&] { ++hidden; };
    s.HideGrid();
    EXPECT_EQ(hidden, 1);
    // DoEvents tells a page whether it is still the one on the surface.
    EXPECT_TRUE(s.DoEvents());
    s.Abandon();
    EXPECT_FALSE(s.DoEvents());
}

TEST(Dialogs, FilterAndTwips) {
    EXPECT_EQ(orbix::QtFilter(QStringLiteral("CSVﾌｧｲﾙ (*.csv)|*.csv")),
              QStringLiteral("CSVﾌｧｲﾙ (*.csv)"));
    EXPECT_EQ(orbix::QtFilter(QStringLiteral("分子 (*.mol)|*.mol|テンプレート|*.tpl")),
              QStringLiteral("分子 (*.mol);;テンプレート (*.tpl)"));
    EXPECT_NEAR(orbix::TwipsPerPixelX(), 15, 1e-9);  // the offscreen screen has 96 DPI
    EXPECT_EQ(orbix::TwipsToPixelsX(3015), 201);
}

TEST(Dialogs, ScriptAnswersAndRecords) {
    orbix::ScriptedDialogs d;
    d.answers = {orbix::MsgAnswer::kYes};
    EXPECT_EQ(d.Message("q", "t", orbix::MsgButtons::kYesNo, orbix::MsgIcon::kNone),
              orbix::MsgAnswer::kYes);
    EXPECT_EQ(d.Message("q", "t", orbix::MsgButtons::kYesNo, orbix::MsgIcon::kNone),
              orbix::MsgAnswer::kNo);
    EXPECT_EQ(d.unexpected, 1);
    EXPECT_EQ(d.Message("m", "t", orbix::MsgButtons::kOk, orbix::MsgIcon::kCritical),
              orbix::MsgAnswer::kOk);
    EXPECT_EQ(d.unexpected, 1);
    orbix::FileRequest r;
    d.files = {QStringLiteral("/x/a.csv")};
    EXPECT_TRUE(d.SaveFile(r));
    EXPECT_EQ(r.fileName, QStringLiteral("/x/a.csv"));
    QPrinter p;
    d.printers = {std::nullopt};
    EXPECT_FALSE(d.Printer(p, "t"));
}

TEST(QtDialogs, MessageTextIsPlainText) {
    // A file name that looks like HTML must show as written, not as a heading.
    const QString text =
        QStringLiteral("ファイル：<h1>X<img src=a>.mol　のオープンに失敗しました。");
    QString shown;
    Qt::TextFormat format = Qt::RichText;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        format = box->textFormat();
        for (QLabel* label : box->findChildren<QLabel*>())
            if (label->text() == text) shown = label->text();
        box->accept();
    });
    answer.start(10);
    orbix::QtDialogs dialogs;
    dialogs.Message(text, "Orbix", orbix::MsgButtons::kOk, orbix::MsgIcon::kCritical);
    EXPECT_EQ(format, Qt::PlainText) << text.toStdString();
    EXPECT_EQ(shown, text) << "the label shows the text as it is";
}

}  // namespace
