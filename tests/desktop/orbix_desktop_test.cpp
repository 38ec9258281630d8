// SPDX-License-Identifier: BSD-3-Clause
// The real Orbix of the program folder on a real X server with a window
// manager: what the desktop shows of its windows and dialogs.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>

#include "DesktopFixture.h"

using namespace std::chrono_literals;
using desktop::Titles;
using desktop::Window;

namespace {

const QString kDesignTitle = QStringLiteral("無題－Orbix分子軌道法");
const QString kPromptTitle = QStringLiteral("Orbix分子軌道法");

// Site centres on the canvas (the lattice's pixel coordinates).
const QPoint kSite1(90, 49), kSite2(179, 81), kSite3(269, 49);

std::string S(const QString& s) { return s.toStdString(); }

class OrbixDesktop : public desktop::DesktopTest {
  protected:
    void TearDown() override { Stop(orbix_); }

    // Starts Orbix of folder (the program folder unless said otherwise).
    void Start(const QString& folder = QStringLiteral(ORBIX_PROGRAM_DIR)) {
        Launch(orbix_, folder + QStringLiteral("Orbix"));
    }

    void StartDesign() {
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_TRUE(x_->WaitForTitle(kDesignTitle, design_))
            << "no design window; windows:" << Titles(x_->Windows());
        ASSERT_TRUE(desktop::WaitFor([&] { return FindCanvas(); }, 10s))
            << "no white canvas found in the design window " << Rect(x_->ClientRect(design_.id));
    }

    static std::string Rect(const QRect& r) {
        return std::to_string(r.width()) + "x" + std::to_string(r.height()) + "+" +
               std::to_string(r.x()) + "+" + std::to_string(r.y());
    }

    // The canvas: the columns and rows of the client area that are mostly
    // white (the lattice and the tiles take little of it).
    bool FindCanvas() {
        const QRect client = x_->ClientRect(design_.id);
        const QImage shot = x_->Grab();
        if (shot.isNull() || client.isEmpty()) return false;
        auto white = [&](int x, int y) { return shot.pixel(x, y) == qRgb(255, 255, 255); };
        int left = -1, right = -1, top = -1, bottom = -1;
        for (int x = client.left(); x <= client.right() && x < shot.width(); ++x) {
            int n = 0;
            for (int y = client.top(); y <= client.bottom() && y < shot.height(); ++y)
                n += white(x, y);
            if (n > client.height() / 2) {
                if (left < 0) left = x;
                right = x;
            }
        }
        for (int y = client.top(); y <= client.bottom() && y < shot.height(); ++y) {
            int n = 0;
            for (int x = client.left(); x <= client.right() && x < shot.width(); ++x)
                n += white(x, y);
            if (n > client.width() / 2) {
                if (top < 0) top = y;
                bottom = y;
            }
        }
        if (left < 0 || top < 0) return false;
        canvas_ = QRect(QPoint(left, top), QPoint(right, bottom));
        return true;
    }

    // Keys into the design window (made active first).
    void DesignKeys(const QStringList& keys) {
        ASSERT_TRUE(x_->Activate(design_.id));
        ASSERT_TRUE(x_->Keys(keys));
    }

    void PlaceAtom(QPoint site) { ASSERT_TRUE(x_->Click(canvas_.topLeft() + site)); }

    bool Running() { return orbix_.state() == QProcess::Running; }

