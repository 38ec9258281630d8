// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Dialogs that answer from a script and record what was asked, for tests.
// A message with OK alone is answered OK. Any other dialog with no scripted
// answer left is recorded as unexpected and answered with Cancel (No for
// Yes/No), so no test ever waits on a window.

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "orbix/platform/Dialogs.h"

namespace orbix {

class ScriptedDialogs : public Dialogs {
  public:
    struct Asked {
        QString text, title;
        MsgButtons buttons;
        MsgIcon icon;
    };

    // Script: answers in order.
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<QString>> files;  // chosen path, nullopt = cancel
    // The filter chosen with each chosen path; none left = the one shown.
    std::deque<int> filters;
    // Printer choices: a PDF file to print into, nullopt = cancel.
    std::deque<std::optional<QString>> printers;

    // Record.
    std::vector<Asked> messages;
    std::vector<FileRequest> fileRequests;  // as shown, before the answer
    QStringList printerTitles;
    int unexpected = 0;

    MsgAnswer Message(const QString& text, const QString& title, MsgButtons buttons,
                      MsgIcon icon) override;
    bool OpenFile(FileRequest& request) override;
    bool SaveFile(FileRequest& request) override;
    bool Printer(QPrinter& printer, const QString& title) override;

  private:
    bool File(FileRequest& request);
};

}  // namespace orbix
