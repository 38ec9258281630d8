// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The program's identity on the desktop: its icon on every window and the
// name of its desktop entry.

#include <QIcon>

namespace orbix {

// The icon at every size the build rendered.
QIcon ProgramIcon();

// Sets the icon for every window of the application and names its desktop
// entry `desktopEntry` (without ".desktop"), which Wayland desktops use to
// match the windows to the entry. Needs the application object.
void SetProgramIdentity(const QString& desktopEntry);

}  // namespace orbix