    QProcess orbix_;
    Window design_;
    QRect canvas_;
};

TEST_F(OrbixDesktop, DesignWindowFillsTheScreenLess600TwipsWithTheLargestCanvas) {
    ASSERT_NO_FATAL_FAILURE(StartDesign());
    // The window manager may frame the window a moment after mapping it.
    const QRect screen(0, 0, 1280, 1024);
    QRect outer;
    desktop::WaitFor(
        [&] {
            const QMargins f = x_->FrameExtents(design_.id);
            outer = x_->ClientRect(design_.id).marginsAdded(f);
            return outer.size() == QSize(1240, 984);
        },
        5s);
    ASSERT_TRUE(FindCanvas());
    Shot("window");
    const QRect client = x_->ClientRect(design_.id);
    EXPECT_EQ(outer.size(), QSize(1240, 984)) << "outer window " << Rect(outer);
    EXPECT_EQ(outer.center(), screen.center()) << "outer window " << Rect(outer);
    EXPECT_TRUE(screen.contains(outer)) << "outer window " << Rect(outer);
    // 640 : 400, within a pixel of rounding.
    EXPECT_NEAR(canvas_.width() * 400.0 / 640, canvas_.height(), 1.0)
        << "canvas " << Rect(canvas_) << " in client " << Rect(client);
    // The largest such rectangle reaches the right or the bottom edge.
    const bool toRight = std::abs(canvas_.right() - client.right()) <= 1;
    const bool toBottom = std::abs(canvas_.bottom() - client.bottom()) <= 1;
    EXPECT_TRUE(toRight || toBottom) << "canvas " << Rect(canvas_) << " in client " << Rect(client);
    EXPECT_GT(canvas_.width(), 1000) << "canvas " << Rect(canvas_);
}

TEST_F(OrbixDesktop, DialogTitlesAreExactlyTheirOwn) {
    ASSERT_NO_FATAL_FAILURE(StartDesign());
    ASSERT_NO_FATAL_FAILURE(DesignKeys({QStringLiteral("ctrl+o")}));
    Window open = Expect(QStringLiteral("開く"));
    Shot("open");
    ASSERT_TRUE(x_->Keys({QStringLiteral("Escape")}));
    EXPECT_TRUE(x_->WaitUntilGone(open.id));

    ASSERT_NO_FATAL_FAILURE(PlaceAtom(kSite1));
    ASSERT_NO_FATAL_FAILURE(DesignKeys({QStringLiteral("alt+f"), QStringLiteral("a")}));
    Window saveAs = Expect(QStringLiteral("名前を付けて保存"));
    Shot("save_as");
    ASSERT_TRUE(x_->Keys({QStringLiteral("Escape")}));
    EXPECT_TRUE(x_->WaitUntilGone(saveAs.id));

    // The help window: the menu bar's fourth entry, reached with the keys.
    ASSERT_NO_FATAL_FAILURE(
        DesignKeys({QStringLiteral("alt+f"), QStringLiteral("Right"), QStringLiteral("Right"),
                    QStringLiteral("Right"), QStringLiteral("Return")}));
    Window help = Expect(QStringLiteral("使用方法"));
    Shot("help");
    x_->Close(help.id);
    EXPECT_TRUE(x_->WaitUntilGone(help.id));

    // A structure error: one atom and no bond.
    ASSERT_NO_FATAL_FAILURE(DesignKeys({QStringLiteral("F5")}));
    Window refused = Expect(QStringLiteral("分子構造エラー－　Orbix分子軌道法"));
    Shot("structure_error");
    ExpectWholeTitle(refused);
    ASSERT_TRUE(x_->Activate(refused.id));
    ASSERT_TRUE(x_->Keys({QStringLiteral("Return")}));
    EXPECT_TRUE(x_->WaitUntilGone(refused.id));
    for (const Window& w : x_->Windows())
        EXPECT_FALSE(w.title.contains(QStringLiteral(" — ")))
            << "a title with an appended suffix: \"" << S(w.title) << "\"";
}

TEST_F(OrbixDesktop, BrokenElementTableEndsWithItsErrorTitle) {
    // A program folder of its own, with an empty line in the element table.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString from = QStringLiteral(ORBIX_PROGRAM_DIR);
    const QString to = folder.path() + QLatin1Char('/');
    for (const QFileInfo& f : QDir(from).entryInfoList(QDir::Files))
        ASSERT_TRUE(QFile::copy(f.filePath(), to + f.fileName())) << S(f.filePath());
    ASSERT_TRUE(QDir(to).mkpath(QStringLiteral("data")));
    QFile table(to + QStringLiteral("data/atom.dat"));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.write("C,1,0,0,1,3\r\n\r\nN,1,0.5,0,1,2\r\n");
    table.close();

    ASSERT_NO_FATAL_FAILURE(Start(to));
    Window error = Expect(QStringLiteral("Orbix.exe－原子データの読み込みエラー"));
    Shot("startup_error");
    ExpectWholeTitle(error);
    ASSERT_TRUE(x_->Activate(error.id));
    ASSERT_TRUE(x_->Keys({QStringLiteral("Return")}));
    ASSERT_TRUE(orbix_.waitForFinished(10000)) << "Orbix did not end after the start-up error";
    EXPECT_EQ(orbix_.exitCode(), 1);
}

// A caption of 3,000 characters in the element table: the palette elides it,
// and the window keeps its size on the screen.
TEST_F(OrbixDesktop, LongCaptionKeepsTheWindowOnTheScreen) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString from = QStringLiteral(ORBIX_PROGRAM_DIR);
    const QString to = folder.path() + QLatin1Char('/');
    for (const QFileInfo& f : QDir(from).entryInfoList(QDir::Files))
        ASSERT_TRUE(QFile::copy(f.filePath(), to + f.fileName())) << S(f.filePath());
    ASSERT_TRUE(QDir(to).mkpath(QStringLiteral("data")));
    ASSERT_TRUE(
        QFile::copy(from + QStringLiteral("data/atom.dat"), to + QStringLiteral("data/atom.dat")));
    QFile table(to + QStringLiteral("data/atom.dat"));
    ASSERT_TRUE(table.open(QIODevice::Append));
    table.write(QByteArray(3000, 'x') + ",1,0.5,0.05,1,2\r\n");
    table.close();

