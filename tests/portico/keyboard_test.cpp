// SPDX-License-Identifier: BSD-3-Clause
// The launcher from the keyboard, and the call a second launcher makes.

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "PorticoFixture.h"
#include "portico/RunningInstance.h"

namespace {

class PorticoKeys : public PorticoTest {};

TEST_F(PorticoKeys, EnterPressesTheFocusedButtonAndTheFocusStaysOnIt) {
    CopyDocuments();
    frmMainMenu menu(Folder());
    menu.show();
    QApplication::setActiveWindow(&menu);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu));
    QPushButton* first = menu.cmdDocument[1];
    first->setFocus();
    bool disabledWhileOpening = false;
    frmMainMenu::OpeningProbe = [&](std::int16_t) { disabledWhileOpening = !first->isEnabled(); };
    QTest::keyClick(first, Qt::Key_Return);
    ASSERT_EQ(Viewers().size(), 1u) << "Enter opened no document";
    EXPECT_TRUE(disabledWhileOpening);
    EXPECT_EQ(menu.focusWidget(), first)
        << "focus on "
        << (menu.focusWidget() ? menu.focusWidget()->objectName().toStdString() : "");
    QTest::keyClick(menu.cmdDocument[2], Qt::Key_Enter);
    EXPECT_EQ(Viewers().size(), 2u) << "the keypad's Enter opened no document";
    EXPECT_TRUE(messages_.empty());
}

TEST(RunningInstanceCall, SecondLauncherReachesTheFirst) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("portico.lock"));
    RunningInstance first(path);
    ASSERT_TRUE(first.Acquire());
    int calls = 0;
    ASSERT_TRUE(first.Listen([&] { ++calls; }));
    RunningInstance second(path);
    ASSERT_FALSE(second.Acquire());  // which calls the first
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 5000)) << "calls " << calls;
    EXPECT_TRUE(second.CallRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 5000)) << "calls " << calls;
}

TEST(RunningInstanceCall, NoRunningLauncherToCall) {
    QTemporaryDir dir;
    RunningInstance lone(dir.filePath(QStringLiteral("portico.lock")));
    EXPECT_FALSE(lone.CallRunning(500));
}

TEST(RunningInstanceCall, SocketLeftByACrashedLauncherIsReplaced) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("portico.lock"));
    QFile stale(path + QStringLiteral(".socket"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    RunningInstance first(path);
    ASSERT_TRUE(first.Acquire());
    int calls = 0;
    ASSERT_TRUE(first.Listen([&] { ++calls; }));
    RunningInstance second(path);
    EXPECT_TRUE(second.CallRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 5000));
}

}  // namespace
