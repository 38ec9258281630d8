// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Start-up and end of the program, and the save prompt.

#include <QString>
#include <memory>

namespace orbix {
class Dialogs;
enum class MsgAnswer;
}  // namespace orbix
class frmDesign;

namespace modDesign {

inline const QString kStartUpErrorTitle = QStringLiteral("Orbix.exe－原子データの読み込みエラー");

// Everything Main does once the application object exists: the program
// folder, the element table, the tile plugin, then the design window shown
// and, when `file` is given, that file opened as the Open command opens it.
// On failure the error box is shown through `dialogs`, everything is
// released and nullptr returned with exitCode set (non-zero).
std::unique_ptr<frmDesign> StartUp(const QString& programFolder, orbix::Dialogs& dialogs,
                                   int& exitCode, const QString& file = {});

// The program's entry point.
int Main(int argc, char** argv);

// Closes every window, releases the element table, the molecule and the
// result window, and ends the event loop with `code`.
void UnloadAll(int code);

// "ファイル <name>の内容は変更されています。" CR LF "変更を保存しますか？"
orbix::MsgAnswer AskSaveChanges(orbix::Dialogs& dialogs);

}  // namespace modDesign
