// SPDX-License-Identifier: BSD-3-Clause
// The editing operations against a fake window that records tiles and lines.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "orbix/design/DesignDrawing.h"
#include "orbix/model/modOrbix.h"

namespace {

class FakeView : public DrawingView {
  public:
    void CreateTile(std::int16_t site, std::int16_t element) override {
        tiles[site] = {element, 0};
    }
    void RemoveTile(std::int16_t site) override { tiles.erase(site); }
    std::int16_t TileState(std::int16_t site) const override { return tiles.at(site).state; }
    void SelectTile(std::int16_t site) override { tiles.at(site).state = 1; }
    void RefreshTile(std::int16_t site) override { tiles.at(site).state = 0; }
    void DrawBondLine(std::int16_t a, std::int16_t b) override {
        lines.push_back(std::to_string(a) + "," + std::to_string(b));
    }
    void RemoveBondLine(const std::string& tag) override {
        auto it = std::find(lines.begin(), lines.end(), tag);
        if (it != lines.end()) lines.erase(it);
    }
    void ProcessEvents() override {
        // The bonds of the deleted atoms are gone before any tile goes.
        linesWhenEventsRan = lines;
        tilesWhenEventsRan = tiles.size();
    }

    struct Tile {
        std::int16_t element, state;
    };
    std::map<std::int16_t, Tile> tiles;
    std::vector<std::string> lines, linesWhenEventsRan;
    size_t tilesWhenEventsRan = 0;
};

class Drawing : public ::testing::Test {
  protected:
    void SetUp() override {
        modOrbix::ComputeSites();
        modOrbix::BuildSiteLinks();
    }
    void Place(std::initializer_list<int> sites) {
        for (int s : sites) ASSERT_TRUE(d.PlaceAtom(static_cast<std::int16_t>(s), 1));
    }
    // The invariants the window relies on after every operation.
    void CheckConsistent() {
        std::set<std::int16_t> selected(d.colSelected().begin(), d.colSelected().end());
        EXPECT_EQ(selected.size(), d.colSelected().size()) << "no site selected twice";
        EXPECT_EQ(v.tiles.size(), d.colSites().size());
        for (std::int16_t s : d.colSites())
            EXPECT_EQ(v.tiles.at(s).state == 1, selected.count(s) == 1) << "site " << s;
        std::vector<std::string> keys;
        for (const auto& b : d.colDesignBonds()) {
            keys.push_back(b->Key());
            EXPECT_LT(b->Index1(), b->Index2());
            EXPECT_TRUE(d.Occupied(b->Index1()) && d.Occupied(b->Index2())) << b->Key();
        }
        EXPECT_EQ(keys, v.lines);
    }
    FakeView v;
    DesignDrawing d{v};
};

TEST_F(Drawing, BenzeneByRubberBandOrderAndConnect) {
    Place({2, 3, 4, 13, 12, 11});
    EXPECT_TRUE(d.DocumentChanged);
    EXPECT_FALSE(d.PlaceAtom(3, 1)) << "a site holds one tile";
    EXPECT_FALSE(d.PlaceAtom(37, 1));
    d.SelAll();
    d.ConnectAtom(d.colSelected());
    // Pairs in the order the neighbour rule finds them.
    EXPECT_EQ(v.lines, (std::vector<std::string>{"2,3", "2,11", "3,4", "4,13", "12,13", "11,12"}));
    EXPECT_TRUE(d.colSelected().empty());
    CheckConsistent();
    EXPECT_EQ(d.Serialize(),
              "[Atom]=2-1,3-1,4-1,13-1,12-1,11-1\r\n[Bond]=2-3,2-11,3-4,4-13,12-13,11-12");
}

TEST_F(Drawing, TwoAtomsBondWhateverTheirSites) {
    Place({1, 36, 12, 3});
    d.Select(36);
    d.Select(1);
    d.ConnectAtom(d.colSelected());
    EXPECT_EQ(v.lines, std::vector<std::string>{"1,36"});
    d.Select(12);
    d.Select(3);
    d.ConnectAtom(d.colSelected());
    EXPECT_EQ(d.colDesignBonds().Item(2)->Key(), "3,12");
    d.Select(3);
    d.Select(12);
    d.ConnectAtom(d.colSelected());
    EXPECT_EQ(d.colDesignBonds().Count(), 2) << "connecting again adds nothing";
    CheckConsistent();
}

TEST_F(Drawing, NeighbourRuleForThreeOrMore) {
    Place({1, 2, 3, 5});
    d.SelAll();
    d.ConnectAtom(d.colSelected());
    EXPECT_EQ(v.lines, (std::vector<std::string>{"1,2", "2,3"}));
    Place({20, 22, 24});
    d.SelClear();
    d.Select(20);
    d.Select(22);
    d.Select(24);
    d.ConnectAtom(d.colSelected());
    EXPECT_EQ(d.colDesignBonds().Count(), 2) << "20, 22, 24 are not neighbours";
    d.DocumentChanged = false;
    d.Select(1);
    d.ConnectAtom(d.colSelected());
    EXPECT_TRUE(d.DocumentChanged) << "changed even when nothing was bonded";
    CheckConsistent();
}

TEST_F(Drawing, DeleteBondBetweenSelectedAtomsOnly) {
    Place({1, 2, 3});
    d.SelAll();
    d.ConnectAtom(d.colSelected());
    d.Select(1);
    d.Select(2);
    d.DeleteConnect(false);
    EXPECT_EQ(v.lines, std::vector<std::string>{"2,3"});
    CheckConsistent();
}

TEST_F(Drawing, DeleteAtomTakesItsBondsFirst) {
    Place({1, 2, 3, 4});
    d.SelAll();
    d.ConnectAtom(d.colSelected());
    d.Select(2);
    d.DeleteAtom(false);
    EXPECT_EQ(v.linesWhenEventsRan, std::vector<std::string>{"3,4"});
    EXPECT_EQ(v.tilesWhenEventsRan, 4u) << "tiles go after the repaint";
    EXPECT_EQ(d.colSites(), (std::vector<std::int16_t>{1, 3, 4}));
    EXPECT_TRUE(d.colSelected().empty());
    EXPECT_EQ(d.Serialize(), "[Atom]=1-1,3-1,4-1\r\n[Bond]=3-4");
    CheckConsistent();
    d.DocumentChanged = false;
    d.DeleteAtom(false);
    EXPECT_EQ(d.colSites().size(), 3u) << "empty selection deletes nothing";
    EXPECT_TRUE(d.DocumentChanged);
}

TEST_F(Drawing, SelAllKeepsEarlierSelectionFirst) {
    Place({5, 6, 7});
    d.Select(7);
    d.Select(7);
    d.SelAll();
    EXPECT_EQ(d.colSelected(), (std::vector<std::int16_t>{7, 5, 6}));
    d.Deselect(5);
    EXPECT_EQ(d.colSelected(), (std::vector<std::int16_t>{7, 6}));
    d.SelClear();
    EXPECT_TRUE(d.colSelected().empty());
    for (auto& [site, tile] : v.tiles) EXPECT_EQ(tile.state, 0) << site;
    CheckConsistent();
}

TEST_F(Drawing, LoadRebuildsInFileOrder) {
    MoleculeFile::Drawing file;
    ASSERT_TRUE(MoleculeFile::ParseDrawing("20-3,2-1,11-1", "11-20,2-11", 3, file));
    d.Load(file);
    EXPECT_EQ(d.colSites(), (std::vector<std::int16_t>{20, 2, 11}));
    EXPECT_EQ(d.Element(20), 3);
    EXPECT_EQ(v.lines, (std::vector<std::string>{"11,20", "2,11"}));
    CheckConsistent();
    // An atoms-only file clears the bonds of the previous drawing.
    v.tiles.clear();
    v.lines.clear();
    ASSERT_TRUE(MoleculeFile::ParseDrawing("20-3", "", 3, file));
    d.Load(file);
    EXPECT_EQ(d.colDesignBonds().Count(), 0);
    EXPECT_EQ(d.Serialize(), "[Atom]=20-3\r\n");
}

}  // namespace
