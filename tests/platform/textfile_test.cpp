// SPDX-License-Identifier: BSD-3-Clause
// Writing text files: CP932 with CR LF, the old file kept on any failure, and
// files the user may not write, links and long names as the desktop expects;
// file names kept as their bytes.

#include "orbix/platform/TextFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "orbix/model/modCommon.h"
#include "orbix/platform/FileNames.h"
#include "tests/support/OtherUser.h"

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Make(const QString& path, const QByteArray& bytes, QFile::Permissions perms) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    f.close();
    f.setPermissions(perms);
    return path;
}

unsigned Mode(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

int Entries(const QTemporaryDir& dir) {
    return static_cast<int>(
        QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size());
}

TEST(WriteTextFile, JapaneseTextRoundTripsThroughCp932) {
    QTemporaryDir dir;
    const std::string text = "分子軌道法 ﾌｧｲﾙ π電子";
    const QString path = dir.filePath("ja.txt");
    ASSERT_TRUE(orbix::WriteTextFile(path, text));
    const QByteArray bytes = Bytes(path);
    EXPECT_EQ(bytes.left(4), QByteArray("\x95\xaa\x8e\x71"));  // 分子 in Shift_JIS
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    std::vector<std::string> lines;
    ASSERT_EQ(modCommon::ReadTextLines(path.toStdString(), lines), 0);
    EXPECT_EQ(lines, std::vector<std::string>{text});
}

TEST(DesktopEncoding, ShiftJisOnlyForItsNames) {
    for (const char* name : {"SHIFT_JIS", "Shift-JIS", "sjis", "CP932", "WINDOWS-31J", "MS_KANJI",
                             "IBM-943", "SHIFT_JISX0213"})
        EXPECT_TRUE(orbix::IsShiftJisCodeset(name)) << name;
    for (const char* name : {"UTF-8", "utf8", "ANSI_X3.4-1968", "EUC-JP", "ISO-2022-JP", "", "JIS"})
        EXPECT_FALSE(orbix::IsShiftJisCodeset(name)) << name;
}

// The locale of the environment, not the process's own, which the application
// object switched to UTF-8.
TEST(DesktopEncoding, ReadsTheLocaleTheUserChose) {
    const QByteArray old = qgetenv("LC_ALL");
    for (const char* locale : {"C", "C.UTF-8"}) {
        qputenv("LC_ALL", locale);
        EXPECT_EQ(orbix::LocaleCodeset(), locale == std::string("C") ? "ANSI_X3.4-1968" : "UTF-8")
            << locale;
        EXPECT_EQ(orbix::DesktopEncoding(), orbix::TextEncoding::kUtf8) << locale;
    }
    qputenv("LC_ALL", "xx_NOWHERE.SHIFT_JIS");
    EXPECT_EQ(orbix::LocaleCodeset(), "") << "a locale that is not installed";
    old.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", old);
    orbix::testing::LocaleCodeset = "SJIS";
    EXPECT_EQ(orbix::DesktopEncoding(), orbix::TextEncoding::kCp932);
    orbix::testing::LocaleCodeset.clear();
}

TEST(WriteTextFile, FailuresKeepTheOldFileAndLeaveNothingBehind) {
    QTemporaryDir dir;
    const QString path = Make(dir.filePath("keep.mol"), "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n",
                              QFile::ReadOwner | QFile::WriteOwner);
    orbix::testing::WriteFailsAfterBytes = 5;  // the disk fills up half-way
    EXPECT_FALSE(orbix::WriteTextFile(path, "[Atom]=3-1,4-1"));
    orbix::testing::WriteFailsAfterBytes = -1;
    EXPECT_EQ(Bytes(path), QByteArray("[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n"));
    EXPECT_EQ(Entries(dir), 1) << "no temporary file is left behind";

    EXPECT_FALSE(orbix::WriteTextFile(path, "emoji \xF0\x9F\x98\x80")) << "text CP932 cannot hold";
    EXPECT_EQ(Bytes(path), QByteArray("[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n"));
    EXPECT_EQ(Entries(dir), 1);

    EXPECT_FALSE(orbix::WriteTextFile(dir.filePath("no/such/folder.mol"), "[Atom]=1-1"));
    ASSERT_TRUE(orbix::WriteTextFile(path, "[Atom]=3-1"));
    EXPECT_EQ(Bytes(path), QByteArray("[Atom]=3-1\r\n"));
}

TEST(WriteTextFile, NameOfTheFullLengthSaves) {
    QTemporaryDir dir;
    for (int length : {249, 255}) {
        const QString name = QString(length - 4, QLatin1Char('a')) + ".mol";
        ASSERT_EQ(QFile::encodeName(name).size(), length);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(orbix::WriteTextFile(path, "[Atom]=1-1")) << length << " bytes";
        EXPECT_EQ(Bytes(path), QByteArray("[Atom]=1-1\r\n")) << length << " bytes";
        // Replacing the existing file needs a temporary name beside it too.
        EXPECT_TRUE(orbix::WriteTextFile(path, "[Atom]=2-1")) << length << " bytes";
        EXPECT_EQ(Bytes(path), QByteArray("[Atom]=2-1\r\n")) << length << " bytes";
    }
}

TEST(WriteTextFile, ProtectedFilesLinksAndPermissions) {
    ORBIX_RUN_AS_OTHER_USER();
    QTemporaryDir dir;
    const QString readOnly =
        Make(dir.filePath("ro.mol"), "old", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_FALSE(orbix::WriteTextFile(readOnly, "[Atom]=1-1")) << "a 0444 file is replaced";
    EXPECT_EQ(Bytes(readOnly), QByteArray("old"));
    EXPECT_EQ(Mode(readOnly), 0444u);

    const QString group = Make(dir.filePath("group.mol"), "old",
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_EQ(Mode(group), 0640u);
    EXPECT_TRUE(orbix::WriteTextFile(group, "[Atom]=1-1"));
    EXPECT_EQ(Bytes(group), QByteArray("[Atom]=1-1\r\n"));
    EXPECT_EQ(Mode(group), 0640u) << "the file's permissions are kept";

    const QString target =
        Make(dir.filePath("target.mol"), "old", QFile::ReadOwner | QFile::WriteOwner);
    const QString link = dir.filePath("link.mol");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_TRUE(orbix::WriteTextFile(link, "[Atom]=2-1"));
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link is replaced by a plain file";
    EXPECT_EQ(Bytes(target), QByteArray("[Atom]=2-1\r\n"));

    // A link to a file the user may not write is refused like the file.
    const QString roLink = dir.filePath("ro-link.mol");
    ASSERT_TRUE(QFile::link(readOnly, roLink));
    EXPECT_FALSE(orbix::WriteTextFile(roLink, "[Atom]=3-1"));
    EXPECT_EQ(Bytes(readOnly), QByteArray("old"));
    EXPECT_TRUE(QFileInfo(roLink).isSymLink());
}

TEST(FileNames, EveryNameComesBackAsItsBytes) {
    const QByteArray names[] = {
        "plain.mol",
        "\xe5\x88\x86\xe5\xad\x90.mol",  // UTF-8 "分子"
        "\x95\xaa\x8e\x71.mol",          // Shift_JIS "分子"
        "\xff\xfe.svg",
        "\xfd.x",
        "end\xe3\x81",           // a sequence cut short
        "\xed\xa0\x80.mol",      // an encoded surrogate
        "\xf0\x9f\x98\x80.mol",  // beyond the basic plane
    };
    QStringList texts;
    for (const QByteArray& bytes : names) {
        const QString text = orbix::FileNameText(bytes);
        EXPECT_EQ(orbix::FileNameBytes(text), bytes) << bytes.toHex().toStdString();
        if (QByteArrayView(bytes).isValidUtf8()) {
            EXPECT_EQ(text, QString::fromUtf8(bytes)) << "valid UTF-8 reads as itself";
        }
        EXPECT_FALSE(texts.contains(text)) << bytes.toHex().toStdString();
        texts << text;
    }
}

}  // namespace
