// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A private X display for tests: Xvfb (1280 × 1024, 96 dpi) with the openbox
// window manager, and the outside tools (wmctrl, xdotool, xprop, import)
// that look at it and drive it as a user would.

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <vector>

namespace desktop {

struct Window {
    qulonglong id = 0;
    qint64 pid = 0;
    QString title;  // _NET_WM_NAME, as the desktop shows it
};

class XSession {
  public:
    // The display of this test process, started at the first call; null when
    // Xvfb or openbox cannot start (why() then says so).
    static XSession* Get();
    static const QString& why();
    // Ends the application object and the display (at the end of the run).
    static void Shutdown();

    // One application object of this process on the display (xcb platform).
    QApplication* Application();

    ~XSession();

    QString Display() const { return display_; }
    // An environment for a program under test: this display, the xcb
    // platform, an English locale, and the given home folder (also for the
    // settings and the runtime folder).
    QProcessEnvironment Environment(const QString& home) const;

    // Runs a tool on the display; its standard output, or a null array when
    // it failed.
    QByteArray Tool(const QString& program, const QStringList& args, int timeoutMs = 10000) const;

    // The managed windows (wmctrl -lp).
    std::vector<Window> Windows() const;
    // Polls until a window satisfies the predicate; false at the deadline.
    bool WaitForWindow(const std::function<bool(const Window&)>& pred, Window& found,
                       std::chrono::milliseconds deadline = std::chrono::seconds(20)) const;
    bool WaitForTitle(const QString& title, Window& found,
                      std::chrono::milliseconds deadline = std::chrono::seconds(20)) const;
    bool WaitUntilGone(qulonglong id,
                       std::chrono::milliseconds deadline = std::chrono::seconds(20)) const;

    // Client rectangle of a window on the screen, and its frame extents
    // (left, right, top, bottom).
    QRect ClientRect(qulonglong id) const;
    QMargins FrameExtents(qulonglong id) const;
    qulonglong ActiveWindow() const;
    // Top-level X windows of a process, mapped or not.
    int WindowsOfProcess(qint64 pid) const;

    bool Activate(qulonglong id) const;
    // Keys as xdotool names them ("ctrl+o", "Return"), typed into the active window.
    bool Keys(const QStringList& keys) const;
    bool Click(QPoint at, int button = 1) const;
    QPoint Pointer() const;           // where the mouse pointer is; (-1, -1) when unknown
    bool Close(qulonglong id) const;  // the close box (_NET_CLOSE_WINDOW)

    // The screen, not kept.
    QImage Grab() const;
    // Saves the screen as build/desktop-shots/name.png and returns it.
    QImage Screenshot(const QString& name) const;

  private:
    XSession() = default;
    bool Start();

    QString display_;
    qint64 xvfbPid_ = 0;
    QProcess* wm_ = nullptr;
};

// Polls cond every 50 ms until it holds or the deadline passes.
bool WaitFor(const std::function<bool()>& cond,
             std::chrono::milliseconds deadline = std::chrono::seconds(20));

}  // namespace desktop

// Skips the test when no display can be had.
#define DESKTOP_SESSION(var)                           \
    desktop::XSession* var = desktop::XSession::Get(); \
    if (!var)                                          \
    GTEST_SKIP() << "no X display for desktop tests: " << desktop::XSession::why().toStdString()
