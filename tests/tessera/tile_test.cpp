// SPDX-License-Identifier: BSD-3-Clause
// The tile's two looks, its read-only State, the caption layout, the mask
// and the MouseDown flags.

#include <QMenu>
#include <QTest>
#include <vector>

#include "TileFixture.h"

using namespace tessera_test;
using tessera::RGB;
using tessera::TileError;

namespace {

QColor Color(tessera::Color c) { return tessera::ToQColor(c); }

void ExpectCentred(const QLabel* label, const QWidget* tile) {
    const QRect g = label->geometry();
    EXPECT_EQ(g.left(), (tile->width() - g.width()) / 2);
    EXPECT_EQ(g.top(), (tile->height() - g.height()) / 2);
}

int ErrorNumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const TileError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace

TEST_F(TileTest, NewTileShowsDefaultCaptionInBlackOnEmptySurface) {
    EXPECT_EQ(tile->Caption(), QStringLiteral("picTile1"));
    EXPECT_EQ(tile->State(), 0);
    EXPECT_TRUE(tile->ShownPicture().isNull());
    EXPECT_TRUE(tile->Picture().isNull());
    EXPECT_TRUE(tile->SelPicture().isNull());
    EXPECT_EQ(tile->MaskColor(), tessera::kButtonFace);
    EXPECT_EQ(CaptionColor(), QColor(Qt::black));
    EXPECT_FALSE(tile->DesignTime());
    ExpectCentred(Label(), tile->Widget());
    // Hidden until the host shows it.
    canvas->show();
    EXPECT_FALSE(tile->Visible());
}

TEST_F(TileTest, SelectedAndRefreshSwitchPictureCaptionColourAndState) {
    const QImage normal = Disc(Qt::cyan), selected = Disc(QColor(0, 0, 128));
    tile->SetPicture(normal);
    tile->SetSelPicture(selected);
    tile->SetForeColor(RGB(255, 0, 0));
    tile->SetSelForeColor(RGB(255, 255, 255));
    EXPECT_EQ(tile->ShownPicture(), normal);
    // Fore colours wait for the next Selected / Refresh.
    EXPECT_EQ(CaptionColor(), QColor(Qt::black));

    tile->Selected();
    EXPECT_EQ(tile->State(), 1);
    EXPECT_EQ(tile->ShownPicture(), selected);
    EXPECT_EQ(tile->MaskPicture(), selected);
    EXPECT_EQ(CaptionColor(), QColor(255, 255, 255));

    tile->Selected();  // again in the same state: the same look
    EXPECT_EQ(tile->State(), 1);
    EXPECT_EQ(tile->ShownPicture(), selected);

    tile->Refresh();
    EXPECT_EQ(tile->State(), 0);
    EXPECT_EQ(tile->ShownPicture(), normal);
    EXPECT_EQ(tile->MaskPicture(), normal);
    EXPECT_EQ(CaptionColor(), QColor(255, 0, 0));
}

TEST_F(TileTest, SelPictureChangedInSelectedLookShowsOnlyAtNextSelected) {
    tile->SetPicture(Disc(Qt::green));
    tile->SetSelPicture(Disc(QColor(0, 0, 128)));
    tile->Selected();
    const QImage other = Disc(Qt::magenta);
    tile->SetSelPicture(other);
    EXPECT_EQ(tile->ShownPicture(), Disc(QColor(0, 0, 128)));
    EXPECT_EQ(tile->SelPicture(), other);
    tile->Selected();
    EXPECT_EQ(tile->ShownPicture(), other);
}

TEST_F(TileTest, PictureSetInSelectedLookIsShownAtOnce) {
    tile->SetSelPicture(Disc(QColor(0, 0, 128)));
    tile->Selected();
    const QImage red = Disc(Qt::red);
    tile->SetPicture(red);
    EXPECT_EQ(tile->ShownPicture(), red);
    EXPECT_EQ(tile->MaskPicture(), red);
    EXPECT_EQ(tile->State(), 1);
}

TEST_F(TileTest, StateCannotBeWrittenAndForeColoursCannotBeReadAtRunTime) {
    tile->SetForeColor(RGB(1, 2, 3));
    tile->SetSelForeColor(RGB(4, 5, 6));
    EXPECT_EQ(ErrorNumberOf([&] { tile->ForeColor(); }), 393);
    EXPECT_EQ(ErrorNumberOf([&] { tile->SelForeColor(); }), 393);
    EXPECT_EQ(ErrorNumberOf([&] { tile->SetState(1); }), 382);
    EXPECT_EQ(ErrorNumberOf([&] { tile->SetState(0); }), 382);
    EXPECT_EQ(tile->State(), 0);

    tile->SetDesignTime(true);
    EXPECT_EQ(tile->ForeColor(), RGB(1, 2, 3));
    EXPECT_EQ(tile->SelForeColor(), RGB(4, 5, 6));
    EXPECT_EQ(ErrorNumberOf([&] { tile->SetState(1); }), 387);
    EXPECT_EQ(tile->State(), 0);
}

TEST_F(TileTest, CaptionStaysCentredOnNewTextFontPictureAndSize) {
    QWidget* w = tile->Widget();
    tile->SetCaption(QStringLiteral("C"));
    ExpectCentred(Label(), w);
    const int narrow = Label()->width();

    tile->SetCaption(QStringLiteral("CH3-long"));
    EXPECT_GT(Label()->width(), narrow);
    ExpectCentred(Label(), w);

    QFont big = tile->Font();
    big.setPointSize(20);
    tile->SetFont(big);
    ExpectCentred(Label(), w);

    tile->Resize(80, 60);
    EXPECT_EQ(tile->Width(), 80);
    ExpectCentred(Label(), w);

    tile->SetPicture(Disc(Qt::cyan));
    ExpectCentred(Label(), w);
}

TEST_F(TileTest, MaskLetsTheCanvasShowThroughMaskColourAndOutsideThePicture) {
    const tessera::Color key = RGB(255, 252, 255);
    QImage pic(40, 40, QImage::Format_RGB32);
    pic.fill(Color(key));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) pic.setPixelColor(x, y, Qt::red);  // opaque corner
    pic.setPixelColor(30, 5, Qt::white);  // white is not the mask colour

