// SPDX-License-Identifier: BSD-3-Clause
// Finding the plugin in the program folder, and what the user is told when
// it cannot be used.

#include <QFile>
#include <QTemporaryDir>

#include "TileFixture.h"

using tessera::LoadTileLibrary;

TEST(TileLoader, LoadsThePluginFromTheProgramFolderAndMakesTiles) {
    tessera::TileLibrary lib = LoadTileLibrary(QStringLiteral(ORBIX_PROGRAM_DIR));
    ASSERT_TRUE(lib) << lib.error.toStdString() << " / " << lib.detail.toStdString();
    EXPECT_TRUE(lib.error.isEmpty());
    EXPECT_TRUE(lib.factory->Keys().contains(QStringLiteral("Tessera.picTile")));

    QWidget canvas;
    tessera::picTile* tile = lib.factory->CreateTile(QStringLiteral("Tessera.picTile"), &canvas);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->Widget()->parentWidget(), &canvas);
    EXPECT_EQ(lib.factory->CreateTile(QStringLiteral("Tessera.Other"), &canvas), nullptr);

    // Deleting the tile removes its widget from the canvas.
    delete tile;
    EXPECT_TRUE(canvas.findChildren<QWidget*>().isEmpty());
}

TEST(TileLoader, MissingPluginNamesTheFileAndTheFolder) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    tessera::TileLibrary lib = LoadTileLibrary(empty.path());
    EXPECT_FALSE(lib);
    EXPECT_TRUE(lib.error.contains(QStringLiteral("libTessera.so"))) << lib.error.toStdString();
    EXPECT_TRUE(lib.error.contains(QStringLiteral("見つかりません"))) << lib.error.toStdString();
    EXPECT_TRUE(lib.error.contains(empty.path())) << lib.error.toStdString();
}

TEST(TileLoader, BrokenPluginFilesAreRefusedWithTheirOwnMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = tessera::TilePluginPath(dir.path());

    {  // not a shared library at all
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "\x7f"
            "ELF but nothing after it");
    }
    tessera::TileLibrary garbage = LoadTileLibrary(dir.path());
    EXPECT_FALSE(garbage);
    EXPECT_TRUE(garbage.error.contains(QStringLiteral("読み込めません")))
        << garbage.error.toStdString();
    EXPECT_FALSE(garbage.detail.isEmpty());

    {  // empty file
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    }
    EXPECT_FALSE(LoadTileLibrary(dir.path()));

    // A folder under the plugin's name is no plugin either.
    QFile::remove(path);
    ASSERT_TRUE(QDir(dir.path()).mkdir(tessera::kTilePluginFile));
    tessera::TileLibrary folder = LoadTileLibrary(dir.path());
    EXPECT_FALSE(folder);
    EXPECT_FALSE(folder.error.isEmpty());
}

TEST(TileLoader, QtPluginWithoutTheTileFactoryIsRefused) {
    tessera::TileLibrary lib = LoadTileLibrary(QStringLiteral(TESSERA_FOREIGN_DIR));
    EXPECT_FALSE(lib);
    EXPECT_TRUE(lib.error.contains(QStringLiteral("Tessera.picTile"))) << lib.error.toStdString();
    EXPECT_TRUE(lib.error.contains(QStringLiteral("作成できません"))) << lib.error.toStdString();
}
