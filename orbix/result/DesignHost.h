// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// What the result window needs of the design window.

#include "orbix/result/WindowPlace.h"

namespace orbix {
class Dialogs;
}

class DesignHost {
  public:
    virtual ~DesignHost() = default;

    // Where the design window stands, its state and its screen's work area:
    // the result window takes its place, size and state.
    virtual modResult::WindowPlace DesignWindowPlace() const = 0;
    // Shows the design window again (not modal), its drawing untouched.
    virtual void ShowDesign() = 0;
    // The design window's document commands.
    virtual void mnuFileSave_Click() = 0;
    virtual void mnuFileSaveAs_Click() = 0;
    virtual void mnuFileExit_Click() = 0;
    // The design window's common dialog (file, printer and message boxes).
    virtual orbix::Dialogs& CommonDialog() = 0;
};