    tile->Resize(49, 49);
    tile->SetCaption(QString());
    tile->SetMaskColor(key);
    tile->SetPicture(pic);
    tile->Move(10, 20);
    tile->SetVisible(true);
    canvas->show();

    QWidget* w = tile->Widget();
    const QRegion mask = w->mask();
    EXPECT_TRUE(mask.contains(QPoint(0, 0)));
    EXPECT_TRUE(mask.contains(QPoint(9, 9)));
    EXPECT_TRUE(mask.contains(QPoint(30, 5)));
    EXPECT_FALSE(mask.contains(QPoint(20, 20)));  // mask colour
    EXPECT_FALSE(mask.contains(QPoint(45, 45)));  // outside the 40 x 40 picture
    // Hit testing follows the mask: a press there lands on the canvas.
    EXPECT_EQ(canvas->childAt(QPoint(10 + 5, 20 + 5)), w);
    EXPECT_EQ(canvas->childAt(QPoint(10 + 20, 20 + 20)), nullptr);

    // The caption's box is never masked out.
    tile->SetCaption(QStringLiteral("N"));
    EXPECT_TRUE(w->mask().contains(Label()->geometry().center()));

    // A new mask colour re-cuts the mask from the same picture.
    tile->SetMaskColor(RGB(255, 0, 0));
    EXPECT_FALSE(w->mask().contains(QPoint(5, 5)));
    EXPECT_TRUE(w->mask().contains(QPoint(20, 20)));
}

TEST_F(TileTest, EmptyTileWithoutCaptionIsWhollyTransparent) {
    tile->SetCaption(QString());
    tile->Move(0, 0);
    tile->SetVisible(true);
    canvas->show();
    ASSERT_TRUE(tile->Visible());
    EXPECT_EQ(canvas->childAt(QPoint(24, 24)), nullptr);
}

TEST_F(TileTest, SystemColourMaskIsResolvedFromThePalette) {
    QImage pic(20, 20, QImage::Format_RGB32);
    pic.fill(Color(tessera::kButtonFace));
    pic.setPixelColor(3, 3, Qt::black);
    tile->SetCaption(QString());
    tile->SetPicture(pic);  // default mask colour: button face
    EXPECT_TRUE(tile->Widget()->mask().contains(QPoint(3, 3)));
    EXPECT_FALSE(tile->Widget()->mask().contains(QPoint(10, 10)));
}

namespace {
struct Press {
    int button, shift;
    float x, y;
};
}  // namespace

