// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Where the file dialogs start.

#include <QString>

namespace orbix {

// folder when the user may write into it, else the user's home folder (a
// program installed for all users lives in a folder no student can write).
QString WritableFolderOrHome(const QString& folder);

// Where a dialog starts that has no folder of its own: the folder of the last
// file opened or saved (lastFolder, "" when none yet), else the folder the
// program was started in, or the home folder when that is the program folder
// (as it is when the launcher starts the program).
QString CurrentFolder(const QString& lastFolder, const QString& programFolder);

// True when path names a file inside folder (after resolving links and "..").
bool IsInFolder(const QString& path, const QString& folder);

}  // namespace orbix
