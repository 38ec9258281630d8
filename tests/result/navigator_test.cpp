// The scene navigator on a recording surface.

#include <gtest/gtest.h>

#include <vector>

#include "orbix/calc/RecordingSurface.h"
#include "orbix/result/clsMenu.h"
#include "tests/result/ResultFixture.h"
#include "tests/support/TestMolecules.h"

namespace {

using modCalculation::Primitive;

class RecordingView : public SceneView {
  public:
    void ChangeMenu(std::int16_t scene) override { marked.push_back(scene); }
    modCalculation::PageSurface& Surface() override { return surface; }
    modCalculation::EigenGrid& Grid() override { return grid; }

    std::vector<std::int16_t> marked;
    modCalculation::RecordingSurface surface;
    modCalculation::RecordingGrid grid;
};

class Navigator : public ::testing::Test {
  protected:
    void SetUp() override {
        auto out = testing_support::Calculate(kBenzeneAtoms, kBenzeneBonds);
        ASSERT_EQ(out.code, 0);
    }
    // The page title last drawn, or "" when nothing was cleared since `mark`.
    std::string Drawn(std::size_t mark) const {
        const auto& rec = view.surface.Recorded();
        for (std::size_t i = mark; i < rec.size(); ++i)
            if (rec[i].kind == Primitive::kText) return rec[i].text;
        return "";
    }
    RecordingView view;
    clsMenu menu{view};
};

TEST_F(Navigator, ForwardAndBackwardTables) {
    const std::int16_t forward[] = {0, 2, 4, 4, 5, 6, 8, 8, 9, 11, 11, 11, 12};
    const std::int16_t backward[] = {0, 1, 2, 2, 2, 4, 5, 6, 6, 8, 9, 9, 11};
    for (std::int16_t scene = 1; scene <= 10; ++scene) {
        SCOPED_TRACE(scene);
        menu.Show(scene);
        menu.ForwardScene();
        EXPECT_EQ(menu.SceneNo(), forward[scene]);
        EXPECT_EQ(view.marked.back(), forward[scene]);
        menu.Show(scene);
        menu.BackScene();
        EXPECT_EQ(menu.SceneNo(), backward[scene]);
        EXPECT_EQ(view.marked.back(), backward[scene]);
    }
    // Stepping never stops on a heading.
    for (std::int16_t scene = 1; scene <= 12; ++scene)
        for (std::int16_t to : {clsMenu::ForwardOf(scene), clsMenu::BackwardOf(scene)}) {
            EXPECT_NE(to, 3);
            EXPECT_NE(to, 7);
            EXPECT_NE(to, 10);
        }
}

TEST_F(Navigator, EdgesOfTheSequence) {
    menu.Show(2);
    auto mark = view.surface.Recorded().size();
    menu.BackScene();
    EXPECT_EQ(menu.SceneNo(), 2);
    EXPECT_EQ(view.grid.Text(0, 0), "分子軌道") << "Back on scene 2 redraws the table";
    EXPECT_GT(view.surface.Recorded().size(), mark);

    menu.Show(1);
    mark = view.surface.Recorded().size();
    menu.BackScene();
    EXPECT_EQ(menu.SceneNo(), 1);
    EXPECT_EQ(view.marked.back(), 1);
    EXPECT_EQ(view.surface.Recorded().size(), mark) << "the root draws nothing";

    menu.ForwardScene();
    EXPECT_EQ(menu.SceneNo(), 2);
    menu.Show(3);
    menu.ForwardScene();
    EXPECT_EQ(menu.SceneNo(), 4);
    mark = view.surface.Recorded().size();
    menu.Show(9);
    menu.ForwardScene();
    EXPECT_EQ(menu.SceneNo(), 11);
    EXPECT_EQ(menu.OrbitalIndex(), 0);
    EXPECT_EQ(view.surface.TextsEqual("軌道 =1").size(), 1u);
}

TEST_F(Navigator, OrbitalsCycleOnThePlanarScene) {
    menu.Show(11);
    for (int press = 1; press <= 6; ++press) {
        menu.ForwardScene();
        EXPECT_EQ(menu.SceneNo(), 11);
        EXPECT_EQ(menu.OrbitalIndex(), press % 6) << "press " << press;
        EXPECT_EQ(view.marked.back(), 11);
    }
    EXPECT_EQ(view.surface.TextsEqual("軌道 =1").size(), 1u);
    menu.BackScene();
    EXPECT_EQ(menu.SceneNo(), 9) << "Back from the first planar orbital";
}

TEST_F(Navigator, BackFromFirst3DOrbitalGoesToLastPlanar) {
    menu.Show(12);
    EXPECT_TRUE(menu.TopFlag() == false && menu.EndFlag() == false);
    menu.BackScene();
    EXPECT_EQ(menu.SceneNo(), 11);
    EXPECT_EQ(menu.OrbitalIndex(), 5);
    EXPECT_EQ(view.marked.back(), 11);
    EXPECT_EQ(view.surface.TextsEqual("軌道 =6").size(), 1u);
    menu.BackScene();
    EXPECT_EQ(menu.OrbitalIndex(), 4);
    EXPECT_EQ(view.surface.TextsEqual("軌道 =5").size(), 1u);
}

TEST_F(Navigator, FlagsAndRedrawFromFirstOrbital) {
    for (std::int16_t scene = 1; scene <= 12; ++scene) {
        menu.Show(scene);
        EXPECT_EQ(menu.TopFlag(), scene < 3) << scene;
        EXPECT_FALSE(menu.EndFlag()) << scene;
    }
    for (int k = 0; k < 5; ++k) menu.ForwardScene();
    EXPECT_EQ(menu.OrbitalIndex(), 5);
    EXPECT_TRUE(menu.EndFlag());
    menu.ForwardScene();
    EXPECT_EQ(menu.SceneNo(), 12);
    EXPECT_EQ(menu.OrbitalIndex(), 0);
    EXPECT_FALSE(menu.EndFlag());
    menu.ForwardScene();
    menu.Show(0);  // the current scene again, from its first orbital
    EXPECT_EQ(menu.SceneNo(), 12);
    EXPECT_EQ(menu.OrbitalIndex(), 0);
}

}  // namespace
