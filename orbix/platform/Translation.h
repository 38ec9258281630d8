// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Qt's own texts (standard buttons, file and print dialogs, the command line's
// help and errors) in Japanese.

class QCoreApplication;

namespace orbix {

// Installs Qt's Japanese translation into app, with Japanese words of our own
// for the few texts it leaves in English, and makes Japanese the default
// locale, whatever the user's locale: the program speaks only Japanese.
// False when the translation file cannot be loaded (Qt's texts stay English).
bool InstallJapaneseTranslation(QCoreApplication& app);

}  // namespace orbix
