// SPDX-License-Identifier: BSD-3-Clause
#include "XSession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <memory>

namespace desktop {

namespace {

std::unique_ptr<XSession> session;
std::unique_ptr<QApplication> application;
bool tried = false;
QString failure;

// Starts Xvfb on a free display of its own choice; the display number it
// writes to the pipe, or "" after the deadline.
QString StartXvfb(qint64& pid) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t child = fork();
    if (child < 0) return {};
    if (child == 0) {
        // The server ends with the test, however the test ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-dpi",
               "96", "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    pid = child;
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    for (int waited = 0; waited < 20000;) {
        if (poll(&p, 1, 100) > 0) {
            char c;
            const ssize_t n = read(fds[0], &c, 1);
            if (n <= 0) break;
            if (c == '\n') break;
            number += c;
        } else {
            waited += 100;
        }
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            pid = 0;
            break;
        }
    }
    close(fds[0]);
    return number.empty() ? QString() : QStringLiteral(":") + QString::fromStdString(number);
}

}  // namespace

bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (cond()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        QThread::msleep(50);
    }
}

XSession* XSession::Get() {
    if (!tried) {
        tried = true;
        std::unique_ptr<XSession> s(new XSession);
        if (s->Start()) session = std::move(s);
    }
    return session.get();
}

const QString& XSession::why() { return failure; }

void XSession::Shutdown() {
    application.reset();
    session.reset();
}

QApplication* XSession::Application() {
    if (!application) {
        qputenv("DISPLAY", display_.toUtf8());
        qputenv("QT_QPA_PLATFORM", "xcb");
        static int argc = 1;
        static char name[] = "desktop_tests";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
    }
    return application.get();
}

bool XSession::Start() {
    for (const char* tool : {"Xvfb", "openbox", "wmctrl", "xdotool", "xprop", "xwininfo", "import"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            failure = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return false;
        }
    display_ = StartXvfb(xvfbPid_);
    if (display_.isEmpty()) {
        failure = QStringLiteral("Xvfb did not start");
        return false;
    }
    wm_ = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    wm_->setProcessEnvironment(env);
    wm_->setStandardOutputFile(QProcess::nullDevice());
    wm_->setStandardErrorFile(QProcess::nullDevice());
    wm_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    wm_->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    const bool managed =
        wm_->waitForStarted(10000) && WaitFor([this] {
            return Tool(QStringLiteral("wmctrl"), {QStringLiteral("-m")}).contains("Openbox");
        });
    if (!managed) failure = QStringLiteral("openbox did not start on %1").arg(display_);
    return managed;
}

XSession::~XSession() {
    if (wm_) {
        wm_->terminate();
        if (!wm_->waitForFinished(3000)) wm_->kill();
        wm_->waitForFinished(1000);
        delete wm_;
    }
    if (xvfbPid_ > 0) {
        kill(static_cast<pid_t>(xvfbPid_), SIGTERM);
        int status;
        waitpid(static_cast<pid_t>(xvfbPid_), &status, 0);
    }
}

QProcessEnvironment XSession::Environment(const QString& home) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LANGUAGE"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    return env;
}

QByteArray XSession::Tool(const QString& program, const QStringList& args, int timeoutMs) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
    QByteArray out = p.readAllStandardOutput();
    if (out.isNull()) out = QByteArray("");
    return out;
}

std::vector<Window> XSession::Windows() const {
    std::vector<Window> list;
    const QString out = QString::fromUtf8(Tool(QStringLiteral("wmctrl"), {QStringLiteral("-lp")}));
    static const QRegularExpression line(
        QStringLiteral(R"(^(0x[0-9a-f]+)\s+-?\d+\s+(\d+)\s+\S+\s(.*)$)"));
    for (const QString& l : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const auto m = line.match(l);
        if (!m.hasMatch()) continue;
        list.push_back(
            {m.captured(1).toULongLong(nullptr, 16), m.captured(2).toLongLong(), m.captured(3)});
    }
    return list;
}

bool XSession::WaitForWindow(const std::function<bool(const Window&)>& pred, Window& found,
                             std::chrono::milliseconds deadline) const {
    return WaitFor(
        [&] {
            for (const Window& w : Windows())
                if (pred(w)) {
                    found = w;
                    return true;
                }
            return false;
        },
        deadline);
}

bool XSession::WaitForTitle(const QString& title, Window& found,
                            std::chrono::milliseconds deadline) const {
    return WaitForWindow([&](const Window& w) { return w.title == title; }, found, deadline);
}

