// SPDX-License-Identifier: BSD-3-Clause
// The scene navigator on a recording surface: the walks a student makes with
// Next, Back and the tree, read back as the pages they show.

#include <gtest/gtest.h>

#include <string>
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

std::string Trim(std::string s) {
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The allyl radical: three orbitals, so every orbital walk is short.
class Navigator : public ::testing::Test {
  protected:
    void SetUp() override {
        auto out = testing_support::Calculate("1-1,2-1,3-1", "1-2,2-3");
        ASSERT_EQ(out.code, 0) << out.message;
    }

    // What the student sees after a command: the page drawn by it, named by
    // its title ("平面 2" / "立体 2" for an orbital picture), or "-" when the
    // command drew nothing.
    std::string Seen() {
        const auto& rec = view.surface.Recorded();
        const bool drew = rec.size() > mark_;
        mark_ = rec.size();
        if (!drew) return "-";
        for (const auto& t : view.surface.Page(Primitive::kText)) {
            if (t.text.rfind("*********** 固有値", 0) == 0) return "固有値";
            if (t.text == "*** π電子密度 ***") return "π電子密度";
            if (t.text == "*** 結合次数 ***") return "結合次数";
            if (t.text == "** 分子軌道エネルギーダイヤグラム **") return "準位";
            if (t.text == "*** クーロン積分 ***") return "クーロン積分";
            if (t.text == "*** 共鳴積分 ***") return "共鳴積分";
            if (t.text.rfind("軌道 =", 0) == 0)
                return "平面 " + t.text.substr(std::string("軌道 =").size());
            if (t.text == "個の分子軌道中") {
                // The orbital number follows the text, in magenta.
                auto texts = view.surface.Page(Primitive::kText);
                for (std::size_t i = 0; i + 1 < texts.size(); ++i)
                    if (texts[i].text == "個の分子軌道中") return "立体 " + Trim(texts[i + 1].text);
            }
        }
        return "?";
    }

    // Presses a key ('N' Next, 'B' Back) and records what is seen and marked.
    std::vector<std::string> Walk(const std::string& keys) {
        std::vector<std::string> seen;
        for (char k : keys) {
            if (k == 'N') menu.ForwardScene();
            if (k == 'B') menu.BackScene();
            seen.push_back(Seen() + " @" + std::to_string(view.marked.back()));
        }
        return seen;
    }

    // A click on tree node `scene`.
    std::string Click(std::int16_t scene) {
        view.ChangeMenu(scene);
        menu.Show(scene);
        return Seen();
    }

    RecordingView view;
    clsMenu menu{view};

  private:
    std::size_t mark_ = 0;
};

using Pages = std::vector<std::string>;

TEST_F(Navigator, NextFromTheTableThroughEveryPageThenRoundThePlanarOrbitals) {
    EXPECT_EQ(Click(2), "固有値");
    EXPECT_EQ(Walk("NNNNNNNNNN"),
              (Pages{"π電子密度 @4", "結合次数 @5", "準位 @6", "クーロン積分 @8", "共鳴積分 @9",
                     "平面 1 @11", "平面 2 @11", "平面 3 @11", "平面 1 @11", "平面 2 @11"}));
    EXPECT_FALSE(menu.EndFlag()) << "the planar scene never ends the walk";
}

TEST_F(Navigator, BackFromTheOrbitalsToTheTableAndNoFurther) {
    Click(11);
    EXPECT_EQ(Walk("NNBBBBBBBBBB"),
              (Pages{"平面 2 @11", "平面 3 @11", "平面 2 @11", "平面 1 @11", "共鳴積分 @9",
                     "クーロン積分 @8", "準位 @6", "結合次数 @5", "π電子密度 @4", "固有値 @2",
                     "固有値 @2", "固有値 @2"}));
    EXPECT_TRUE(menu.TopFlag());
    EXPECT_EQ(view.grid.Text(0, 0), "分子軌道") << "Back on the table redraws it";
}

TEST_F(Navigator, TheThreeDimensionalSceneFromTheTree) {
    EXPECT_EQ(Click(12), "立体 1");
    EXPECT_FALSE(menu.EndFlag());
    EXPECT_EQ(Walk("NN"), (Pages{"立体 2 @12", "立体 3 @12"}));
    EXPECT_TRUE(menu.EndFlag()) << "last 3-D orbital of allyl";
    // Past the last orbital the 3-D scene starts again at orbital 1.
    EXPECT_EQ(Walk("N"), (Pages{"立体 1 @12"}));
    EXPECT_FALSE(menu.EndFlag());
    // Back from the first 3-D orbital shows the last planar one, then walks down.
    EXPECT_EQ(Walk("BBBB"), (Pages{"平面 3 @11", "平面 2 @11", "平面 1 @11", "共鳴積分 @9"}));
}

TEST_F(Navigator, HeadingsShowNothingAndStepToTheirNeighbours) {
    Click(6);
    EXPECT_EQ(Click(7), "-") << "a heading leaves the page as it was";
    EXPECT_EQ(Walk("N"), (Pages{"クーロン積分 @8"}));
    Click(7);
    EXPECT_EQ(Walk("B"), (Pages{"準位 @6"}));
    EXPECT_EQ(Click(3), "-");
    EXPECT_EQ(Walk("N"), (Pages{"π電子密度 @4"}));
    Click(3);
    EXPECT_EQ(Walk("B"), (Pages{"固有値 @2"}));
    EXPECT_EQ(Click(10), "-");
    EXPECT_EQ(Walk("N"), (Pages{"平面 1 @11"}));
    Click(10);
    EXPECT_EQ(Walk("B"), (Pages{"共鳴積分 @9"}));
    // The root: Next opens the table, Back stays on the root and draws nothing.
    EXPECT_EQ(Click(1), "-");
    EXPECT_TRUE(menu.TopFlag());
    EXPECT_EQ(Walk("B"), (Pages{"- @1"}));
    EXPECT_EQ(Walk("N"), (Pages{"固有値 @2"}));
}

TEST_F(Navigator, ATreeClickStartsAnOrbitalSceneFromItsFirstOrbital) {
    Click(11);
    Walk("NN");
    EXPECT_EQ(Click(11), "平面 1");
    Walk("N");
    menu.Show(0);  // the current scene again
    EXPECT_EQ(Seen(), "平面 1");
    EXPECT_EQ(menu.SceneNo(), 11);
    Click(12);
    Walk("NN");
    menu.Show(0);
    EXPECT_EQ(Seen(), "立体 1");
    EXPECT_FALSE(menu.EndFlag());
}

TEST_F(Navigator, TopFlagOnlyOnTheRootAndTheTable) {
    for (std::int16_t scene = 1; scene <= 12; ++scene) {
        Click(scene);
        EXPECT_EQ(menu.TopFlag(), scene <= 2) << "scene " << scene;
        EXPECT_FALSE(menu.EndFlag()) << "scene " << scene << " at its first orbital";
    }
}

}  // namespace
