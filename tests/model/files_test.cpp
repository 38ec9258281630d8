// SPDX-License-Identifier: BSD-3-Clause
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>

#include "orbix/model/MoleculeFile.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"

namespace fs = std::filesystem;

namespace {

class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("orbix_files_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }
    std::string Bytes(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    fs::path dir_;
};

TEST_F(TempDir, ReadTextLinesResultCodesAndLineEnds) {
    std::vector<std::string> lines;
    EXPECT_EQ(modCommon::ReadTextLines((dir_ / "missing").string(), lines), 2);
    EXPECT_EQ(modCommon::ReadTextLines(Write("empty", ""), lines), 1);
    EXPECT_TRUE(lines.empty());

    EXPECT_EQ(modCommon::ReadTextLines(Write("crlf", "a\r\nb\r\n"), lines), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(modCommon::ReadTextLines(Write("noend", "a\r\nb"), lines), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(modCommon::ReadTextLines(Write("lf", "a\n\nb\n"), lines), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(modCommon::ReadTextLines(Write("blank", "\r\n"), lines), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{""}));
}

// Editors of other systems begin a file with a UTF-8 byte-order mark; CP932
// would read it as two characters before the first key or caption.
TEST_F(TempDir, OneLeadingByteOrderMarkIsSkipped) {
    const std::string bom = "\xEF\xBB\xBF";
    std::vector<std::string> lines;
    EXPECT_EQ(modCommon::ReadTextLines(Write("lines", bom + "a\r\nb"), lines), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(modCommon::ReadTextLines(Write("mark", bom), lines), modCommon::rrEmpty);
    std::string text;
    ASSERT_EQ(modCommon::ReadTextFile(Write("text", bom + "x"), text), 1);
    EXPECT_EQ(text, "x");

    MoleculeFile::Drawing d;
    EXPECT_EQ(
        MoleculeFile::ReadDrawingFile(Write("m.mol", bom + "[Atom]=1-1,2-1\r\n[Bond]=1-2"), 12, d),
        0);
    AtomTable table;
    std::string message;
    ASSERT_TRUE(
        modOrbix::LoadAtomDataFrom(Write("atom.dat", bom + "C,1,0,0,1,3\r\n"), table, message))
        << message;
    EXPECT_EQ(table.Item(1)->Caption(), "C");
}

TEST_F(TempDir, OnlyRegularFilesAreRead) {
    // A FIFO without a writer would block the open for ever; it must fail at once.
    const std::string fifo = (dir_ / "f.mol").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto read = std::async(std::launch::async, [&] {
        std::vector<std::string> lines;
        return modCommon::ReadTextLines(fifo, lines);
    });
    if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        std::ofstream release(fifo);  // lets the reader go on, so the test can end
        FAIL() << "reading the FIFO " << fifo << " hangs";
    }
    EXPECT_EQ(read.get(), modCommon::rrOpenFailed);

    std::vector<std::string> lines;
    EXPECT_EQ(modCommon::ReadTextLines(dir_.string(), lines), modCommon::rrOpenFailed)
        << "a folder";
    EXPECT_EQ(modCommon::ReadTextLines("/dev/zero", lines), modCommon::rrOpenFailed)
        << "a device that never ends";
    MoleculeFile::Drawing d;
    EXPECT_EQ(MoleculeFile::ReadDrawingFile(fifo, 12, d), 1);
}

TEST_F(TempDir, LinesAreHandedOutOneAtATimeUntilRefused) {
    const std::string path = Write("lines.txt", "a\r\n\r\nb\nc");
    std::vector<std::string> seen;
    EXPECT_EQ(modCommon::ForEachTextLine(path,
                                         [&](std::string& line) {
                                             seen.push_back(line);
                                             return line != "b";
                                         }),
              modCommon::rrOk);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "", "b"})) << "stops where refused";
    EXPECT_EQ(modCommon::ForEachTextLine(Write("empty", ""), [](std::string&) { return true; }),
              modCommon::rrEmpty);

    std::vector<std::string> parts;
    EXPECT_FALSE(modCommon::ForEachPart("1-1,,2-1", ',', [&](std::string_view p) {
        parts.emplace_back(p);
        return !p.empty();
    }));
    EXPECT_EQ(parts, (std::vector<std::string>{"1-1", ""}));
}

TEST_F(TempDir, FilesOfNothingButSeparatorsAreRefused) {
    // Millions of empty entries or lines: refused as any faulty file is.
    const std::string commas = Write("commas.mol", "[Atom]=" + std::string(1 << 20, ','));
    const std::string empty = Write("empty.mol", std::string(1 << 20, '\n'));
    MoleculeFile::Drawing d;
    EXPECT_EQ(MoleculeFile::ReadDrawingFile(commas, 12, d), 3);
    EXPECT_EQ(MoleculeFile::ReadDrawingFile(empty, 12, d), 2);
    EXPECT_EQ(MoleculeFile::ReadDrawingFile(
                  Write("ok.mol", std::string(1000, '\n') + "[Atom]=1-1,2-1\r\n[Bond]=1-2"), 12, d),
              0);
    EXPECT_EQ(d.atoms.size(), 2u);
    EXPECT_EQ(d.bonds.Count(), 1);
}

TEST(SplitText, FinalSeparatorAddsNoPart) {
    using V = std::vector<std::string>;
    EXPECT_EQ(modCommon::SplitText("a,b,", ','), (V{"a", "b"}));
    EXPECT_EQ(modCommon::SplitText("a,,b", ','), (V{"a", "", "b"}));
    EXPECT_EQ(modCommon::SplitText("", ','), (V{""}));
    EXPECT_EQ(modCommon::SplitText(",", ','), (V{""}));
    EXPECT_EQ(modCommon::SplitText("C,1,0,0,1,3,", ',').size(), 6u);
}

TEST(FileTitle, PartAfterTheLastSlash) {
    EXPECT_EQ(modCommon::FileTitle("/home/a/benzene.mol"), "benzene.mol");
    EXPECT_EQ(modCommon::FileTitle("benzene.mol"), "benzene.mol");
    EXPECT_EQ(modCommon::FileTitle("/"), "");
    EXPECT_EQ(modOrbix::FolderWithSlash("/"), "/");
    EXPECT_EQ(modOrbix::FolderWithSlash("/opt/orbix"), "/opt/orbix/");
}

}  // namespace
