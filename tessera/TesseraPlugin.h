// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The plugin's root object: the class factory of the tile.

#include <QObject>

#include "tessera/TileFactory.h"

namespace tessera {

class TesseraPlugin : public QObject, public TileFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TesseraTileFactory_iid FILE "Tessera.json")
    Q_INTERFACES(tessera::TileFactory)

  public:
    QStringList Keys() const override;
    picTile* CreateTile(const QString& key, QWidget* parent) override;
};

}  // namespace tessera
