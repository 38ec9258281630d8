// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The help window "使用方法": one read-only text box, txtDisplay, that fills
// the client area and shows the program's usage text whole, wrapped at the
// window's width and scrolled vertically.
//
// One instance at a time: ShowHelp is the help command's part of the work.
// The window deletes itself when closed.

#include <QWidget>
#include <string>

class QPlainTextEdit;

class frmHelp : public QWidget {
    Q_OBJECT
  public:
    explicit frmHelp(QWidget* parent = nullptr);

    // Font size 14, the box over the whole client area, the text into it;
    // then shows the window, not modal. text is left unchanged.
    void Display(const std::string& text);

    // The open help window, or nullptr.
    static frmHelp* Find();

    QPlainTextEdit* txtDisplay;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FitTextBox();
};

// The help command without its message: an open help window is restored if
// minimised and given the focus, and the file is not read again; otherwise
// helpFile is read with ReadTextFile and shown in a new window. False when
// the file cannot be read: no window is opened then, and the caller reports
// "ヘルプファイルの表示に失敗しました。".
bool ShowHelp(const std::string& helpFile);
