#pragma once
// What the result window needs of the design window.

#include <QSize>

namespace orbix {
class Dialogs;
}

class DesignHost {
  public:
    virtual ~DesignHost() = default;

    // The design window's size, which the result window takes.
    virtual QSize DesignWindowSize() const = 0;
    // Shows the design window again (not modal), its drawing untouched.
    virtual void ShowDesign() = 0;
    // The design window's document commands.
    virtual void mnuFileSave_Click() = 0;
    virtual void mnuFileSaveAs_Click() = 0;
    virtual void mnuFileExit_Click() = 0;
    // The design window's common dialog (file, printer and message boxes).
    virtual orbix::Dialogs& CommonDialog() = 0;
};
