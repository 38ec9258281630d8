// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The atom tile `picTile` as the host sees it, and the factory the Tessera
// plugin exports. The host includes this header only; it never links the
// plugin, which it loads at run time (see TileLoader.h).
//
// Units: geometry and mouse positions are widget pixels. Colours are
// platform colour values (Color): an RGB value 0x00BBGGRR, or a system
// colour reference 0x80000000 | index (0x8000000F is the button face).

#include <QAction>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <QtPlugin>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tessera {

// The key the factory creates tiles for.
inline const QString kTileKey = QStringLiteral("Tessera.picTile");

using Color = std::uint32_t;

constexpr Color RGB(int r, int g, int b) {
    return static_cast<Color>(r & 0xFF) | static_cast<Color>(g & 0xFF) << 8 |
           static_cast<Color>(b & 0xFF) << 16;
}
inline constexpr Color kButtonFace = 0x8000000F;

// The colour a platform colour value stands for. System colour references
// are taken from the application palette; an unknown index is black.
inline QColor ToQColor(Color c) {
    if ((c & 0x80000000u) == 0) return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    const QPalette pal = QGuiApplication::palette();
    using R = QPalette::ColorRole;
    static constexpr R roles[] = {
        R::Mid,
        R::Dark,
        R::Highlight,
        R::Mid,
        R::Window,
        R::Base,
        R::Shadow,
        R::WindowText,
        R::Text,
        R::HighlightedText,
        R::Button,
        R::Button,
        R::Dark,
        R::Highlight,
        R::HighlightedText,
        R::Button,
        R::Mid,
        R::PlaceholderText,
        R::ButtonText,
        R::Text,
        R::Light,
        R::Shadow,
        R::Midlight,
        R::ToolTipText,
        R::ToolTipBase,
    };
    const Color index = c & 0xFFFFFFu;
    if (index >= std::size(roles)) return QColor(Qt::black);
    return pal.color(QPalette::Active, roles[index]);
}

// The platform's standard error numbers for property access.
enum ErrorNumber : int {
    errTypeMismatch = 13,
    errGetNotSupportedAtRunTime = 393,
    errSetNotPermitted = 387,
    errSetNotSupportedAtRunTime = 382,
};

class TileError : public std::runtime_error {
  public:
    TileError(int number, const char* description)
        : std::runtime_error(description), number_(number) {}
    int Number() const { return number_; }

  private:
    int number_;
};

// The host's store of a tile's settings. A value equal to its default is
// not stored (writing it removes an earlier value); reading a key that is
// not stored gives the default. Keys keep the order they were first written.
class PropertyBag {
  public:
    virtual ~PropertyBag() = default;

    virtual QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const {
        for (const auto& [key, value] : entries_)
            if (key == name) return value;
        return defaultValue;
    }

    virtual void WriteProperty(const QString& name, const QVariant& value,
                               const QVariant& defaultValue) {
        auto it = entries_.begin();
        while (it != entries_.end() && it->first != name) ++it;
        if (value == defaultValue) {
            if (it != entries_.end()) entries_.erase(it);
        } else if (it != entries_.end()) {
            it->second = value;
        } else {
            entries_.emplace_back(name, value);
        }
    }

    bool Contains(const QString& name) const {
        for (const auto& e : entries_)
            if (e.first == name) return true;
        return false;
    }
    QStringList Keys() const {
        QStringList keys;
        for (const auto& e : entries_) keys << e.first;
        return keys;
    }

  private:
    std::vector<std::pair<QString, QVariant>> entries_;
};

// MouseDown(Button, Shift, X, Y): Button 1 left, 2 right, 4 middle; Shift
// flags 1 Shift, 2 Ctrl, 4 Alt; X, Y relative to the part pressed (the
// surface, or the caption label when the press was on the caption).
using MouseDownHandler =
    std::function<void(std::int16_t Button, std::int16_t Shift, float X, float Y)>;

