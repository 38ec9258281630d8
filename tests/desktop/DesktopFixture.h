#pragma once
// A program of the program folder started on the test display, in a home
// folder of its own that is also its current folder.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
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

    XSession* x_ = nullptr;
    QTemporaryDir home_;
};

}  // namespace desktop
