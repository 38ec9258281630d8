// SPDX-License-Identifier: BSD-3-Clause
// Orbix started with a file: the file is opened as the Open command opens it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "orbix/design/StartUp.h"
#include "orbix/design/frmDesign.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/FileNames.h"
#include "orbix/platform/ScriptedDialogs.h"
#include "orbix/result/frmResult.h"

namespace {

struct Started {
    orbix::ScriptedDialogs dlg;
    int code = -1;
    std::unique_ptr<frmDesign> form;

    explicit Started(const QString& file) {
        modOrbix::CurrentMolecule.reset();
        form = modDesign::StartUp(QString(ORBIX_PROGRAM_DIR), dlg, code, file);
    }
    ~Started() {
        frmResult::CloseForExit();
        form.reset();
        modOrbix::CurrentMolecule.reset();
    }
    QString LastMessage() const { return dlg.messages.empty() ? "" : dlg.messages.back().text; }
};

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

TEST(OpenAtStart, TemplateGivenByAbsolutePathIsShownAndNamed) {
    const QString path = QString(ORBIX_PROGRAM_DIR) + "template/benzene.tpl";
    Started s(path);
    ASSERT_TRUE(s.form) << s.LastMessage().toStdString();
    EXPECT_TRUE(s.dlg.messages.empty()) << s.LastMessage().toStdString();
    EXPECT_EQ(s.form->windowTitle(), "benzene.tpl－Orbix分子軌道法");
    EXPECT_EQ(s.form->Drawing().colSites().size(), 6u) << "benzene.tpl";
    EXPECT_EQ(s.form->Drawing().colDesignBonds().Count(), 6) << "benzene.tpl";
    for (std::int16_t site : s.form->Drawing().colSites())
        EXPECT_NE(s.form->tileAtom(site), nullptr) << "no tile on site " << site;
    EXPECT_FALSE(s.form->DocumentChanged());
    EXPECT_EQ(QDir::cleanPath(s.form->DocumentPath()), QDir::cleanPath(path));
    // No file dialog: the file came from the command line.
    EXPECT_TRUE(s.dlg.fileRequests.empty());
}

TEST(OpenAtStart, RelativePathIsKeptInFullForSaving) {
    QTemporaryDir dir;
    Write(dir, "ethylene.mol", "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    Started s("ethylene.mol");
    QDir::setCurrent(before);
    ASSERT_TRUE(s.form);
    EXPECT_EQ(s.form->windowTitle(), "ethylene.mol－Orbix分子軌道法");
    EXPECT_EQ(s.form->DocumentPath(), dir.filePath("ethylene.mol"))
        << "Save must write where the file was opened, whatever the current folder is later";
    EXPECT_EQ(s.form->Drawing().colSites().size(), 2u);
}

TEST(OpenAtStart, BadFilesGiveTheOpenMessagesAndAnUntitledDocument) {
    QTemporaryDir dir;
    struct {
        const char* name;
        QString path;
        const char* text;
    } cases[] = {
        {"missing", dir.filePath("missing.mol"), "　のオープンに失敗しました。"},
        {"no atom line", Write(dir, "empty.mol", "[Bond]=1-2\r\n"),
         "からの分子データの取得に失敗しました。"},
        {"site twice", Write(dir, "twice.mol", "[Atom]=5-1,5-1\r\n"),
         "からの分子の作成に失敗しました。"},
        {"a folder", dir.path(), "　のオープンに失敗しました。"},
    };
    for (const auto& c : cases) {
        Started s(c.path);
        ASSERT_TRUE(s.form) << c.name;
        EXPECT_EQ(s.code, 0) << c.name << ": the program goes on without the file";
        ASSERT_EQ(s.dlg.messages.size(), 1u) << c.name;
        EXPECT_EQ(s.dlg.messages[0].text, "ファイル：" + c.path + c.text) << c.name;
        EXPECT_EQ(s.dlg.messages[0].title, "ファイルを開く") << c.name;
        EXPECT_EQ(s.dlg.messages[0].icon, orbix::MsgIcon::kCritical) << c.name;
        EXPECT_EQ(s.form->windowTitle(), "無題－Orbix分子軌道法") << c.name;
        EXPECT_TRUE(s.form->Drawing().colSites().empty()) << c.name;
        EXPECT_TRUE(s.form->DocumentPath().isEmpty()) << c.name;
    }
}

TEST(OpenAtStart, NameThatIsNotUtf8IsOpenedAndKeptByItsBytes) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + "/\xff.mol";
    {
        std::FILE* f = std::fopen(path.constData(), "wb");
        ASSERT_TRUE(f);
        std::fputs("[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n", f);
        std::fclose(f);
    }
    // As the command line hands it over, relative to the current folder.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    Started s(orbix::FileNameText("\xff.mol"));
    QDir::setCurrent(before);
    ASSERT_TRUE(s.form);
    EXPECT_TRUE(s.dlg.messages.empty()) << s.LastMessage().toStdString();
    EXPECT_EQ(s.form->Drawing().colSites().size(), 2u);
    EXPECT_EQ(orbix::FileNameBytes(s.form->DocumentPath()), path) << "Save writes these bytes";
    std::remove(path.constData());  // a name QTemporaryDir cannot remove
}

}  // namespace
