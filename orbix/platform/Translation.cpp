// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orbix {

namespace {

// Qt's texts that its Japanese translation leaves in English.
class MissingTexts : public QTranslator {
  public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QCommandLineParser") != 0) return {};
        struct Text {
            const char* english;
            const char* japanese;
        };
        static const Text kTexts[] = {
            {"Displays help on commandline options.", "このヘルプを表示します。"},
            {"Displays help including Qt specific options.",
             "Qt に固有のオプションを含めたヘルプを表示します。"},
        };
        for (const Text& t : kTexts)
            if (qstrcmp(sourceText, t.english) == 0) return QString::fromUtf8(t.japanese);
        return {};  // Qt's own translation answers
    }
};

}  // namespace

bool InstallJapaneseTranslation(QCoreApplication& app) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    auto* translator = new QTranslator(&app);
    if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // Installed last, so asked first.
    return app.installTranslator(translator) && app.installTranslator(new MissingTexts(&app));
}

}  // namespace orbix
