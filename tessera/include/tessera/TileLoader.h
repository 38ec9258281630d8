// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Finding and loading the Tessera plugin from the program folder.
//
//   tessera::TileLibrary lib = tessera::LoadTileLibrary(programFolder);
//   if (!lib) { show lib.error in an error box; end with a non-zero status }
//   tessera::picTile* tile = lib.factory->CreateTile(tessera::kTileKey, canvas);
//
// The plugin stays loaded for the rest of the process.

#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

#include "tessera/TileFactory.h"

namespace tessera {

// File name of the plugin in the program folder.
inline const QString kTilePluginFile = QStringLiteral("libTessera.so");

struct TileLibrary {
    TileFactory* factory = nullptr;
    QString error;   // for the user, in Japanese; empty on success
    QString detail;  // the loader's own diagnosis, when there is one

    explicit operator bool() const { return factory != nullptr; }
};

inline QString TilePluginPath(const QString& programFolder) {
    return QDir(programFolder).filePath(kTilePluginFile);
}

inline TileLibrary LoadTileLibrary(const QString& programFolder) {
    TileLibrary lib;
    const QString path = TilePluginPath(programFolder);
    const QString where = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (!QFileInfo(path).isFile()) {
        lib.error = QStringLiteral(
                        "原子タイルの部品ファイル「%1」が見つかりません。\n%2\n"
                        "プログラムを起動できません。")
                        .arg(kTilePluginFile, where);
        return lib;
    }
    QPluginLoader loader(path);
    QObject* root = loader.instance();
    if (root == nullptr) {
        lib.error = QStringLiteral(
                        "原子タイルの部品ファイル「%1」を読み込めません。"
                        "ファイルが壊れているか、このプログラムに合わない版です。\n%2\n"
                        "プログラムを起動できません。")
                        .arg(kTilePluginFile, where);
        lib.detail = loader.errorString();
        return lib;
    }
    auto* factory = qobject_cast<TileFactory*>(root);
    if (factory == nullptr || !factory->Keys().contains(kTileKey)) {
        lib.error = QStringLiteral(
                        "部品ファイル「%1」は「%2」を作成できません。\n%3\n"
                        "プログラムを起動できません。")
                        .arg(kTilePluginFile, kTileKey, where);
        loader.unload();
        return lib;
    }
    lib.factory = factory;
    return lib;
}

}  // namespace tessera