    ASSERT_NO_FATAL_FAILURE(Start(to));
    ASSERT_TRUE(x_->WaitForTitle(kDesignTitle, design_)) << "windows:" << Titles(x_->Windows());
    const QRect screen(0, 0, 1280, 1024);
    QRect outer;
    desktop::WaitFor(
        [&] {
            outer = x_->ClientRect(design_.id).marginsAdded(x_->FrameExtents(design_.id));
            return outer.size() == QSize(1240, 984);
        },
        5s);
    Shot("long_caption");
    EXPECT_TRUE(screen.contains(outer)) << "outer window " << Rect(outer);
}

// Yes on the save prompt, then a cancelled save dialog: the command ends with
// the drawing kept, on New and on Exit.
TEST_F(OrbixDesktop, CancelledSaveOnThePromptKeepsTheDrawing) {
    ASSERT_NO_FATAL_FAILURE(StartDesign());
    ASSERT_NO_FATAL_FAILURE(PlaceAtom(kSite1));
    ASSERT_NO_FATAL_FAILURE(PlaceAtom(kSite3));
    const QRect canvas = canvas_;

    for (const QStringList& command : {QStringList{QStringLiteral("ctrl+n")},
                                       QStringList{QStringLiteral("alt+f"), QStringLiteral("x")}}) {
        const std::string name = S(command.join(QLatin1Char('_')).replace('+', '-'));
        ASSERT_NO_FATAL_FAILURE(DesignKeys(command));
        Window prompt = Expect(kPromptTitle);
        Shot(name + "_prompt");
        ASSERT_TRUE(x_->Keys({QStringLiteral("y")}));
        Window saveAs = Expect(QStringLiteral("名前を付けて保存"));
        ASSERT_TRUE(x_->Keys({QStringLiteral("Escape")}));
        ASSERT_TRUE(x_->WaitUntilGone(saveAs.id));
        ASSERT_TRUE(x_->WaitUntilGone(prompt.id));
        Shot(name + "_after_cancel");
        EXPECT_TRUE(Running()) << "Orbix ended after " << name << " and a cancelled save";
        Window still;
        EXPECT_TRUE(x_->WaitForTitle(kDesignTitle, still, 2s))
            << "design window gone after " << name << ":" << Titles(x_->Windows());
        // The two atoms are still drawn: their tiles cover the sites.
        const QImage shot = x_->Grab();
        for (QPoint site : {kSite1, kSite3})
            EXPECT_NE(shot.pixel(canvas.topLeft() + site), qRgb(255, 255, 255))
                << "no atom at (" << site.x() << "," << site.y() << ") after " << name;
    }

    // The document is still changed: Exit asks again, and No ends the program.
    ASSERT_NO_FATAL_FAILURE(DesignKeys({QStringLiteral("alt+f"), QStringLiteral("x")}));
    Expect(kPromptTitle);
    ASSERT_TRUE(x_->Keys({QStringLiteral("n")}));
    ASSERT_TRUE(orbix_.waitForFinished(10000)) << "Orbix did not end on Exit and No";
    EXPECT_EQ(orbix_.exitCode(), 0);
}

// A result window of ethylene (sites 1 and 2, one bond).
class OrbixResultDesktop : public OrbixDesktop {
  protected:
    void DrawEthylene() {
        ASSERT_NO_FATAL_FAILURE(PlaceAtom(kSite1));
        ASSERT_NO_FATAL_FAILURE(PlaceAtom(kSite2));
        ASSERT_NO_FATAL_FAILURE(DesignKeys({QStringLiteral("ctrl+a"), QStringLiteral("ctrl+k")}));
    }

    // F5, then the result window (the design window is hidden meanwhile).
    Window Calculate() {
        DesignKeys({QStringLiteral("F5")});
        Window result;
        EXPECT_TRUE(x_->WaitForWindow(
            [&](const Window& w) { return w.title == kDesignTitle && w.id != design_.id; }, result))
            << "no result window:" << Titles(x_->Windows());
        return result;
    }

