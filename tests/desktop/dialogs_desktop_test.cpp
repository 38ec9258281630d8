// SPDX-License-Identifier: BSD-3-Clause
// Qt's own texts in the programs' dialogs, under the xcb platform in this
// process: the standard buttons of a message box and the file dialog.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "XSession.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/platform/Translation.h"

namespace {

QApplication* App(desktop::XSession& x) {
    static bool translated = false;
    QApplication* app = x.Application();
    if (!translated) translated = orbix::InstallJapaneseTranslation(*app);
    return app;
}

// Runs inspect on the modal window once it is shown, then closes it.
template <class W>
void WhenShown(const std::function<void(W*)>& inspect) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        inspect(w);
        w->reject();
    });
    timer->start(50);
}

std::string Texts(const QStringList& texts) {
    return texts.join(QStringLiteral(" | ")).toStdString();
}

TEST(DesktopDialogs, MessageBoxButtonsAreJapanese) {
    DESKTOP_SESSION(x);
    App(*x);
    QStringList buttons;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons()) buttons << b->text();
    });
    orbix::QtDialogs dialogs;
    dialogs.Message(QStringLiteral("変更を保存しますか？"), QStringLiteral("Orbix分子軌道法"),
                    orbix::MsgButtons::kYesNoCancel, orbix::MsgIcon::kInformation);
    ASSERT_EQ(buttons.size(), 3) << Texts(buttons);
    EXPECT_TRUE(buttons.contains(QStringLiteral("はい(&Y)"))) << Texts(buttons);
    EXPECT_TRUE(buttons.contains(QStringLiteral("いいえ(&N)"))) << Texts(buttons);
    EXPECT_TRUE(buttons.filter(QStringLiteral("キャンセル")).size() == 1) << Texts(buttons);
    for (const QString& t : buttons)
        EXPECT_FALSE(t.contains(QStringLiteral("Yes")) || t.contains(QStringLiteral("No")) ||
                     t.contains(QStringLiteral("Cancel")))
            << Texts(buttons);
}

TEST(DesktopDialogs, FileDialogSpeaksJapanese) {
    DESKTOP_SESSION(x);
    App(*x);
    QStringList texts;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        for (QLabel* l : dialog->findChildren<QLabel*>())
            if (!l->text().isEmpty()) texts << l->text();
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
            if (b->isVisible() && !b->text().isEmpty()) texts << b->text();
    });
    orbix::QtDialogs dialogs;
    orbix::FileRequest request;
    request.title = QStringLiteral("開く");
    request.filter = QStringLiteral("分子ﾃﾞｰﾀﾌｧｲﾙ (*.mol)|*.mol");
    EXPECT_FALSE(dialogs.OpenFile(request));
    ASSERT_FALSE(texts.isEmpty());
    for (const char* english : {"Look in", "File name", "Files of type", "Cancel", "Open"})
        EXPECT_TRUE(texts.filter(QString::fromLatin1(english)).isEmpty())
            << "English \"" << english << "\" in the file dialog: " << Texts(texts);
    EXPECT_FALSE(texts.filter(QStringLiteral("ファイル名")).isEmpty()) << Texts(texts);
    EXPECT_FALSE(texts.filter(QStringLiteral("キャンセル")).isEmpty()) << Texts(texts);
}

}  // namespace
