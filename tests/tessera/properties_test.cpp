// SPDX-License-Identifier: BSD-3-Clause
// Storing and loading a tile through the host's property bag.

#include <QStringList>

#include "TileFixture.h"

using namespace tessera_test;
using tessera::PropertyBag;
using tessera::RGB;

namespace {

// Records the keys in the order the tile reads and writes them.
class LoggingBag : public PropertyBag {
  public:
    QVariant ReadProperty(const QString& name, const QVariant& def) const override {
        reads << name;
        return PropertyBag::ReadProperty(name, def);
    }
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& def) override {
        writes << name;
        PropertyBag::WriteProperty(name, value, def);
    }
    mutable QStringList reads;
    QStringList writes;
};

}  // namespace

TEST(PropertyBag, DefaultsAreNotStoredAndReadBackAsDefaults) {
    PropertyBag bag;
    bag.WriteProperty("Caption", QStringLiteral("C"), QStringLiteral("picTile1"));
    bag.WriteProperty("State", 0, 0);
    EXPECT_EQ(bag.Keys(), QStringList{"Caption"});
    EXPECT_EQ(bag.ReadProperty("State", 7).toInt(), 7);
    // Writing the default over a stored value removes it.
    bag.WriteProperty("Caption", QStringLiteral("picTile1"), QStringLiteral("picTile1"));
    EXPECT_TRUE(bag.Keys().isEmpty());
    EXPECT_EQ(bag.ReadProperty("Caption", QStringLiteral("x")).toString(), QStringLiteral("x"));
}

TEST_F(TileTest, NewTileStoresNothingButWritesEveryKeyInOrder) {
    LoggingBag bag;
    tile->WriteProperties(bag);
    EXPECT_EQ(bag.writes, (QStringList{"SelForeColor", "Font", "Caption", "MaskColor", "SelPicture",
                                       "Picture", "State", "ForeColor"}));
    EXPECT_TRUE(bag.Keys().isEmpty()) << bag.Keys().join(',').toStdString();
}

TEST_F(TileTest, PropertiesRoundTripToAnotherTile) {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(9);
    const QImage normal = Disc(Qt::cyan), selected = Disc(QColor(0, 0, 128));
    tile->SetSelForeColor(RGB(255, 255, 255));
    tile->SetForeColor(RGB(0, 0, 255));
    tile->SetFont(font);
    tile->SetCaption(QStringLiteral("ＮＨ"));
    tile->SetMaskColor(RGB(255, 252, 255));
    tile->SetPicture(normal);
    tile->SetSelPicture(selected);
    EXPECT_TRUE(tile->PropertiesChanged());

    PropertyBag bag;
    tile->WriteProperties(bag);
    EXPECT_FALSE(tile->PropertiesChanged());
    EXPECT_EQ(bag.Keys(), (QStringList{"SelForeColor", "Font", "Caption", "MaskColor", "SelPicture",
                                       "Picture", "ForeColor"}));

    tessera::picTile* copy = Factory()->CreateTile(tessera::kTileKey, canvas.get());
    copy->ReadProperties(bag);
    copy->SetDesignTime(true);
    EXPECT_EQ(copy->SelForeColor(), RGB(255, 255, 255));
    EXPECT_EQ(copy->ForeColor(), RGB(0, 0, 255));
    EXPECT_EQ(copy->Font(), font);
    EXPECT_EQ(copy->Caption(), QStringLiteral("ＮＨ"));
    EXPECT_EQ(copy->MaskColor(), RGB(255, 252, 255));
    EXPECT_EQ(copy->Picture(), normal);
    EXPECT_EQ(copy->SelPicture(), selected);
    EXPECT_EQ(copy->ShownPicture(), normal);
    EXPECT_EQ(copy->State(), 0);
    EXPECT_FALSE(copy->PropertiesChanged());

    // What the copy writes is what it read.
    PropertyBag again;
    copy->WriteProperties(again);
    EXPECT_EQ(again.Keys(), bag.Keys());
    for (const QString& key : bag.Keys())
        EXPECT_EQ(again.ReadProperty(key, {}), bag.ReadProperty(key, {})) << key.toStdString();
}

TEST_F(TileTest, ReadingFollowsTheFixedOrderAndLeavesTheCaptionColour) {
    LoggingBag bag;
    bag.PropertyBag::WriteProperty("ForeColor", RGB(255, 0, 0), 0u);
    tile->ReadProperties(bag);
    EXPECT_EQ(bag.reads, (QStringList{"SelForeColor", "Font", "Caption", "MaskColor", "Picture",
                                      "SelPicture", "Picture", "State", "ForeColor"}));
    // The label keeps its own colour until Refresh applies the fore colour.
    EXPECT_EQ(CaptionColor(), QColor(Qt::black));
    tile->Refresh();
    EXPECT_EQ(CaptionColor(), QColor(255, 0, 0));
}

TEST_F(TileTest, MissingFontIsTheHostsFont) {
    QFont host(QStringLiteral("ＭＳ Ｐゴシック"));
    host.setPointSize(15);
    canvas->setFont(host);
    PropertyBag bag;
    tile->ReadProperties(bag);
    EXPECT_EQ(tile->Font(), host);
    PropertyBag out;
    tile->WriteProperties(out);
    EXPECT_FALSE(out.Contains("Font"));
}

TEST_F(TileTest, StoredSelectedStateTakesMaskFromSelPictureButShowsNormalPicture) {
    const QImage normal = Disc(Qt::green), selected = Disc(QColor(0, 0, 128));
    PropertyBag bag;
    bag.WriteProperty("Picture", normal, QImage());
    bag.WriteProperty("SelPicture", selected, QImage());
    bag.WriteProperty("State", 1, 0);
    tile->ReadProperties(bag);
    EXPECT_EQ(tile->State(), 1);
    EXPECT_EQ(tile->MaskPicture(), selected);
    EXPECT_EQ(tile->ShownPicture(), normal);
    tile->Selected();
    EXPECT_EQ(tile->ShownPicture(), selected);
    tile->Refresh();
    EXPECT_EQ(tile->MaskPicture(), normal);

    // Writing a selected tile stores its state and keeps the selected mask.
    tile->Selected();
    PropertyBag out;
    tile->WriteProperties(out);
    EXPECT_EQ(out.ReadProperty("State", 0).toInt(), 1);
    EXPECT_EQ(tile->MaskPicture(), selected);
}

TEST_F(TileTest, StoredValueOfTheWrongKindIsATypeMismatch) {
    PropertyBag bag;
    bag.WriteProperty("MaskColor", QStringLiteral("not a colour"), 0u);
    try {
        tile->ReadProperties(bag);
        FAIL() << "no error";
    } catch (const tessera::TileError& e) {
        EXPECT_EQ(e.Number(), 13);
    }
    PropertyBag negative;
    negative.WriteProperty("ForeColor", -5, 0u);
    EXPECT_THROW(tile->ReadProperties(negative), tessera::TileError);
}
