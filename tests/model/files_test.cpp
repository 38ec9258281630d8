#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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

TEST_F(TempDir, JapaneseTextRoundTripsThroughCp932) {
    const std::string text = "分子軌道法 ﾌｧｲﾙ π電子";
    std::string path = (dir_ / "ja.txt").string();
    ASSERT_EQ(modCommon::WriteTextFile(path, text), 1);
    std::string bytes = Bytes(path);
    EXPECT_EQ(bytes.substr(0, 4), "\x95\xaa\x8e\x71");  // 分子 in Shift_JIS
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::vector<std::string> lines;
    ASSERT_EQ(modCommon::ReadTextLines(path, lines), 0);
    EXPECT_EQ(lines, std::vector<std::string>{text});
    // Bytes that are not CP932 never stop the reader.
    EXPECT_EQ(modCommon::ReadTextLines(Write("bin", std::string("\x81\xff\x00\xa0z", 5)), lines),
              0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].back(), 'z');
}

TEST_F(TempDir, FailedWriteKeepsTheOldFile) {
    std::string path = Write("keep.mol", "old");
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(modCommon::WriteTextFile(path, "new"), 0);
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Bytes(path), "old");
}

TEST_F(TempDir, WriteFailingHalfWayKeepsTheOldFile) {
    std::string path = Write("keep.mol", "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n");
    modCommon::testing::WriteFailsAfterBytes = 5;
    EXPECT_EQ(modCommon::WriteTextFile(path, "[Atom]=3-1,4-1"), 0);
    modCommon::testing::WriteFailsAfterBytes = -1;
    EXPECT_EQ(Bytes(path), "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
    EXPECT_EQ(modCommon::WriteTextFile(path, "[Atom]=3-1"), 1);
    EXPECT_EQ(Bytes(path), "[Atom]=3-1\r\n");
}

TEST_F(TempDir, UnencodableTextIsAFailureAndWritesNothing) {
    std::string path = Write("keep.csv", "old");
    EXPECT_EQ(modCommon::WriteTextFile(path, "emoji \xF0\x9F\x98\x80"), 0);
    EXPECT_EQ(Bytes(path), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
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
