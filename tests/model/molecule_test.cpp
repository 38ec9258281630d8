// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/Molecule.h"

#include <gtest/gtest.h>

#include "orbix/model/RunTimeError.h"
#include "tests/support/TestMolecules.h"

namespace {

using testing_support::Bonds;

std::shared_ptr<clsAtom> Element(int index, int electrons) {
    auto a = std::make_shared<clsAtom>();
    a->Init({"X" + std::to_string(index), std::to_string(electrons), "0", "0", "1", "3",
             std::to_string(index)});
    return a;
}

std::vector<std::shared_ptr<clsNode>> Nodes(std::vector<std::pair<int, int>> siteElectrons) {
    std::vector<std::shared_ptr<clsNode>> nodes;
    for (auto [site, e] : siteElectrons) {
        auto n = std::make_shared<clsNode>();
        n->Initialize(Element(e, e), static_cast<std::int16_t>(site));
        nodes.push_back(n);
    }
    return nodes;
}

TEST(Molecule, ElectronCountAndHomo) {
    Molecule m;
    m.Initialize(Nodes({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}), Bonds({}));
    EXPECT_EQ(m.E_num(), 6);
    EXPECT_EQ(m.Homo_num(), 3);
    m.Initialize(Nodes({{1, 1}, {2, 2}, {3, 2}, {4, 1}, {5, 1}}), Bonds({}));
    EXPECT_EQ(m.E_num(), 7);
    EXPECT_EQ(m.Homo_num(), 4);
}

TEST(Molecule, PositionsFollowNodeOrderAndBondsAreSymmetric) {
    Molecule m;
    m.filename("benzene.mol");
    m.Energy(3.5);
    m.Initialize(Nodes({{20, 1}, {2, 1}, {11, 1}}), Bonds({{2, 11}, {3, 12}, {11, 20}}));
    EXPECT_EQ(m.Item(1)->index(), 20);
    EXPECT_EQ(m.Item(3)->index(), 11);
    EXPECT_TRUE(m.Bond(2, 3));
    EXPECT_TRUE(m.Bond(3, 2));
    EXPECT_TRUE(m.Bond(1, 3));
    EXPECT_FALSE(m.Bond(1, 2));
    EXPECT_FALSE(m.Bond(2, 2));
    EXPECT_EQ(m.filename(), "benzene.mol");
    EXPECT_EQ(m.Energy(), 3.5);
    EXPECT_THROW(m.Bond(0, 1), orbix::RunTimeError);
    EXPECT_THROW(m.Item(4), orbix::RunTimeError);
}

TEST(Molecule, EmptyNodeListRaises) {
    Molecule m;
    EXPECT_THROW(m.Initialize({}, Bonds({})), orbix::RunTimeError);
}

TEST(BondCollection, KeysAndOrder) {
    BondCollection c = Bonds({{3, 12}, {2, 3}});
    EXPECT_EQ(c.Item(1)->Key(), "3,12");
    EXPECT_FALSE(c.Add(c.Item(2)));
    auto same = std::make_shared<CBond>();
    same->Index1(3);
    same->Index2(12);
    EXPECT_FALSE(c.Add(same)) << "another bond between the same sites";
    EXPECT_EQ(c.Find("2,3"), c.Item(2));
    // Only the key's exact text finds a bond: the pair in the other order, or
    // written another way, is no key of the collection.
    for (const char* other : {"12,3", "03,12", "+3,12", "3,12 ", "3, 12", "3,12,", "3", "", ","}) {
        EXPECT_EQ(c.Find(other), nullptr) << other;
        EXPECT_FALSE(c.Remove(other)) << other;
    }
    EXPECT_EQ(c.Count(), 2);
    EXPECT_TRUE(c.Remove("3,12"));
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.Item(1)->State(), 0);
    c.Item(1)->Selected();
    EXPECT_EQ(c.Item(1)->State(), 1);
}

}  // namespace