TEST_F(TileTest, MouseDownFromSurfaceAndCaptionCarriesPlatformFlags) {
    std::vector<Press> presses;
    tile->SetMouseDownHandler([&](std::int16_t b, std::int16_t s, float x, float y) {
        presses.push_back({b, s, x, y});
    });
    tile->SetPicture(Disc(Qt::cyan));
    tile->SetCaption(QStringLiteral("C"));
    tile->SetVisible(true);
    canvas->show();
    QWidget* w = tile->Widget();

    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    QTest::mousePress(w, Qt::LeftButton, Qt::ControlModifier, QPoint(40, 40));
    QTest::mousePress(w, Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier, QPoint(5, 45));
    QTest::mousePress(w, Qt::MiddleButton,
                      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, QPoint(10, 10));
    ASSERT_EQ(presses.size(), 4u);
    EXPECT_EQ(presses[0].button, 1);
    EXPECT_EQ(presses[0].shift, 0);
    EXPECT_FLOAT_EQ(presses[0].x, 3);
    EXPECT_FLOAT_EQ(presses[0].y, 4);
    EXPECT_EQ(presses[1].shift, 2);
    EXPECT_EQ(presses[2].button, 2);
    EXPECT_EQ(presses[2].shift, 1 | 4);
    EXPECT_EQ(presses[3].button, 4);
    EXPECT_EQ(presses[3].shift, 7);

    // A press on the caption is reported once, relative to the label.
    presses.clear();
    QTest::mousePress(Label(), Qt::LeftButton, Qt::ShiftModifier, QPoint(2, 3));
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].button, 1);
    EXPECT_EQ(presses[0].shift, 1);
    EXPECT_FLOAT_EQ(presses[0].x, 2);
    EXPECT_FLOAT_EQ(presses[0].y, 3);
}

TEST_F(TileTest, PopupMenuOpensWithoutBlockingAndMarksTheDefault) {
    tile->SetVisible(true);
    canvas->show();
    QMenu menu;
    QAction* first = menu.addAction(QStringLiteral("選択"));
    QAction* second = menu.addAction(QStringLiteral("削除"));
    tile->PopupMenu(&menu, 0, 10.0f, 12.0f, second);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.defaultAction(), second);
    menu.close();
    (void)first;
}

TEST_F(TileTest, SavesBothLooksAsPictures) {
    QPalette white = canvas->palette();
    white.setColor(QPalette::Window, Qt::white);
    canvas->setPalette(white);
    canvas->setAutoFillBackground(true);
    QFont gothic(QStringLiteral("ＭＳ Ｐゴシック"));
    gothic.setPointSize(9);
    const struct {
        const char* caption;
        QColor disc;
    } atoms[] = {{"C", Qt::cyan},
                 {"N", Qt::green},
                 {"O", QColor(0, 128, 128)},
                 {"窒素", QColor(128, 0, 0)},
                 {"picTile1", Qt::magenta}};
    std::vector<tessera::picTile*> tiles;
    int left = 8;
    for (const auto& a : atoms) {
        tessera::picTile* t = Factory()->CreateTile(tessera::kTileKey, canvas.get());
        t->SetFont(gothic);
        t->SetSelForeColor(RGB(255, 255, 255));
        t->SetMaskColor(RGB(255, 252, 255));
        t->SetCaption(QString::fromUtf8(a.caption));
        t->SetPicture(Disc(a.disc));
        t->SetSelPicture(Disc(QColor(0, 0, 128)));
        t->Refresh();
        t->Move(left, 8);
        t->SetVisible(true);
        left += 56;
        tiles.push_back(t);
    }
    canvas->resize(left + 8, 65);
    canvas->show();
    const QImage normal = canvas->grab().toImage();
    ASSERT_TRUE(normal.save(QStringLiteral(ORBIX_BINARY_DIR "tessera-tiles-normal.png")));
    for (auto* t : tiles) t->Selected();
    const QImage selected = canvas->grab().toImage();
    ASSERT_TRUE(selected.save(QStringLiteral(ORBIX_BINARY_DIR "tessera-tiles-selected.png")));

    // The middle of the first tile's disc is drawn: cyan, then navy.
    const double dpr = normal.devicePixelRatio();
    const QPoint probe(qRound((8 + 10) * dpr), qRound((8 + 24) * dpr));
    EXPECT_EQ(normal.pixelColor(probe), QColor(Qt::cyan));
    EXPECT_EQ(selected.pixelColor(probe), QColor(0, 0, 128));
}
