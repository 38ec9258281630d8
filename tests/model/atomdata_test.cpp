// SPDX-License-Identifier: BSD-3-Clause
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "orbix/model/modOrbix.h"

namespace fs = std::filesystem;

namespace {

struct Case {
    const char* name;
    const char* bytes;  // file contents; nullptr for a missing file
    bool ok;
    const char* message;
};

class AtomData : public ::testing::TestWithParam<Case> {};

TEST_P(AtomData, LoadsOrRefusesWithTheRightMessage) {
    const Case& c = GetParam();
    fs::path dir = fs::temp_directory_path() / ("orbix_atoms_" + std::to_string(::getpid()));
    fs::create_directories(dir / "data");
    fs::remove(dir / "data/atom.dat");
    if (c.bytes) std::ofstream(dir / "data/atom.dat", std::ios::binary) << c.bytes;

    modOrbix::ProgramFolder = modOrbix::FolderWithSlash(dir.string());
    std::string message;
    bool ok = modOrbix::LoadAtomData(message);
    EXPECT_EQ(ok, c.ok) << c.name << ": " << message;
    if (c.message) {
        EXPECT_EQ(message, c.message) << c.name;
    }
    fs::remove_all(dir);
}

const char* kRead = "原子データファイルの読み込みに失敗しました";
const char* kData = "原子データファイルのデータが正しくありません。";
const char* kMismatch = "型が一致しません。";

INSTANTIATE_TEST_SUITE_P(
    Files, AtomData,
    ::testing::Values(Case{"missing", nullptr, false, kRead}, Case{"empty", "", false, kRead},
                      Case{"good", "C,1,0,0,1,3\r\nN,1,0.5,0.05,1,2\r\n", true, nullptr},
                      Case{"no final line end", "C,1,0,0,1,3\r\nN,1,0.5,0.05,1,2", true, nullptr},
                      Case{"lf only", "C,1,0,0,1,3\nN,1,0.5,0.05,1,2\n", true, nullptr},
                      Case{"trailing comma", "C,1,0,0,1,3,\r\n", true, nullptr},
                      Case{"seven fields", "C,1,0,0,1,3,4\r\n", false, kData},
                      Case{"five fields", "C,1,0,0,1\r\n", false, kData},
                      Case{"empty line", "C,1,0,0,1,3\r\n\r\nN,1,0.5,0.05,1,2\r\n", false, kData},
                      Case{"E_num 0", "C,0,0,0,1,3\r\n", false, kData},
                      Case{"Hands 0", "C,1,0,0,1,0\r\n", false, kData},
                      Case{"negative h accepted", "C,1,-0.5,-0.1,1,3\r\n", true, nullptr},
                      Case{"repeated caption in other case", "N,1,0,0,1,3\r\nn,1,0,0,1,3\r\n",
                           false, kData},
                      Case{"not a number", "C,1,zero,0,1,3\r\n", false, kMismatch},
                      Case{"nan", "C,1,nan,0,1,3\r\n", false, kMismatch},
                      Case{"infinity", "C,1,0,inf,1,3\r\n", false, kMismatch},
                      Case{"hex", "C,1,0x10,0,1,3\r\n", false, kMismatch},
                      Case{"beyond single precision", "C,1,1e39,0,1,3\r\n", false, kData},
                      Case{"beyond double", "C,1,1e400,0,1,3\r\n", false, kData},
                      Case{"E_num beyond 16 bits", "C,40000,0,0,1,3\r\n", false, kData},
                      Case{"spaces and fraction", "C, 1.5 , 0 ,0,1, 2.5\r\n", true, nullptr}),
    [](const auto& info) {
        std::string s = info.param.name;
        for (char& ch : s)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return s;
    });

TEST(AtomDataFields, ConversionsAndIndex) {
    AtomTable t;
    std::string message;
    fs::path f = fs::temp_directory_path() / ("orbix_atoms_fields_" + std::to_string(::getpid()));
    std::ofstream(f, std::ios::binary) << "C,1,0,0,1,3\r\n N ,1.5,0.5,0.05,1,2.5\r\n";
    ASSERT_TRUE(modOrbix::LoadAtomDataFrom(f.string(), t, message)) << message;
    fs::remove(f);
    ASSERT_EQ(t.Count(), 2);
    const clsAtom& n = *t.Item(2);
    EXPECT_EQ(n.index(), 2);
    EXPECT_EQ(n.Caption(), " N ");  // taken as written
    EXPECT_EQ(n.E_num(), 2);        // 1.5 rounds to even
    EXPECT_EQ(n.Hands(), 2);        // 2.5 rounds to even
    EXPECT_EQ(n.Ha(), 0.5f);
    EXPECT_EQ(n.Hb(), 0.05f);
    EXPECT_EQ(n.Name(), "");
    EXPECT_TRUE(t.Find(" n ") != nullptr);
    EXPECT_TRUE(t.Item(1)->IsCarbon());
}

TEST(AtomDataFields, ShippedTableStartsWithCarbon) {
    AtomTable t;
    std::string message;
    ASSERT_TRUE(
        modOrbix::LoadAtomDataFrom(std::string(ORBIX_SOURCE_DIR) + "data/atom.dat", t, message))
        << message;
    ASSERT_GE(t.Count(), 10);
    EXPECT_EQ(t.Item(1)->Caption(), "C");
    EXPECT_EQ(t.Item(1)->Ha(), 0.0f);
    EXPECT_EQ(t.Item(1)->Hl(), 1.0f);
    for (const auto& a : t) {
        // The inductive correction is a tenth of h, as the table's source recommends.
        EXPECT_FLOAT_EQ(a->Hb(), 0.1f * a->Ha()) << a->Caption();
        EXPECT_TRUE(a->E_num() == 1 || a->E_num() == 2) << a->Caption();
    }
}

}  // namespace
