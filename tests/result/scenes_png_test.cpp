// Every scene of three molecules saved as a picture of the whole window, to
// be looked at; each picture must also show its page.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTimer>

#include "orbix/model/MoleculeFile.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/ImageSurface.h"
#include "orbix/platform/WaitSeconds.h"
#include "tests/result/ResultFixture.h"
#include "tests/support/TestMolecules.h"

namespace {

const QString kFolder = QStringLiteral(ORBIX_BINARY_DIR "result_scenes/");

// Pixels of the page area that differ from the background.
int Drawn(frmResult& w) {
    const QImage& img = w.surface().Image();
    const QRect page = w.surface().PageToPixel(QRectF(0, 0, 640, 400)).intersected(img.rect());
    const QRgb back = w.surface().BackColor().rgb();
    int n = 0;
    for (int y = page.top(); y <= page.bottom(); y += 2)
        for (int x = page.left(); x <= page.right(); x += 2) n += img.pixel(x, y) != back;
    return n;
}

void Save(frmResult& w, const QString& name) {
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.grab().save(kFolder + name + QStringLiteral(".png"))) << name.toStdString();
}

class ScenePictures : public ResultWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ScenePictures, EveryScene) {
    const QString mol = QString::fromLatin1(GetParam());
    QDir().mkpath(kFolder);
    std::string atoms, bonds;
    {
        std::vector<std::string> lines;
        ASSERT_EQ(modCommon::ReadTextLines(testing_support::TemplatePath(GetParam()), lines), 0);
        ASSERT_FALSE(MoleculeFile::ParseMoleculeText(lines, atoms, bonds));
    }
    auto out = testing_support::Calculate(atoms, bonds);
    ASSERT_EQ(out.code, 0);
    window = frmResult::Open(design);
    // The calculation messages, caught in the second pause.
    modCommon::testing::MillisecondsPerSecond = 100;
    bool caught = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!caught && window->lblMessage().text() == QStringLiteral("計算が終了しました")) {
            caught = true;
            Save(*window, mol + QStringLiteral("_00_display"));
        }
    });
    probe.start(20);
    std::int16_t progress = 0;
    window->Display(progress);
    probe.stop();
    modCommon::testing::MillisecondsPerSecond = 5;
    EXPECT_TRUE(caught);
    frmResult& w = *window;
    const int n = modOrbix::CurrentMolecule->Count();

    Save(w, mol + QStringLiteral("_02"));
    for (int scene : {4, 5, 6, 8, 9}) {
        w.ChangeMenu(static_cast<std::int16_t>(scene));
        w.Menu()->Show(static_cast<std::int16_t>(scene));
        EXPECT_GT(Drawn(w), 200) << "scene " << scene;
        Save(w, mol + QStringLiteral("_%1").arg(scene, 2, 10, QLatin1Char('0')));
    }
    for (int scene : {11, 12}) {
        w.ChangeMenu(static_cast<std::int16_t>(scene));
        w.Menu()->Show(static_cast<std::int16_t>(scene));
        for (int k = 0; k < n; ++k) {
            if (k > 0) w.mnuMoveNext_Click();
            EXPECT_EQ(w.Menu()->OrbitalIndex(), k);
            EXPECT_GT(Drawn(w), 200) << "scene " << scene << " orbital " << k + 1;
            Save(w, mol + QStringLiteral("_%1_%2").arg(scene).arg(k + 1));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Molecules, ScenePictures,
                         ::testing::Values("benzene", "pyridine", "allyl"));

}  // namespace
