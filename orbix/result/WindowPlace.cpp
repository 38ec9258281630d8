// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/result/WindowPlace.h"

namespace modResult {

QMargins FrameMargins(const WindowPlace& place) {
    const QRect f = place.frame, g = place.geometry;
    if (!f.isValid() || !f.contains(g)) return {};
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                    f.bottom() - g.bottom());
}

QRect FitToWorkArea(const QRect& client, const QMargins& frame, const QRect& workArea) {
    if (workArea.isEmpty()) return client;
    QRect outer = client.marginsAdded(frame);
    outer.setSize(outer.size().boundedTo(workArea.size()));
    if (outer.right() > workArea.right()) outer.moveRight(workArea.right());
    if (outer.bottom() > workArea.bottom()) outer.moveBottom(workArea.bottom());
    if (outer.left() < workArea.left()) outer.moveLeft(workArea.left());
    if (outer.top() < workArea.top()) outer.moveTop(workArea.top());
    return outer.marginsRemoved(frame);
}

}  // namespace modResult
