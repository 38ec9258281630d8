// SPDX-License-Identifier: BSD-3-Clause
#include "TesseraPlugin.h"

#include "TileControl.h"

namespace tessera {

QStringList TesseraPlugin::Keys() const { return {kTileKey}; }

picTile* TesseraPlugin::CreateTile(const QString& key, QWidget* parent) {
    if (key != kTileKey) return nullptr;
    return new TileControl(parent);
}

}  // namespace tessera
