// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Message boxes and the common dialogs (open, save, printer) behind one
// interface: the windows use QtDialogs, tests install ScriptedDialogs.

#include <QString>

class QPrinter;
class QWidget;

namespace orbix {

// The program's application title, used where a message has no title of its own.
inline const QString kApplicationTitle = QStringLiteral("Orbix");

enum class MsgButtons { kOk, kYesNo, kYesNoCancel };
enum class MsgIcon { kNone, kInformation, kExclamation, kCritical };
enum class MsgAnswer { kOk, kYes, kNo, kCancel };

struct FileRequest {
    QString title;
    QString initialDir;
    QString filter;       // the platform form "desc (*.ext)|*.ext"
    QString fileName;     // preset name in, chosen path out
    int filterIndex = 0;  // filter shown first in, chosen filter out (from 0)
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer Message(const QString& text, const QString& title, MsgButtons buttons,
                              MsgIcon icon) = 0;
    // False when cancelled; otherwise request.fileName holds the chosen path.
    virtual bool OpenFile(FileRequest& request) = 0;
    virtual bool SaveFile(FileRequest& request) = 0;
    // Lets the user choose a printer for `printer`; false when cancelled.
    virtual bool Printer(QPrinter& printer, const QString& title) = 0;
};

// "desc (*.ext)|*.ext|desc2 (*.x)|*.x" -> "desc (*.ext);;desc2 (*.x)".
QString QtFilter(const QString& platformFilter);

// The real dialogs, modal to `parent` (which may change, may be null).
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void Parent(QWidget* parent) { parent_ = parent; }

    MsgAnswer Message(const QString& text, const QString& title, MsgButtons buttons,
                      MsgIcon icon) override;
    bool OpenFile(FileRequest& request) override;
    bool SaveFile(FileRequest& request) override;
    bool Printer(QPrinter& printer, const QString& title) override;

  private:
    QWidget* parent_;
};

}  // namespace orbix
