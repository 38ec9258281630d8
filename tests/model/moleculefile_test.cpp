// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/MoleculeFile.h"

#include <gtest/gtest.h>

#include "orbix/model/modOrbix.h"

namespace {

using MoleculeFile::Drawing;
using MoleculeFile::ParseDrawing;

struct Parsed {
    bool failed;
    std::string atoms, bonds;
};

Parsed Parse(std::vector<std::string> lines) {
    Parsed p;
    p.failed = MoleculeFile::ParseMoleculeText(lines, p.atoms, p.bonds);
    return p;
}

TEST(ParseMoleculeText, ReadingRules) {
    auto p = Parse({"[Atom]=2-1,3-1", "[Bond]=2-3"});
    EXPECT_FALSE(p.failed);
    EXPECT_EQ(p.atoms, "2-1,3-1");
    EXPECT_EQ(p.bonds, "2-3");

    p = Parse({"   [Atom]  =  2-1 , 3-1  ", "junk line", "[Bond] = 2-3 "});
    EXPECT_EQ(p.atoms, "2-1 , 3-1");
    EXPECT_EQ(p.bonds, "2-3");

    EXPECT_TRUE(Parse({"[atom]=2-1"}).failed) << "keys are case sensitive";
    EXPECT_TRUE(Parse({"[Atom]="}).failed) << "\"=\" last: no value";
    EXPECT_TRUE(Parse({"]Atom=2-1"}).failed) << "\"]\" first is not a key";
    EXPECT_TRUE(Parse({}).failed);

    p = Parse({"[Atom]=1-1", "[Atom]=5-1,6-1"});
    EXPECT_EQ(p.atoms, "5-1,6-1") << "the last line wins";

    p = Parse({"[Atom]"});
    EXPECT_EQ(p.atoms, "[Atom]") << "no \"=\": the whole line is the value";

    p = Parse({"[Atom]=1-1,2-1", "[Bond]=1-2", "[Other]=x"});
    EXPECT_EQ(p.bonds, "1-2") << "a later keyed line keeps the bonds";

    std::vector<std::string> lines{"  [Atom]=1-1  "};
    std::string a, b;
    MoleculeFile::ParseMoleculeText(lines, a, b);
    EXPECT_EQ(lines[0], "[Atom]=1-1") << "lines are trimmed in place";
}

TEST(ParseDrawing, AcceptsWhatTheEditorCouldShow) {
    Drawing d;
    ASSERT_TRUE(ParseDrawing(" 2 - 1 ,3-1,4-2", "2-3, 4-3 ,3-3", 3, d));
    ASSERT_EQ(d.atoms.size(), 3u);
    EXPECT_EQ(d.atoms[2].site, 4);
    EXPECT_EQ(d.atoms[2].element, 2);
    ASSERT_EQ(d.bonds.Count(), 2) << "3-3 is skipped";
    // Written larger site first, kept smaller first.
    EXPECT_EQ(d.bonds.Item(2)->Index1(), 3);
    EXPECT_EQ(d.bonds.Item(2)->Index2(), 4);
    EXPECT_TRUE(ParseDrawing("20-3", "", 3, d));
}

TEST(ParseDrawing, RefusesWhatCannotBeLoaded) {
    struct {
        const char* atoms;
        const char* bonds;
        size_t atomsRead;
    } cases[] = {
        {"2-1,3", "", 1},    // no "-"
        {"2-1,x-1", "", 1},  // not a number
        {"0-1", "", 0},      // site out of range
        {"37-1", "", 0},
        {"2-1,2-1", "", 1},  // site twice
        {"2-4", "", 0},      // element beyond the table
        {"2-0", "", 0},
        {"2-1,3-1", "2-3,2-3", 2},  // repeated bond
        {"2-1,3-1", "2-3,3-2", 2},  // the same bond written the other way
        {"2-1,3-1", "2-4", 2},      // bond to an empty site
        {"2-1,3-1", "2-99999", 2},  // out of 16 bits
        {"2-1,3-1", "2-", 2},
        {"2-1e9", "", 0},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        Drawing d;
        EXPECT_FALSE(ParseDrawing(c.atoms, c.bonds, 3, d)) << c.atoms << " | " << c.bonds;
        EXPECT_EQ(d.atoms.size(), c.atomsRead) << c.atoms << " | " << c.bonds;
    }
}

TEST(SerializeDrawing, WritesTheFileText) {
    Drawing d;
    ASSERT_TRUE(ParseDrawing("2-1,3-1,4-1,13-1,12-1,11-1", "2-3,3-4,4-13,12-13,11-12,2-11", 1, d));
    EXPECT_EQ(MoleculeFile::SerializeDrawing(d.atoms, d.bonds),
              "[Atom]=2-1,3-1,4-1,13-1,12-1,11-1\r\n[Bond]=2-3,3-4,4-13,12-13,11-12,2-11");
    ASSERT_TRUE(ParseDrawing("20-3", "", 3, d));
    EXPECT_EQ(MoleculeFile::SerializeDrawing(d.atoms, d.bonds), "[Atom]=20-3\r\n");
    EXPECT_EQ(MoleculeFile::SerializeDrawing({}, d.bonds), "");
}

}  // namespace
