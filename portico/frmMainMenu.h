// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>

class QPushButton;

// The launcher's main menu: starts Orbix, opens the three course documents,
// or ends the launcher.
class frmMainMenu : public QWidget {
    Q_OBJECT

  public:
    // programFolder: where Orbix and the documents lie; empty means the
    // folder of the running program.
    explicit frmMainMenu(const QString& programFolder = {}, QWidget* parent = nullptr);

    // The folder of a program file's directory with one "/" appended unless
    // it already ends in one (the root stays "/").
    static QString ProgramFolderOf(const QString& directory);
    const QString& ProgramFolder() const { return programFolder_; }
    QString OrbixFile() const { return programFolder_ + QStringLiteral("Orbix"); }

    void cmdPlay_Click();
    void cmdDocument_Click(std::int16_t n);
    void cmdExit_Click();
    // Shows the menu again (when minimised), raised and active.
    void BringToFront();

    QPushButton* cmdPlay;
    QPushButton* cmdExit;
    std::map<std::int16_t, QPushButton*> cmdDocument;  // indices 1 to 3

    // Test hooks. ShowMessage replaces the message box; OpeningProbe runs
    // while document n is being opened, with the button disabled and the
    // hourglass shown.
    static inline std::function<void(QWidget* parent, const QString& title, const QString& text)>
        ShowMessage;
    static inline std::function<void(std::int16_t n)> OpeningProbe;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* AddButton(const QString& caption, int left, int top, int width, int height);
    void Tell(const QString& text, const QString& file);

    QString programFolder_;
    bool centred_ = false;
};