// A picture with a caption centred over it, in one of two looks: normal
// (state 0: Picture, ForeColor) or selected (state 1: SelPicture,
// SelForeColor). Only Selected and Refresh switch the look.
//
// The tile is a widget (Widget()); its parent owns it as any child widget,
// and deleting the tile removes the widget. The surface is transparent
// outside its mask: pixels of the mask picture that have MaskColor, and
// everything outside the mask picture, except the caption label's box.
class picTile {
  public:
    virtual ~picTile() = default;

    virtual QWidget* Widget() = 0;

    // Reading ForeColor or SelForeColor at run time throws TileError 393.
    virtual Color ForeColor() const = 0;
    // Shown at the next Refresh.
    virtual void SetForeColor(Color color) = 0;
    virtual Color SelForeColor() const = 0;
    // Shown at the next Selected.
    virtual void SetSelForeColor(Color color) = 0;

    virtual QFont Font() const = 0;
    virtual void SetFont(const QFont& font) = 0;
    virtual QString Caption() const = 0;
    // Re-centres the caption.
    virtual void SetCaption(const QString& caption) = 0;
    virtual Color MaskColor() const = 0;
    virtual void SetMaskColor(Color color) = 0;

    // 0 normal look, 1 selected look: the look applied last.
    virtual std::int16_t State() const = 0;
    // Never succeeds: TileError 387 at design time, 382 at run time.
    virtual void SetState(std::int16_t state) = 0;

    // State 1, caption in SelForeColor, the surface shows SelPicture.
    virtual void Selected() = 0;
    // State 0, caption in ForeColor, the surface shows Picture.
    virtual void Refresh() = 0;

    virtual QImage Picture() const = 0;
    // The surface shows it at once and it becomes the mask picture; the
    // caption is re-centred.
    virtual void SetPicture(const QImage& picture) = 0;
    virtual QImage SelPicture() const = 0;
    // Stored only; the surface changes at the next Selected.
    virtual void SetSelPicture(const QImage& picture) = 0;

    // What the surface shows now, and the picture its mask is made of.
    virtual QImage ShownPicture() const = 0;
    virtual QImage MaskPicture() const = 0;

    // Shows menu as a pop-up of the tile at (x, y) in tile pixels, or at the
    // mouse pointer when they are left out, and returns at once. Flags: 4
    // centres the menu on the point, 8 puts its right edge there.
    virtual void PopupMenu(QMenu* menu, std::int16_t flags = 0, std::optional<float> x = {},
                           std::optional<float> y = {}, QAction* defaultMenu = nullptr) = 0;

    virtual void SetMouseDownHandler(MouseDownHandler handler) = 0;

    // Members every placed control has.
    virtual QString Tag() const = 0;
    virtual void SetTag(const QString& tag) = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Move(int left, int top) = 0;
    // Re-centres the caption.
    virtual void Resize(int width, int height) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;

    // Persistence through the host's bag. A new tile starts initialised;
    // ReadProperties loads stored settings (copying a template tile is
    // WriteProperties on it, ReadProperties on the copy).
    virtual void InitProperties() = 0;
    virtual void ReadProperties(const PropertyBag& bag) = 0;
    virtual void WriteProperties(PropertyBag& bag) = 0;
    // A setting changed since the last WriteProperties.
    virtual bool PropertiesChanged() const = 0;

    // Design time or run time, as the host runs; a new tile is at run time.
    virtual bool DesignTime() const = 0;
    virtual void SetDesignTime(bool designTime) = 0;
};

// The plugin's root object. CreateTile gives a new, initialised tile owned
// by parent, or nullptr for a key it does not know.
class TileFactory {
  public:
    virtual ~TileFactory() = default;
    virtual QStringList Keys() const = 0;
    virtual picTile* CreateTile(const QString& key, QWidget* parent) = 0;
};

}  // namespace tessera

#define TesseraTileFactory_iid "Orbix.Tessera.TileFactory/1.0"
Q_DECLARE_INTERFACE(tessera::TileFactory, TesseraTileFactory_iid)