    bool DesignShown() {
        for (const Window& w : x_->Windows())
            if (w.id == design_.id) return true;
        return false;
    }

    // The window's outer rectangle, frame included, once the window manager
    // has framed it.
    QRect Outer(qulonglong id) {
        QMargins frame;
        desktop::WaitFor([&] { return !(frame = x_->FrameExtents(id)).isNull(); }, 5s);
        return x_->ClientRect(id).marginsAdded(frame);
    }

    bool Maximised(qulonglong id) {
        const QByteArray state = x_->Tool(
            QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(id), "_NET_WM_STATE"});
        return state.contains("_NET_WM_STATE_MAXIMIZED_VERT") &&
               state.contains("_NET_WM_STATE_MAXIMIZED_HORZ");
    }

    // Maximises (or restores) a window as its title bar's button does.
    void Maximise(qulonglong id, bool on) {
        ASSERT_FALSE(x_->Tool(QStringLiteral("wmctrl"),
                              {QStringLiteral("-ir"), QStringLiteral("0x%1").arg(id, 0, 16),
                               QStringLiteral("-b"),
                               (on ? QStringLiteral("add") : QStringLiteral("remove")) +
                                   QStringLiteral(",maximized_vert,maximized_horz")})
                         .isNull());
        ASSERT_TRUE(desktop::WaitFor([&] { return Maximised(id) == on; }, 5s))
            << "window 0x" << std::hex << id << (on ? " not maximised" : " still maximised");
    }

    // Closes the result window with its close box; the design window returns.
    void CloseResult(const Window& result) {
        ASSERT_TRUE(desktop::WaitFor(
            [&] {
                x_->Close(result.id);
                return DesignShown();
            },
            20s));
        ASSERT_TRUE(x_->WaitUntilGone(result.id));
    }
};

// The result window comes up where the design window stands, as large and in
// its state, and never reaches past the screen.
TEST_F(OrbixResultDesktop, ResultWindowTakesTheDesignWindowsPlaceSizeAndState) {
    const QRect screen(0, 0, 1280, 1024);
    ASSERT_NO_FATAL_FAILURE(StartDesign());
    ASSERT_NO_FATAL_FAILURE(DrawEthylene());
    ASSERT_FALSE(x_->Tool(QStringLiteral("wmctrl"),
                          {QStringLiteral("-ir"), QStringLiteral("0x%1").arg(design_.id, 0, 16),
                           QStringLiteral("-e"), QStringLiteral("0,90,70,1100,820")})
                     .isNull());
    QRect design;
    ASSERT_TRUE(desktop::WaitFor(
        [&] { return (design = Outer(design_.id)).width() < 1200 && design.x() > 50; }, 5s))
        << "the design window did not move: " << Rect(design);
    Window result = Calculate();
    ASSERT_NE(result.id, 0u);
    QRect outer;
    EXPECT_TRUE(desktop::WaitFor([&] { return (outer = Outer(result.id)) == design; }, 5s))
        << "design window " << Rect(design) << ", result window " << Rect(outer);
    Shot("moved");
    ASSERT_NO_FATAL_FAILURE(CloseResult(result));

    ASSERT_NO_FATAL_FAILURE(Maximise(design_.id, true));
    result = Calculate();
    ASSERT_NE(result.id, 0u);
    EXPECT_TRUE(desktop::WaitFor([&] { return Maximised(result.id); }, 5s))
        << "the result window of a maximised design window is not maximised";
    outer = Outer(result.id);
    Shot("maximised");
    EXPECT_TRUE(screen.contains(outer)) << "maximised result window " << Rect(outer);
    // Restored, it stands on the screen where the design window stood.
    ASSERT_NO_FATAL_FAILURE(Maximise(result.id, false));
    desktop::WaitFor([&] { return (outer = Outer(result.id)) == design; }, 5s);
    Shot("restored");
    EXPECT_TRUE(screen.contains(outer)) << "restored result window " << Rect(outer);
    EXPECT_EQ(outer, design) << "restored result window " << Rect(outer);
}

