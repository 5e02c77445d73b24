#include "platform/runtime/vberror.h"
#include "platform/ui/image_list.h"
#include "platform/ui/list_view.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

using namespace ui;

QStringList Column(ListView &list, int cell)
{
    QStringList out;
    for (int i = 1; i <= list.ListItems().Count(); ++i)
        out << (cell == 0 ? list.ListItems().Item(i).Text() : list.ListItems().Item(i).SubItems(cell));
    return out;
}

TEST(ListViewSortValues, CellsWithAValueSortByItTheOthersByText)
{
    ListView list;
    list.ColumnHeaders().Add(QStringLiteral("FECHA"));
    list.ColumnHeaders().Add(QStringLiteral("IMPORTE"));
    list.ColumnHeaders().Add(QStringLiteral("NOMBRE"));
    struct Row
    {
        const char *date;
        QDateTime when;
        const char *amount;
        double value;
        const char *nombre;
    };
    const Row rows[] = {
        {"05/03/2024", QDateTime(QDate(2024, 3, 5), QTime()), "9", 9, "b"},
        {"12/01/2025", QDateTime(QDate(2025, 1, 12), QTime()), "10", 10, "C"},
        {"28/02/2024", QDateTime(QDate(2024, 2, 28), QTime()), "100,5", 100.5, "a"},
    };
    for (const Row &r : rows) {
        ListItem item = list.ListItems().Add(QString::fromLatin1(r.date));
        item.setSortValue(0, r.when);
        item.setSubItems(1, QString::fromLatin1(r.amount));
        item.setSortValue(1, r.value);
        item.setSubItems(2, QString::fromLatin1(r.nombre));
    }
    EXPECT_EQ(list.ListItems().Item(1).SortValue(1).toDouble(), 9.0);
    EXPECT_FALSE(list.ListItems().Item(1).SortValue(2).isValid());

    struct Case
    {
        int key;
        int order;
        QStringList expected;
    };
    const Case cases[] = {
        {0, lvwAscending, {"28/02/2024", "05/03/2024", "12/01/2025"}},
        {0, lvwDescending, {"12/01/2025", "05/03/2024", "28/02/2024"}},
        {1, lvwAscending, {"9", "10", "100,5"}},
        {1, lvwDescending, {"100,5", "10", "9"}},
        {2, lvwAscending, {"a", "b", "C"}},
    };
    list.setSorted(true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key * 10 + c.order);
        list.setSortKey(c.key);
        list.setSortOrder(c.order);
        EXPECT_EQ(Column(list, c.key), c.expected);
    }
    // A sort value on a cell the list has no column for is refused.
    EXPECT_THROW(list.ListItems().Item(1).setSortValue(3, 1.0), VbException);
}

TEST(ListViewSortValues, CellsWithoutAValueComeFirstAscendingAndLastDescending)
{
    // A text among amounts: by its text it would stand among the numbers' texts.
    ListView list;
    list.ColumnHeaders().Add(QStringLiteral("IMPORTE"));
    for (const char *text : {"  10", "n/d", "9", "-5", "  1", ""}) {
        ListItem item = list.ListItems().Add(QString::fromLatin1(text));
        bool number = false;
        if (const double value = QString::fromLatin1(text).toDouble(&number); number)
            item.setSortValue(0, value);
    }
    list.setSorted(true);
    EXPECT_EQ(Column(list, 0), (QStringList{"", "n/d", "-5", "  1", "9", "  10"}));
    list.setSortOrder(lvwDescending);
    EXPECT_EQ(Column(list, 0), (QStringList{"  10", "9", "  1", "-5", "n/d", ""}));
}

TEST(ListViewIcons, RowsShowTheirImageFromTheList)
{
    ImageList images;
    for (QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
        QPixmap p(16, 16);
        p.fill(colour);
        images.Add(QIcon(p), colour.name());
    }
    EXPECT_EQ(images.ListImages(2).Tag, QStringLiteral("#0000ff"));
    EXPECT_EQ(images.ListImages(2).Index, 2);
    EXPECT_THROW(images.ListImages(3), VbException);

    ListView list;
    list.ColumnHeaders().Add(QStringLiteral("A"));
    list.ColumnHeaders().Add(QStringLiteral("B"));
    list.setSmallIcons(&images);
    ListItem blue = list.ListItems().Add(QStringLiteral("azul"));
    blue.setSubItems(1, QStringLiteral("x"));
    blue.setSmallIcon(2);
    ListItem none = list.ListItems().Add(QStringLiteral("sin imagen"));
    QCoreApplication::processEvents(); // the rows are shown once the event loop runs
    ASSERT_EQ(list.model()->rowCount(), 2);

    const QVariant shown = list.model()->index(0, 0).data(Qt::DecorationRole);
    ASSERT_TRUE(shown.canConvert<QIcon>());
    EXPECT_EQ(shown.value<QIcon>().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::blue));
    EXPECT_FALSE(list.model()->index(0, 1).data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(list.model()->index(1, 0).data(Qt::DecorationRole).isValid());
    EXPECT_EQ(blue.SmallIcon(), 2);
    EXPECT_EQ(none.SmallIcon(), 0);
}

} // namespace
