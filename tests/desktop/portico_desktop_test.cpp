// SPDX-License-Identifier: BSD-3-Clause
// The real launcher on a real X server: the keyboard and a second start.

#include <gtest/gtest.h>

#include <QProcess>
#include <chrono>

#include "DesktopFixture.h"

using namespace std::chrono_literals;
using desktop::Titles;
using desktop::Window;

namespace {

const QString kMenuTitle = QStringLiteral("Orbix分子軌道法－メニュー");

class PorticoDesktop : public desktop::DesktopTest {
  protected:
    void TearDown() override {
        // Orbix, when the launcher started it, is not our child.
        for (const Window& w : x_ ? x_->Windows() : std::vector<Window>{})
            if (w.title == QStringLiteral("無題－Orbix分子軌道法") && w.pid > 0)
                QProcess::execute(QStringLiteral("kill"), {QString::number(w.pid)});
        Stop(first_);
        Stop(second_);
    }

    void Launch(QProcess& p) {
        DesktopTest::Launch(p, QStringLiteral(ORBIX_PROGRAM_DIR) + QStringLiteral("Portico"));
    }

    // Launches the first launcher and opens its first document with Enter:
    // the menu and the document viewer.
    void OpenFirstDocument(Window& menu, Window& viewer) {
        ASSERT_NO_FATAL_FAILURE(Launch(first_));
        menu = Expect(kMenuTitle);
        ASSERT_NE(menu.id, 0u);
        ASSERT_TRUE(x_->Activate(menu.id));
        ASSERT_TRUE(x_->Keys({QStringLiteral("Return")}));
        viewer = Expect(QStringLiteral("分子軌道法"));
    }

    QProcess first_, second_;
};

// Enter presses the focused button; after a document has opened, the focus
// is back on its button, so Tab then reaches the next one in order (Orbix).
TEST_F(PorticoDesktop, EnterPressesTheFocusedButtonAndTheFocusComesBack) {
    Window menu, viewer;
    ASSERT_NO_FATAL_FAILURE(OpenFirstDocument(menu, viewer));
    Shot("document1");
    ASSERT_NE(viewer.id, 0u) << "Enter on the first button opened no document";

    ASSERT_TRUE(x_->Activate(menu.id));
    ASSERT_TRUE(x_->Keys({QStringLiteral("Tab"), QStringLiteral("Return")}));
    // Tab from the first button leads to "実践　XMO"; from any other
    // button it would open a problem document instead.
    Window orbix;
    const bool started = x_->WaitForTitle(QStringLiteral("無題－Orbix分子軌道法"), orbix, 15s);
    Shot("orbix_started");
    EXPECT_TRUE(started) << "Tab and Enter after the document did not start Orbix:"
                         << Titles(x_->Windows());
}

TEST_F(PorticoDesktop, SecondStartBringsTheRunningMenuToTheFront) {
    Window menu, viewer;
    ASSERT_NO_FATAL_FAILURE(OpenFirstDocument(menu, viewer));
    ASSERT_NE(viewer.id, 0u);
    ASSERT_TRUE(x_->Activate(viewer.id));
    ASSERT_TRUE(desktop::WaitFor([&] { return x_->ActiveWindow() == viewer.id; }, 5s));
    Shot("before");

    ASSERT_NO_FATAL_FAILURE(Launch(second_));
    ASSERT_TRUE(second_.waitForFinished(10000)) << "the second launcher did not end";
    EXPECT_EQ(second_.exitCode(), 0);
    const bool front = desktop::WaitFor([&] { return x_->ActiveWindow() == menu.id; }, 5s);
    Shot("after");
    EXPECT_TRUE(front) << "active window 0x" << std::hex << x_->ActiveWindow()
                       << " is not the menu 0x" << menu.id;
    int menus = 0;
    for (const Window& w : x_->Windows()) menus += w.title == kMenuTitle;
    EXPECT_EQ(menus, 1) << "windows:" << Titles(x_->Windows());
}

}  // namespace
