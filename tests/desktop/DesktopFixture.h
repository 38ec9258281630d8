// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A program of the program folder started on the test display, in a home
// folder of its own that is also its current folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "XSession.h"

namespace desktop {

// The titles of the windows, one a line, for failure messages.
inline std::string Titles(const std::vector<Window>& windows) {
    std::string out;
    for (const Window& w : windows) out += "\n  \"" + w.title.toStdString() + "\"";
    return out.empty() ? " (none)" : out;
}

class DesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DESKTOP_SESSION(x);
        x_ = x;
        ASSERT_TRUE(home_.isValid());
    }

    void Launch(QProcess& p, const QString& program) {
        p.setProcessEnvironment(x_->Environment(home_.path()));
        p.setWorkingDirectory(home_.path());
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(program, {});
        ASSERT_TRUE(p.waitForStarted(10000)) << p.errorString().toStdString();
    }

    static void Stop(QProcess& p) {
        if (p.state() == QProcess::NotRunning) return;
        p.kill();
        p.waitForFinished(5000);
    }

    // Waits for a window of exactly this title; fails with the titles shown.
    Window Expect(const QString& title,
                  std::chrono::milliseconds deadline = std::chrono::seconds(15)) {
        Window w;
        EXPECT_TRUE(x_->WaitForTitle(title, w, deadline))
            << "expected a window titled \"" << title.toStdString()
            << "\"; the desktop shows:" << Titles(x_->Windows());
        return w;
    }

    // A screenshot named after the test and the step.
    QImage Shot(const std::string& step) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return x_->Screenshot(QString::fromStdString(std::string(info->test_suite_name()) + "_" +
                                                     info->name() + "_" + step));
    }

    // The width the window manager gives the title in the title bar of
    // window id: the span of the columns between the window's icon and its
    // frame buttons that are not plain bar. A title cut short spans less.
    int TitleSpan(qulonglong id) {
        const QRect client = x_->ClientRect(id);
        const QMargins frame = x_->FrameExtents(id);
        const QImage shot = x_->Grab();
        int first = -1, last = -1;
        for (int y = client.top() - frame.top() + 2; y <= client.top() - 3; ++y) {
            const int left = client.left() + 20, right = client.right() - 56;
            if (y < 0 || y >= shot.height() || left < 0 || right >= shot.width()) continue;
            // The bar's colour in this row: what most of the row shows.
            QHash<QRgb, int> count;
            for (int x = left; x <= right; ++x) ++count[shot.pixel(x, y)];
            QRgb bar = 0;
            for (auto it = count.cbegin(); it != count.cend(); ++it)
                if (it.value() > count.value(bar)) bar = it.key();
            for (int x = left; x <= right; ++x)
                if (shot.pixel(x, y) != bar) {
                    if (first < 0 || x < first) first = x;
                    last = std::max(last, x);
                }
        }
        return first < 0 ? 0 : last - first + 1;
    }

    // The whole title of window w shows: it spans as much as on a wide
    // window of the same title.
    void ExpectWholeTitle(const Window& w) {
        ASSERT_TRUE(WaitFor([&] { return !x_->FrameExtents(w.id).isNull(); }));
        const int shown = TitleSpan(w.id);
        QApplication* app = x_->Application();
        QWidget wide;
        wide.setWindowTitle(w.title);
        wide.setGeometry(40, 60, 1000, 60);
        wide.show();
        ASSERT_TRUE(WaitFor([&] {
            app->processEvents();
            return !x_->FrameExtents(wide.winId()).isNull();
        }));
        const int whole = TitleSpan(wide.winId());
        wide.close();
        app->processEvents();
        x_->Activate(w.id);
        EXPECT_GT(whole, 100) << "no title found on a wide window";
        EXPECT_GE(shown, whole - 1) << "the title \"" << w.title.toStdString()
                                    << "\" is cut short: " << shown << " of " << whole << " px";
    }

    XSession* x_ = nullptr;
    QTemporaryDir home_;
};

}  // namespace desktop