TEST_F(OrbixResultDesktop, CloseBoxWaitsForTheCalculationAndNoWindowIsLeaked) {
    ASSERT_NO_FATAL_FAILURE(StartDesign());
    ASSERT_NO_FATAL_FAILURE(DrawEthylene());
    std::vector<int> windows;
    for (int run = 1; run <= 3; ++run) {
        const auto started = std::chrono::steady_clock::now();
        const Window result = Calculate();
        ASSERT_NE(result.id, 0u);
        if (run == 1) Shot("calculating");
        // The close box, pressed again and again from the start: it does
        // nothing until the two pauses of two seconds are over.
        ASSERT_TRUE(desktop::WaitFor(
            [&] {
                x_->Close(result.id);
                return DesignShown();
            },
            20s))
            << "the design window never came back";
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        EXPECT_GE(seconds, 3.5) << "run " << run << ": the close box ended the calculation after "
                                << seconds << " s";
        EXPECT_TRUE(x_->WaitUntilGone(result.id)) << "run " << run;
        if (run == 1) Shot("closed");
        ASSERT_TRUE(desktop::WaitFor([&] { return x_->WindowsOfProcess(orbix_.processId()) > 0; }));
        windows.push_back(x_->WindowsOfProcess(orbix_.processId()));
    }
    EXPECT_EQ(windows.front(), windows.back())
        << "top-level windows of Orbix after calculations 1, 2, 3: " << windows[0] << ", "
        << windows[1] << ", " << windows[2];
    EXPECT_TRUE(Running());
}

TEST_F(OrbixResultDesktop, CsvDialogAndPrintErrorTitles) {
    ASSERT_NO_FATAL_FAILURE(StartDesign());
    ASSERT_NO_FATAL_FAILURE(DrawEthylene());
    const Window result = Calculate();
    ASSERT_NE(result.id, 0u);
    const QRect client = x_->ClientRect(result.id);
    // The eigen table's grid has its top-left corner at (20, 70) of the page
    // units: 640 × 400 right of the tree (3015 twips) and below the menu bar
    // and the toolbar (720 twips); its first value cell is one column (1000
    // twips) right and one row (250 twips) down.
    const double tree = 201, bars = 22 + 48;
    const QPoint cell(
        client.left() + static_cast<int>(tree + 20 * (client.width() - tree) / 640) + 100,
        client.top() + static_cast<int>(bars + 70 * (client.height() - bars) / 400) + 25);
    // Right-clicks reach the grid only once the calculation is over; the
    // menu bar's height is only estimated, so the click moves a little each try.
    int attempt = 0;
    auto popup = [&](const QString& key, const QString& title) {
        Window dialog;
        const bool shown = desktop::WaitFor(
            [&] {
                const int dy[] = {0, -6, 6};
                x_->Click(cell + QPoint(0, dy[attempt++ % 3]), 3);
                x_->Keys({key});
                return x_->WaitForTitle(title, dialog, 1500ms);
            },
            20s);
        EXPECT_TRUE(shown) << "no dialog \"" << S(title) << "\":" << Titles(x_->Windows());
        return dialog;
    };

    const Window csv = popup(QStringLiteral("f"), QStringLiteral("ファイルへ出力"));
    Shot("csv_dialog");
    ASSERT_TRUE(x_->Keys({QStringLiteral("Escape")}));
    const Window csvError = Expect(QStringLiteral("表ﾃﾞｰﾀのﾌｧｲﾙ出力ｴﾗｰ"));
    Shot("csv_error");
    ASSERT_TRUE(x_->Keys({QStringLiteral("Return")}));
    EXPECT_TRUE(x_->WaitUntilGone(csvError.id));

    const Window print = popup(QStringLiteral("p"), QStringLiteral("ﾃﾞｰﾀの印刷"));
    Shot("print_dialog");
    ASSERT_TRUE(x_->Keys({QStringLiteral("Escape")}));
    const Window printError = Expect(QStringLiteral("Orbix分子軌道法－ﾃﾞｰﾀの印刷ｴﾗｰ"));
    Shot("print_error");
    ExpectWholeTitle(printError);
    ASSERT_TRUE(x_->Keys({QStringLiteral("Return")}));
    EXPECT_TRUE(x_->WaitUntilGone(printError.id));

    // Without a printer, the dialog prints to a PDF file (in the home folder).
    popup(QStringLiteral("p"), QStringLiteral("ﾃﾞｰﾀの印刷"));
    ASSERT_TRUE(x_->Keys({QStringLiteral("Return")}));
    QString pdf;
    EXPECT_TRUE(desktop::WaitFor(
        [&] {
            const auto found = QDir(home_.path()).entryInfoList({QStringLiteral("*.pdf")});
            if (found.isEmpty() || found.first().size() == 0) return false;
            pdf = found.first().filePath();
            return true;
        },
        15s))
        << "no PDF in the home folder; windows:" << Titles(x_->Windows());
    Shot("printed");
    if (!pdf.isEmpty()) {
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.read(5).startsWith("%PDF-")) << S(pdf);
    }
}

}  // namespace
