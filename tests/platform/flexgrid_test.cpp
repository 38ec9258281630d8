// SPDX-License-Identifier: BSD-3-Clause
// Row titles of the grid in their fixed column.

#include "orbix/platform/FlexGrid.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>

#include "orbix/platform/Fonts.h"

namespace {

TEST(FlexGridRowTitles, TitleWiderThanItsColumnIsSetSmallerNotClipped) {
    orbix::RegisterFontSubstitutions();
    orbix::FlexGrid grid;
    grid.setFont(orbix::GothicFont(9.75));
    grid.Resize(4, 3);
    // Text before and after the width is set: both orders fit.
    grid.Text(1, 0, "軌道energy");
    grid.ColWidth(0, 1000);
    grid.Text(2, 0, "軌道energy軌道energy");
    grid.Text(3, 0, "1");
    QHeaderView* rows = grid.verticalHeader();
    const int room = rows->width() - 2 * rows->style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int r = 0; r < 3; ++r) {
        QTableWidgetItem* item = grid.verticalHeaderItem(r);
        ASSERT_TRUE(item);
        const int width = QFontMetrics(item->font()).horizontalAdvance(item->text());
        EXPECT_LE(width, room) << "row " << r + 1 << " \"" << item->text().toStdString() << "\" at "
                               << item->font().pointSizeF() << " pt in " << room << " px";
    }
    // A title that fits keeps the grid's size.
    EXPECT_EQ(grid.verticalHeaderItem(2)->font().pointSizeF(), rows->font().pointSizeF());
    EXPECT_LT(grid.verticalHeaderItem(0)->font().pointSizeF(), rows->font().pointSizeF());
}

}  // namespace
