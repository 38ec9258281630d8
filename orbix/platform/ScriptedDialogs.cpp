// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/ScriptedDialogs.h"

#include <QPrinter>

namespace orbix {

MsgAnswer ScriptedDialogs::Message(const QString& text, const QString& title, MsgButtons buttons,
                                   MsgIcon icon) {
    messages.push_back({text, title, buttons, icon});
    // A message with only OK needs no answer.
    if (buttons == MsgButtons::kOk) return MsgAnswer::kOk;
    if (answers.empty()) {
        ++unexpected;
        return buttons == MsgButtons::kYesNo ? MsgAnswer::kNo : MsgAnswer::kCancel;
    }
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

bool ScriptedDialogs::File(FileRequest& request) {
    fileRequests.push_back(request);
    if (files.empty()) {
        ++unexpected;
        return false;
    }
    const auto choice = files.front();
    files.pop_front();
    if (!choice) return false;
    request.fileName = *choice;
    if (!filters.empty()) {
        request.filterIndex = filters.front();
        filters.pop_front();
    }
    return true;
}

bool ScriptedDialogs::OpenFile(FileRequest& request) { return File(request); }
bool ScriptedDialogs::SaveFile(FileRequest& request) { return File(request); }

bool ScriptedDialogs::Printer(QPrinter& printer, const QString& title) {
    printerTitles << title;
    if (printers.empty()) {
        ++unexpected;
        return false;
    }
    const auto choice = printers.front();
    printers.pop_front();
    if (!choice) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*choice);
    return true;
}

}  // namespace orbix
