// SPDX-License-Identifier: BSD-3-Clause
// A Qt plugin with an interface of its own: loads, but makes no tiles.

#include <QObject>
#include <QtPlugin>

class NotATile : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "Orbix.Tests.NotATile/1.0")
};

#include "NotATile.moc"
