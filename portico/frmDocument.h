// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>

class QAction;
class QMenu;
class QTextBrowser;

// The viewer of one course document: the rich text fills the window below
// its menu "ﾌｧｲﾙ" with the single item "閉じる".
class frmDocument : public QMainWindow {
    Q_OBJECT

  public:
    enum class LoadResult { Loaded, Missing, Unreadable };

    explicit frmDocument(const QString& programFolder, QWidget* parent = nullptr);

    // The number of the document shown, as decimal text.
    QString Tag;

    // Loads document n, sets the caption and shows the window. When the file
    // is missing or cannot be read, the window is left hidden.
    LoadResult ShowDocument(std::int16_t n);

    // The file of document n in the program folder, and the caption of its viewer.
    static QString DocumentFile(const QString& programFolder, std::int16_t n);
    static QString DocumentCaption(std::int16_t n);

    QTextBrowser* rtfDocument;
    QMenu* mnuFile;
    QAction* mnuFileClose;

  private:
    void mnuFileClose_Click();

    QString programFolder_;
    double widestText_;  // the widest the text area can be, in pixels
};
