// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Where a top-level window stands on the desktop, and fitting a window into
// the part of the screen that windows may use.

#include <QMargins>
#include <QRect>
#include <Qt>

namespace modResult {

struct WindowPlace {
    QRect frame;           // outer rectangle, window frame included
    QRect geometry;        // client area
    QRect normalGeometry;  // client area when neither maximised nor full screen
    Qt::WindowStates state;
    QRect workArea;  // the available geometry of its screen; empty if unknown
};

// The frame's width on each side of the client area.
QMargins FrameMargins(const WindowPlace& place);

// The client area of a window with this frame that stands where `client`
// asks, but is no larger than the work area and, frame included, wholly
// inside it: moved in from the edges it passes.
QRect FitToWorkArea(const QRect& client, const QMargins& frame, const QRect& workArea);

}  // namespace modResult