bool XSession::WaitUntilGone(qulonglong id, std::chrono::milliseconds deadline) const {
    return WaitFor(
        [&] {
            for (const Window& w : Windows())
                if (w.id == id) return false;
            return true;
        },
        deadline);
}

QRect XSession::ClientRect(qulonglong id) const {
    const QString out = QString::fromUtf8(
        Tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(id)}));
    auto value = [&](const QString& key) {
        const QRegularExpression re(key + QStringLiteral(R"(:\s+(-?\d+))"));
        return re.match(out).captured(1).toInt();
    };
    return QRect(value(QStringLiteral("Absolute upper-left X")),
                 value(QStringLiteral("Absolute upper-left Y")), value(QStringLiteral("Width")),
                 value(QStringLiteral("Height")));
}

QMargins XSession::FrameExtents(qulonglong id) const {
    const QString out =
        QString::fromUtf8(Tool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(id),
                                                         QStringLiteral("_NET_FRAME_EXTENTS")}));
    const QRegularExpression re(QStringLiteral(R"(=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))"));
    const auto m = re.match(out);
    if (!m.hasMatch()) return {};
    // left, right, top, bottom
    return QMargins(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(2).toInt(),
                    m.captured(4).toInt());
}

qulonglong XSession::ActiveWindow() const {
    return Tool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")})
        .trimmed()
        .toULongLong();
}

int XSession::WindowsOfProcess(qint64 pid) const {
    const QByteArray out =
        Tool(QStringLiteral("xdotool"),
             {QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid)});
    int n = 0;
    for (const QByteArray& line : out.split('\n'))
        if (!line.trimmed().isEmpty()) ++n;
    return n;
}

bool XSession::Activate(qulonglong id) const {
    return !Tool(QStringLiteral("xdotool"),
                 {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(id)},
                 5000)
                .isNull();
}

bool XSession::Keys(const QStringList& keys) const {
    QStringList args{QStringLiteral("key"), QStringLiteral("--clearmodifiers"),
                     QStringLiteral("--delay"), QStringLiteral("60")};
    return !Tool(QStringLiteral("xdotool"), args + keys).isNull();
}

QPoint XSession::Pointer() const {
    const QString out =
        QString::fromUtf8(Tool(QStringLiteral("xdotool"),
                               {QStringLiteral("getmouselocation"), QStringLiteral("--shell")}));
    static const QRegularExpression x(QStringLiteral(R"(^X=(\d+)$)"),
                                      QRegularExpression::MultilineOption);
    static const QRegularExpression y(QStringLiteral(R"(^Y=(\d+)$)"),
                                      QRegularExpression::MultilineOption);
    const auto mx = x.match(out), my = y.match(out);
    if (!mx.hasMatch() || !my.hasMatch()) return QPoint(-1, -1);
    return QPoint(mx.captured(1).toInt(), my.captured(1).toInt());
}

bool XSession::Click(QPoint at, int button) const {
    // --sync waits for the pointer to move, forever when it is already there
    // (where an earlier test on this display may have left it).
    QStringList args{QStringLiteral("mousemove")};
    if (Pointer() != at) args << QStringLiteral("--sync");
    args << QString::number(at.x()) << QString::number(at.y()) << QStringLiteral("click")
         << QString::number(button);
    return !Tool(QStringLiteral("xdotool"), args).isNull();
}

bool XSession::Close(qulonglong id) const {
    return !Tool(QStringLiteral("wmctrl"),
                 {QStringLiteral("-ic"), QStringLiteral("0x%1").arg(id, 0, 16)})
                .isNull();
}

QImage XSession::Grab() const {
    // One file per test process: tests run side by side.
    const QString path = QDir::tempPath() + QStringLiteral("/desktop-grab-%1.png").arg(getpid());
    Tool(QStringLiteral("import"), {QStringLiteral("-display"), display_, QStringLiteral("-window"),
                                    QStringLiteral("root"), path});
    QImage image(path);
    QFile::remove(path);
    return image;
}

QImage XSession::Screenshot(const QString& name) const {
    const QString folder = QStringLiteral(ORBIX_BINARY_DIR) + QStringLiteral("desktop-shots");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    Tool(QStringLiteral("import"), {QStringLiteral("-display"), display_, QStringLiteral("-window"),
                                    QStringLiteral("root"), path});
    return QImage(path);
}

}  // namespace desktop
