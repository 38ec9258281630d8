// SPDX-License-Identifier: BSD-3-Clause
#pragma once

class QCoreApplication;

// Installs Qt's Japanese translation (standard buttons, dialogs) and makes
// Japanese the default locale, whatever the user's locale. False when the
// translation file cannot be loaded.
bool InstallJapaneseTranslation(QCoreApplication& app);
