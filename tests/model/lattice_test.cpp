// SPDX-License-Identifier: BSD-3-Clause
#include <gtest/gtest.h>

#include "orbix/model/RunTimeError.h"
#include "orbix/model/modConnect.h"
#include "orbix/model/modOrbix.h"

namespace {

class Lattice : public ::testing::Test {
  protected:
    void SetUp() override {
        modOrbix::ComputeSites();
        modOrbix::BuildSiteLinks();
    }
};

TEST_F(Lattice, CoordinatesFollowTheZigzagRows) {
    const int xs[9] = {90, 179, 269, 358, 448, 538, 627, 717, 806};
    const int yOdd[4] = {49, 182, 315, 448};
    const int yEven[4] = {81, 214, 347, 480};
    for (int site = 1; site <= 36; ++site) {
        int r = (site - 1) / 9, c = (site - 1) % 9;
        EXPECT_EQ(modOrbix::SiteX[site], xs[c]) << "site " << site;
        EXPECT_EQ(modOrbix::SiteY[site], site % 2 ? yOdd[r] : yEven[r]) << "site " << site;
    }
}

TEST_F(Lattice, LinksFormAHoneycomb) {
    EXPECT_FALSE(modOrbix::SitesLinked(9, 10));  // different rows
    EXPECT_TRUE(modOrbix::SitesLinked(2, 11));
    EXPECT_TRUE(modOrbix::SitesLinked(11, 2));
    EXPECT_FALSE(modOrbix::SitesLinked(1, 10));
    EXPECT_TRUE(modOrbix::SitesLinked(26, 35));
    EXPECT_FALSE(modOrbix::SitesLinked(27, 36));
    int links = 0;
    int degree[37] = {};
    for (int b = 1; b <= 36; ++b)
        for (int a = 1; a < b; ++a)
            if (modOrbix::SiteLinks[b][a]) {
                ++links;
                ++degree[a];
                ++degree[b];
            }
    // 4 rows of 8 horizontal links and 3 x 4 vertical ones (2-8, 10-18, 20-26).
    EXPECT_EQ(links, 32 + 4 + 5 + 4);
    for (int s = 1; s <= 36; ++s) {
        EXPECT_GE(degree[s], 1) << s;
        EXPECT_LE(degree[s], 3) << s;
    }
    // Stored once, under (larger, smaller).
    for (int a = 1; a <= 36; ++a)
        for (int b = a; b <= 36; ++b) EXPECT_EQ(modOrbix::SiteLinks[a][b], 0);
}

TEST_F(Lattice, FindLinkedPairsKeepsCollectionOrder) {
    std::vector<modConnect::SitePair> pairs;
    EXPECT_EQ(modConnect::FindLinkedPairs({2, 3, 11}, pairs), 2);
    EXPECT_EQ(pairs, (std::vector<modConnect::SitePair>{{2, 3}, {2, 11}}));
    EXPECT_EQ(modConnect::FindLinkedPairs({9, 10}, pairs), 0);
    EXPECT_EQ(modConnect::FindLinkedPairs({}, pairs), 0);
    EXPECT_EQ(modConnect::FindLinkedPairs({13, 4, 12}, pairs), 2);
    EXPECT_EQ(pairs, (std::vector<modConnect::SitePair>{{4, 13}, {12, 13}}));
    EXPECT_THROW(modConnect::FindLinkedPairs({2, 37}, pairs), orbix::RunTimeError);
}

// Structure matrix from valences (negative for heteroatoms) and bonds.
orbix::Mat1<std::int16_t> Structure(std::vector<int> valence,
                                    std::vector<std::pair<int, int>> bonds) {
    int n = static_cast<int>(valence.size());
    orbix::Mat1<std::int16_t> m(n, n, 0);
    for (int i = 1; i <= n; ++i) m(i, i) = static_cast<std::int16_t>(valence[i - 1]);
    for (auto [a, b] : bonds) m(a, b) = m(b, a) = 1;
    return m;
}

TEST(CheckStructure, CodesInTheirOrderOfPrecedence) {
    using modConnect::CheckStructure;
    const std::vector<std::pair<int, int>> ring{{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 1}};
    EXPECT_EQ(CheckStructure(Structure({3, 3, 3, 3, 3, 3}, ring)), 0) << "benzene";
    EXPECT_EQ(CheckStructure(Structure({-2, 3, 3, 3, 3, 3}, ring)), 0) << "pyridine";
    EXPECT_EQ(CheckStructure(Structure({2, 2, 1}, {{1, 2}, {2, 3}, {1, 3}})), 2) << "over-bonded";
    // Two heteroatoms bonded anywhere: 3, before over-bonding or a second part.
    EXPECT_EQ(CheckStructure(Structure({3, 3, -1, -1, 1}, {{1, 2}, {3, 4}, {4, 5}})), 3);
    EXPECT_EQ(CheckStructure(Structure({3, 3, 3, 3}, {{1, 2}, {3, 4}})), 1) << "two ethylenes";
    EXPECT_EQ(CheckStructure(Structure({3, 3, 3}, {{1, 2}})), 1) << "lone atom";
    // An over-bonded atom before the first unreached one gives 2.
    EXPECT_EQ(CheckStructure(Structure({1, 3, 3, 3}, {{1, 2}, {1, 3}})), 2);
    // A carbon between two heteroatoms passes.
    EXPECT_EQ(CheckStructure(Structure({-1, 3, -2}, {{1, 2}, {2, 3}})), 0);
}

TEST(CheckStructure, LeavesTheCallersMatrixAlone) {
    auto m = Structure({-2, 3, 3}, {{1, 2}, {2, 3}});
    auto copy = m;
    modConnect::CheckStructure(m);
    EXPECT_EQ(m, copy);
}

TEST(CheckStructure, MessagesAreJoinedWithoutBreak) {
    EXPECT_EQ(modConnect::StructureMessage(1),
              "分子構造が間違っています。原子が正しく結合されているかチェックしてください。");
    EXPECT_EQ(modConnect::StructureMessage(0), "");
    EXPECT_EQ(std::string(modConnect::kStructureTitle), "分子構造エラー－\u3000Orbix分子軌道法");
}

}  // namespace
