// The real launcher on a real X server: the keyboard and a second start.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <chrono>

#include "XSession.h"

using namespace std::chrono_literals;
using desktop::Window;

namespace {

const QString kMenuTitle = QStringLiteral("Orbix分子軌道法－メニュー");

std::string Titles(const std::vector<Window>& windows) {
    std::string out;
    for (const Window& w : windows) out += "\n  \"" + w.title.toStdString() + "\"";
    return out.empty() ? " (none)" : out;
}

class PorticoDesktop : public ::testing::Test {
  protected:
    void SetUp() override {
        DESKTOP_SESSION(x);
        x_ = x;
        ASSERT_TRUE(home_.isValid());
    }

    void TearDown() override {
        // Orbix, when the launcher started it, is not our child.
        for (const Window& w : x_ ? x_->Windows() : std::vector<Window>{})
            if (w.title == QStringLiteral("無題－Orbix分子軌道法") && w.pid > 0)
                QProcess::execute(QStringLiteral("kill"), {QString::number(w.pid)});
        for (QProcess* p : {&first_, &second_})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }

    void Launch(QProcess& p) {
        p.setProcessEnvironment(x_->Environment(home_.path()));
        p.setWorkingDirectory(home_.path());
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(QStringLiteral(ORBIX_PROGRAM_DIR) + QStringLiteral("Portico"), {});
        ASSERT_TRUE(p.waitForStarted(10000)) << p.errorString().toStdString();
    }

    Window Expect(const QString& title) {
        Window w;
        EXPECT_TRUE(x_->WaitForTitle(title, w, 15s))
            << "expected a window titled \"" << title.toStdString()
            << "\"; the desktop shows:" << Titles(x_->Windows());
        return w;
    }

    QImage Shot(const std::string& step) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return x_->Screenshot(QString::fromStdString(std::string(info->test_suite_name()) + "_" +
                                                     info->name() + "_" + step));
    }

    desktop::XSession* x_ = nullptr;
    QTemporaryDir home_;
    QProcess first_, second_;
};

// Enter presses the focused button; after a document has opened, the focus
// is back on its button, so Tab then reaches the next one in order (Orbix).
TEST_F(PorticoDesktop, EnterPressesTheFocusedButtonAndTheFocusComesBack) {
    ASSERT_NO_FATAL_FAILURE(Launch(first_));
    const Window menu = Expect(kMenuTitle);
    ASSERT_NE(menu.id, 0u);
    ASSERT_TRUE(x_->Activate(menu.id));
    ASSERT_TRUE(x_->Keys({QStringLiteral("Return")}));
    const Window viewer = Expect(QStringLiteral("分子軌道法"));
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
    ASSERT_NO_FATAL_FAILURE(Launch(first_));
    const Window menu = Expect(kMenuTitle);
    ASSERT_NE(menu.id, 0u);
    ASSERT_TRUE(x_->Activate(menu.id));
    ASSERT_TRUE(x_->Keys({QStringLiteral("Return")}));
    const Window viewer = Expect(QStringLiteral("分子軌道法"));
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
