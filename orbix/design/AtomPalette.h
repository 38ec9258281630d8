// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The atom palette: one push button per element, in table order, in a column
// that scrolls when it is longer than the window. Only the buttons in view
// are drawn, and no button is a widget of its own, so a table of any legal
// size shows at once. Every button has one width; a caption too long for it
// is elided and shown whole as the button's tool tip.

#include <QListView>
#include <QStringList>
#include <functional>

class AtomPaletteModel;

class AtomPalette : public QListView {
  public:
    explicit AtomPalette(QWidget* parent = nullptr);
    ~AtomPalette() override;

    // One button per caption; picture(n) is the picture of button n. The
    // buttons are as wide as the widest caption needs, up to widthLimit.
    void Build(const QStringList& captions, const std::function<QIcon(int)>& picture,
               int widthLimit);
    int Count() const;
    QString Caption(int index) const;  // button index from 1
    // The caption as the button shows it, elided when it does not fit.
    QString ShownCaption(int index) const;
    // Shows button `index` pressed and every other released; 0 releases all.
    void Press(int index);
    int Pressed() const { return pressed_; }
    QSize ButtonSize() const { return button_; }
    // Brings button `index` into view; its place in the palette's viewport.
    QRect ButtonRect(int index);

    // Called with the button's index when a button is clicked.
    std::function<void(int)> onClick;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* e) override;

  private:
    class Delegate;
    void FitWidth();

    AtomPaletteModel* model_;
    QSize button_;      // every button's size
    int textRoom_ = 0;  // width left for the caption on a button
    int pressed_ = 0;
};
