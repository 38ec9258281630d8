// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// picTile: the surface (this widget) paints the picture of the current look
// unscaled from its top-left corner; the constituent label lblCaption shows
// the caption centred over it.

#include <QLabel>

#include "tessera/TileFactory.h"

namespace tessera {

class TileControl : public QWidget, public picTile {
    Q_OBJECT

  public:
    explicit TileControl(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }

    Color ForeColor() const override;
    void SetForeColor(Color color) override;
    Color SelForeColor() const override;
    void SetSelForeColor(Color color) override;
    QFont Font() const override;
    void SetFont(const QFont& font) override;
    QString Caption() const override;
    void SetCaption(const QString& caption) override;
    Color MaskColor() const override;
    void SetMaskColor(Color color) override;
    std::int16_t State() const override { return state_; }
    void SetState(std::int16_t state) override;
    void Selected() override;
    void Refresh() override;
    QImage Picture() const override { return picture_; }
    void SetPicture(const QImage& picture) override;
    QImage SelPicture() const override { return selPicture_; }
    void SetSelPicture(const QImage& picture) override;
    QImage ShownPicture() const override { return shown_; }
    QImage MaskPicture() const override { return maskPicture_; }
    void PopupMenu(QMenu* menu, std::int16_t flags, std::optional<float> x, std::optional<float> y,
                   QAction* defaultMenu) override;
    void SetMouseDownHandler(MouseDownHandler handler) override { mouseDown_ = std::move(handler); }

    QString Tag() const override { return tag_; }
    void SetTag(const QString& tag) override { tag_ = tag; }
    int Left() const override { return x(); }
    int Top() const override { return y(); }
    int Width() const override { return width(); }
    int Height() const override { return height(); }
    void Move(int left, int top) override { move(left, top); }
    void Resize(int width, int height) override;
    bool Visible() const override { return isVisible(); }
    void SetVisible(bool visible) override { setVisible(visible); }

    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    bool PropertiesChanged() const override { return changed_; }
    bool DesignTime() const override { return designTime_; }
    void SetDesignTime(bool designTime) override { designTime_ = designTime; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CentreCaption();
    void SetCaptionColor(Color color);
    void SetMask(const QImage& maskPicture);
    void ApplyMask();
    QFont AmbientFont() const;
    void RaiseMouseDown(const QMouseEvent& event);

    QLabel* lblCaption;
    QImage picture_;
    QImage selPicture_;
    QImage shown_;
    QImage maskPicture_;
    Color foreColor_ = 0;
    Color selForeColor_ = 0;
    Color maskColor_ = kButtonFace;
    std::int16_t state_ = 0;
    QString tag_;
    bool designTime_ = false;
    bool changed_ = false;
    MouseDownHandler mouseDown_;
};

}  // namespace tessera
